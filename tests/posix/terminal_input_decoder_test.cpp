#include "platform/terminal/terminal_input_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace textscreen::platform {
namespace {

using Decoder = TerminalInputDecoder;
using namespace std::chrono_literals;

constexpr uint32_t SHIFT = KEY_STATE_SHIFT;
constexpr uint32_t CTRL = KEY_STATE_LEFT_CTRL;
constexpr uint32_t ALT = KEY_STATE_LEFT_ALT;
constexpr uint32_t ENH = KEY_STATE_ENHANCED;
const Decoder::Instant T0 = Decoder::Instant{} + 1h;

// What a key event says, without its up/down half: virtual key, scan code, character, state.
using Key = std::tuple<uint16_t, uint16_t, uint8_t, uint32_t>;

void feed(Decoder& d, std::string_view bytes, Decoder::Instant now) {
  d.feed(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), now);
}

// The keys ready, by their key-downs (the fuzz target checks that each comes with its key-up).
std::vector<Key> take_keys(Decoder& d) {
  std::vector<Key> keys;
  for (; !d.empty(); d.pop()) {
    const KeyEvent& e = d.front();
    if (e.key_down) keys.emplace_back(e.virtual_key, e.scan_code, e.character, e.control_state);
  }
  return keys;
}

// Feeds `input` in pieces cut at `cuts`, all within the ESC timeout, then lets it pass.
std::vector<Key> decode(std::string_view input, std::vector<size_t> cuts = {},
                        bool bracketed_paste = true) {
  Decoder d;
  d.set_bracketed_paste(bracketed_paste);
  size_t from = 0;
  cuts.push_back(input.size());
  for (size_t cut : cuts) feed(d, input.substr(from, cut - from), T0), from = cut;
  d.settle(T0 + Decoder::ESC_TIMEOUT);
  EXPECT_FALSE(d.holding());
  return take_keys(d);
}

// Each input decoded on its own into its keys.
void expect_cases(std::initializer_list<std::pair<std::string, std::vector<Key>>> cases) {
  for (const auto& [input, keys] : cases) EXPECT_EQ(decode(input), keys) << "input: " << input;
}

const Key ESC_KEY{VKEY_ESCAPE, 0x01, 27, 0}, ENTER{VKEY_RETURN, 0x1C, 13, 0},
    KEY_A{'A', 0x1E, 'a', 0};
const Key KEY_K{'K', 0x25, 'k', 0}, BRACKET{0xDB, 0x1A, '[', 0}, QUESTION{0, 0, '?', 0};
const Key UP{VKEY_UP, 0x48, 0, ENH};

TEST(TerminalInputDecoder, BytesAndTextTypeTheirKeysAndEscPrefixAddsAlt) {
  expect_cases({
      {"ak", {KEY_A, KEY_K}},
      {"!", {{'1', 0x02, '!', SHIFT}}},
      {"\r", {ENTER}},
      {"\n", {{VKEY_RETURN, 0x1C, 10, CTRL}}},
      {"\x7f", {{VKEY_BACK, 0x0E, 8, 0}}},
      {"\b", {{VKEY_BACK, 0x0E, 8, CTRL}}},
      {std::string(1, '\0'), {{VKEY_SPACE, 0x39, 0, CTRL}}},
      {"\x1e", {{'6', 0x07, 0x1E, CTRL | SHIFT}}},
      {"\x1b\x01", {{'A', 0x1E, 1, ALT | CTRL}}},
      {"\033\033A", {ESC_KEY, {'A', 0x1E, 'A', ALT | SHIFT}}},
      // A sequence cut short gives its ESC as Esc and the rest as plain keys.
      {"\x1b[1;", {ESC_KEY, BRACKET, {'1', 0x02, '1', 0}, {0xBA, 0x27, ';', 0}}},
      // UTF-8 text becomes code page 852.
      {"\xc4\x85", {{0, 0, 0xA5, 0}}},     // ą
      {"\x80", {QUESTION}},                // each byte of malformed UTF-8
      {"\xc4k", {QUESTION, KEY_K}},        // a sequence cut off by ASCII
      {"\xe2\x82", {QUESTION, QUESTION}},  // truncated, settled at the timeout
  });
}

TEST(TerminalInputDecoder, EscWaitsForTheTimeoutAndOnlyASoonByteMakesAlt) {
  Decoder d;
  feed(d, "\x1b", T0);
  d.settle(T0 + Decoder::ESC_TIMEOUT - 1ms);
  EXPECT_TRUE(d.empty() && d.holding());
  feed(d, "a", T0 + Decoder::ESC_TIMEOUT - 1ms);
  feed(d, "\x1b", T0 + 1s);
  d.settle(T0 + 1s + Decoder::ESC_TIMEOUT);
  EXPECT_FALSE(d.holding());
  // A byte after the timeout is its own key, even when settle was not called in between.
  feed(d, "\x1b", T0 + 2s);
  feed(d, "k", T0 + 2s + Decoder::ESC_TIMEOUT);
  EXPECT_EQ(take_keys(d), (std::vector<Key>{{'A', 0x1E, 'a', ALT}, ESC_KEY, ESC_KEY, KEY_K}));
}

TEST(TerminalInputDecoder, WithoutTheAltPrefixAScriptsEscIsEscAndSequencesStillCount) {
  Decoder d;
  d.set_alt_prefix(false);
  feed(d,
       "\x1b\r\x1b"
       "a\x1b[A\x1bOA\x1b",
       T0);
  d.settle(Decoder::Instant::max());  // the end of the script
  EXPECT_EQ(take_keys(d), (std::vector<Key>{ESC_KEY, ENTER, ESC_KEY, KEY_A, UP, UP, ESC_KEY}));
}

TEST(TerminalInputDecoder, SequencesGiveKeysWithModifiersAndPasteIsPlainText) {
  const Key DOWN{VKEY_DOWN, 0x50, 0, ENH}, RIGHT{VKEY_RIGHT, 0x4D, 0, ENH},
      LEFT{VKEY_LEFT, 0x4B, 0, ENH};
  const Key HOME{VKEY_HOME, 0x47, 0, ENH}, END{VKEY_END, 0x4F, 0, ENH},
      PRIOR{VKEY_PRIOR, 0x49, 0, ENH};
  const Key INSERT{VKEY_INSERT, 0x52, 0, ENH}, DELETE{VKEY_DELETE, 0x53, 0, ENH};
  const Key NEXT{VKEY_NEXT, 0x51, 0, ENH};
  expect_cases({
      // Each cursor key in each of its forms.
      {"\x1b[A\x1bOB\x1b[C\x1bOD\x1b[H\x1bOH\x1b[1~\x1b[7~\x1b[F\x1bOF\x1b[4~\x1b[8~",
       {UP, DOWN, RIGHT, LEFT, HOME, HOME, HOME, HOME, END, END, END, END}},
      {"\x1b[2~\x1b[3~\x1b[5~\x1b[6~", {INSERT, DELETE, PRIOR, NEXT}},
      {"\x1b[1;5A", {{VKEY_UP, 0x48, 0, ENH | CTRL}}},
      {"\x1b[1;2D", {{VKEY_LEFT, 0x4B, 0, ENH | SHIFT}}},
      {"\x1b[1;3H", {{VKEY_HOME, 0x47, 0, ENH | ALT}}},
      {"\x1b[1;8C", {{VKEY_RIGHT, 0x4D, 0, ENH | SHIFT | ALT | CTRL}}},
      {"\x1b[3;5~", {{VKEY_DELETE, 0x53, 0, ENH | CTRL}}},
      {"\x1bOP", {{VKEY_F1, 0x3B, 0, 0}}},
      {"\x1bO5Q", {{VKEY_F1 + 1, 0x3C, 0, CTRL}}},
      {"\x1b[1;2S", {{VKEY_F1 + 3, 0x3E, 0, SHIFT}}},
      {"\x1b[17~", {{VKEY_F1 + 5, 0x40, 0, 0}}},
      {"\x1b[24;5~", {{VKEY_F12, 0x58, 0, CTRL}}},
      {"\x1b[[E", {{VKEY_F1 + 4, 0x3F, 0, 0}}},
      {"\x1b[Z", {{VKEY_TAB, 0x0F, 9, SHIFT}}},
      // Inside a paste an ESC starts nothing and CR, LF and CR LF are each one Enter.
      {"\x1b[200~a\033k\r\nk\na\x1b[201~\033k",
       {KEY_A, ESC_KEY, KEY_K, ENTER, KEY_K, ENTER, KEY_A, {'K', 0x25, 'k', ALT}}},
      {"\x1b[200~\x1b[A\x1b[201~", {ESC_KEY, BRACKET, {'A', 0x1E, 'A', SHIFT}}},
  });
}

TEST(TerminalInputDecoder, SplitFeedsDecodeAsOneFeed) {
  const std::string input =
      "x\x1b[1;5A\x1bOP\xc4\x85\x1b\xc5\x82\x1b[200~p\r\nq\x1b[201~\033b"
      "\x1b[M !!\x1b[[B\x1b[<0;3;4m\x1b[3;2~!";
  const std::vector<Key> whole = decode(input);
  ASSERT_EQ(whole.size(), 12u);
  std::vector<size_t> every_byte;
  for (size_t cut = 1; cut < input.size(); ++cut) {
    EXPECT_EQ(decode(input, {cut}), whole) << "cut at " << cut;
    every_byte.push_back(cut);
  }
  EXPECT_EQ(decode(input, every_byte), whole);
}

TEST(TerminalInputDecoder, UnknownSequencesYieldNoKey) {
  // Each is followed by a 'k' that must still come through on its own.
  for (const char* unknown :
       {"\x1b[99~", "\x1b[?1;2c", "\x1b[<0;10;5M", "\x1b[M !!", "\x1b[M\xff\xc4\x85", "\x1b[I",
        "\x1bOz", "\x1b[5A", "\x1b[?1;5A", "\x1b[201~", "\x1b[[Z", "\x1b[1:5A"}) {
    EXPECT_EQ(decode(std::string(unknown) + "k"), std::vector<Key>{KEY_K}) << unknown + 1;
  }
  // A CSI cut off by a control byte is dropped; the control byte counts.
  EXPECT_EQ(decode("\x1b[1;\r"), std::vector<Key>{ENTER});
  // An overlong CSI is no key, in one read or in pieces, even with a key's final byte.
  const std::string overlong = "\x1b[" + std::string(300, '1') + "Ak";
  EXPECT_EQ(decode(overlong), std::vector<Key>{KEY_K});
  EXPECT_EQ(decode(overlong, {100, 200, 301}), std::vector<Key>{KEY_K});
}

// The paste markers count only while the terminal brackets pastes, and a paste that never
// closes ends by itself, so typed markers cannot leave the keys stuck as text.
TEST(TerminalInputDecoder, PasteMarkersNeedBracketedPastesAndAPasteEndsInTime) {
  EXPECT_EQ(decode("\x1b[200~\x1b[A", {}, false), std::vector<Key>{UP});
  Decoder bracketed;
  bracketed.set_bracketed_paste(true);
  feed(bracketed, "\x1b[200~x", T0);
  bracketed.settle(T0 + Decoder::PASTE_TIMEOUT);
  EXPECT_FALSE(bracketed.holding());
  take_keys(bracketed);
  feed(bracketed, "\x1b[A", T0 + Decoder::PASTE_TIMEOUT * 2);
  EXPECT_EQ(take_keys(bracketed), std::vector<Key>{UP});
}

}  // namespace
}  // namespace textscreen::platform
