// Bytes from the terminal, cut into reads with chosen pauses between them, into the input
// decoder. How the bytes of one burst are cut into reads must not change the keys; the bytes
// it holds stay few; once the terminal has been quiet for the ESC timeout nothing is held,
// and a cursor key typed then is decoded as that key.
//
// Input: repeated [pause][length][bytes...]; a pause of ESC_TIMEOUT or more ends a burst. The
// decoder is as on a terminal that does not bracket pastes, so paste markers are no keys.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "fuzz_support.h"
#include "platform/terminal/terminal_input_decoder.h"

namespace textscreen::fuzz {
namespace {

using platform::KeyEvent;
using platform::TerminalInputDecoder;
using Instant = TerminalInputDecoder::Instant;
using Key = std::tuple<bool, uint16_t, uint16_t, uint16_t, uint8_t, uint32_t>;

// Bytes held for an unfinished sequence give at most one key each when they time out; the
// longest held sequence is a CSI just under the overlong limit of 32 bytes.
constexpr size_t MAX_HELD_KEYS = 40;

Key key_of(const KeyEvent& e) {
  return {e.key_down, e.repeat_count, e.virtual_key, e.scan_code, e.character, e.control_state};
}

// A key event without its up/down flag.
auto drop_down(const Key& key) {
  return std::apply([](bool, auto... rest) { return std::tuple(rest...); }, key);
}

void take(TerminalInputDecoder& decoder, std::vector<Key>& keys) {
  for (; !decoder.empty(); decoder.pop()) keys.push_back(key_of(decoder.front()));
}

void feed(TerminalInputDecoder& decoder, const std::vector<uint8_t>& bytes, Instant now) {
  decoder.feed(bytes.data(), bytes.size(), now);
}

struct Read {
  Instant at;
  size_t begin;
  size_t end;
};

}  // namespace
}  // namespace textscreen::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace textscreen::fuzz;
  FuzzedDataProvider input(data, size);
  std::vector<uint8_t> bytes;
  std::vector<Read> reads;
  Instant now = Instant{} + std::chrono::hours(1);
  while (input.remaining_bytes() > 0 && reads.size() < 256) {
    now += std::chrono::milliseconds(input.ConsumeIntegralInRange<int>(0, 40));
    const auto piece = input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange<size_t>(1, 24));
    if (piece.empty()) break;
    reads.push_back({now, bytes.size(), bytes.size() + piece.size()});
    bytes.insert(bytes.end(), piece.begin(), piece.end());
  }

  // Read by read, checking what is held after each.
  TerminalInputDecoder decoder;
  std::vector<Key> keys;
  for (const Read& read : reads) {
    decoder.feed(&bytes[read.begin], read.end - read.begin, read.at);
    take(decoder, keys);
    if (!decoder.holding()) continue;
    TerminalInputDecoder later = decoder;
    later.settle(read.at + TerminalInputDecoder::ESC_TIMEOUT);
    FUZZ_CHECK(!later.holding(), "bytes still held after the ESC timeout");
    std::vector<Key> released;
    take(later, released);
    FUZZ_CHECK(released.size() <= 2 * MAX_HELD_KEYS, "more bytes held than one sequence");
  }
  const Instant quiet = now + TerminalInputDecoder::ESC_TIMEOUT;
  decoder.settle(quiet);
  take(decoder, keys);
  FUZZ_CHECK(!decoder.holding(), "bytes still held after the ESC timeout");

  // Burst by burst: the reads of one burst joined into one.
  TerminalInputDecoder whole;
  std::vector<Key> whole_keys;
  for (size_t i = 0; i < reads.size();) {
    size_t last = i;
    while (last + 1 < reads.size() &&
           reads[last + 1].at - reads[last].at < TerminalInputDecoder::ESC_TIMEOUT) {
      ++last;
    }
    whole.feed(&bytes[reads[i].begin], reads[last].end - reads[i].begin, reads[last].at);
    take(whole, whole_keys);
    i = last + 1;
  }
  whole.settle(quiet);
  take(whole, whole_keys);
  FUZZ_CHECK(keys == whole_keys, "the keys depend on how a burst was cut into reads");

  for (size_t i = 0; i < keys.size(); i += 2) {
    FUZZ_CHECK(i + 1 < keys.size() && std::get<0>(keys[i]) && !std::get<0>(keys[i + 1]) &&
                   std::get<1>(keys[i]) == 1 && drop_down(keys[i]) == drop_down(keys[i + 1]),
               "a key-down without its key-up");
  }

  // After a quiet spell the decoder starts afresh: Up arrives as Up.
  const std::vector<uint8_t> up{0x1B, '[', 'A'};
  feed(decoder, up, quiet + std::chrono::seconds(1));
  std::vector<Key> after;
  take(decoder, after);
  FUZZ_CHECK(after.size() == 2 && std::get<2>(after[0]) == textscreen::platform::VK_UP,
             "a cursor key after a quiet spell is not decoded as that key");
  return 0;
}
