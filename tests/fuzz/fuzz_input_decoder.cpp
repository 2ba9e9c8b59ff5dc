// Bytes from the terminal, cut into reads with chosen pauses between them, into the input
// decoder. How the bytes of one burst are cut into reads must not change the keys; every
// key-down comes with its key-up; the bytes it holds stay few; once the terminal has been
// quiet for the ESC timeout nothing is held, and a cursor key typed then is decoded as that key.
//
// Input: repeated [pause][length][bytes...]; a pause of ESC_TIMEOUT or more ends a burst. The
// decoder is as on a terminal that does not bracket pastes, so paste markers are no keys.
#include <fuzzer/FuzzedDataProvider.h>

#include <tuple>
#include <vector>

#include "fuzz_support.h"
#include "platform/terminal/terminal_input_decoder.h"

using textscreen::platform::TerminalInputDecoder;
using Key = std::tuple<bool, uint16_t, uint16_t, uint16_t, uint8_t, uint32_t>;
constexpr auto TIMEOUT = TerminalInputDecoder::ESC_TIMEOUT;

static void take(TerminalInputDecoder& decoder, std::vector<Key>& keys) {
  for (; !decoder.empty(); decoder.pop()) {
    const auto& e = decoder.front();
    keys.emplace_back(e.key_down, e.repeat_count, e.virtual_key, e.scan_code, e.character,
                      e.control_state);
  }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  // `decoder` gets the bytes read by read, `whole` burst by burst (the reads of one burst
  // joined into one, at the time of its last read).
  TerminalInputDecoder decoder, whole;
  std::vector<Key> keys, whole_keys;
  std::vector<uint8_t> burst;
  auto now = TerminalInputDecoder::Instant{} + std::chrono::hours(1), last = now;
  const auto feed_burst = [&] {
    whole.feed(burst.data(), burst.size(), last);
    take(whole, whole_keys);
    burst.clear();
  };
  for (int reads = 0; reads < 256 && input.remaining_bytes() > 0; ++reads) {
    now += std::chrono::milliseconds(input.ConsumeIntegralInRange<int>(0, 40));
    const auto read = input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange<size_t>(1, 24));
    if (read.empty()) break;
    if (now - last >= TIMEOUT && !burst.empty()) feed_burst();
    last = now;
    burst.insert(burst.end(), read.begin(), read.end());
    decoder.feed(read.data(), read.size(), now);
    take(decoder, keys);
    if (!decoder.holding()) continue;
    // What is held times out, each byte held giving at most one key (the longest held
    // sequence is a CSI just under the overlong limit of 32 bytes).
    TerminalInputDecoder later = decoder;
    later.settle(now + TIMEOUT);
    FUZZ_CHECK(!later.holding(), "bytes still held after the ESC timeout");
    std::vector<Key> released;
    take(later, released);
    FUZZ_CHECK(released.size() <= 2 * 40, "more bytes held than one sequence");
  }
  if (!burst.empty()) feed_burst();
  const auto quiet = now + TIMEOUT;
  decoder.settle(quiet);
  take(decoder, keys);
  FUZZ_CHECK(!decoder.holding(), "bytes still held after the ESC timeout");
  whole.settle(quiet);
  take(whole, whole_keys);
  FUZZ_CHECK(keys == whole_keys, "the keys depend on how a burst was cut into reads");

  for (size_t i = 0; i < keys.size(); i += 2) {
    Key down = i + 1 < keys.size() ? keys[i + 1] : Key{};
    std::get<0>(down) = !std::get<0>(down);
    FUZZ_CHECK(std::get<0>(down) && std::get<1>(down) == 1 && down == keys[i],
               "a key-down without its key-up");
  }

  // After a quiet spell the decoder starts afresh: Up arrives as Up.
  const uint8_t up[] = {0x1B, '[', 'A'};
  decoder.feed(up, sizeof up, quiet + std::chrono::seconds(1));
  std::vector<Key> after;
  take(decoder, after);
  FUZZ_CHECK(after.size() == 2 && std::get<2>(after[0]) == textscreen::platform::VKEY_UP,
             "a cursor key after a quiet spell is not decoded as that key");
  return 0;
}
