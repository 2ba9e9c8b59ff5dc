// The font block unpacker on any bytes.
// - It reads and writes only inside its spans: both rooms are heap blocks of exactly their
//   size, so the address sanitizer stops a step past either end.
// - What it reports written fits the room.
// - The room decides only where the output stops: with a small room the unpacker gives what
//   it gives with a large one, or, when that is longer than the small room, a beginning of it
//   and output_too_large.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "graphics/font_block.h"

using namespace textscreen;

namespace {

constexpr size_t SMALL_ROOM = 16;

struct Unpacked {
  detail::UnpackError error;
  std::vector<uint8_t> bytes;
};

Unpacked unpack(const uint8_t* data, size_t size, size_t room) {
  std::vector<uint8_t> out(room);
  size_t written = 0;
  const detail::UnpackError error = detail::unpack_font_block({data, size}, out, written);
  FUZZ_CHECK(written <= room,
             "wrote " + std::to_string(written) + " bytes into a room of " + std::to_string(room));
  out.resize(written);
  return {error, out};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Unpacked large = unpack(data, size, detail::FONT_BLOCK_SIZE);
  const Unpacked small = unpack(data, size, SMALL_ROOM);
  if (large.bytes.size() <= SMALL_ROOM) {
    FUZZ_CHECK(small.error == large.error && small.bytes == large.bytes,
               "a smaller room changed what fits in it");
  } else {
    FUZZ_CHECK(small.error == detail::UnpackError::output_too_large,
               "more output than the small room, yet no refusal");
    FUZZ_CHECK(std::equal(small.bytes.begin(), small.bytes.end(), large.bytes.begin()),
               "the small room's output is not the beginning of the large room's");
  }
  return 0;
}
