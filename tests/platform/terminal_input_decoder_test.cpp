#include "platform/terminal_input_decoder.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace textscreen::platform {
namespace {

using Decoder = TerminalInputDecoder;
using namespace std::chrono_literals;

constexpr uint32_t SHIFT = SHIFT_PRESSED;
constexpr uint32_t CTRL = LEFT_CTRL_PRESSED;
constexpr uint32_t ALT = LEFT_ALT_PRESSED;
constexpr uint32_t ENH = ENHANCED_KEY;
const Decoder::Clock::time_point T0 = Decoder::Clock::time_point{} + 1h;

// What a key event says, without its up/down half.
struct Key {
  uint16_t vk = 0;
  uint16_t scan = 0;
  uint8_t ch = 0;
  uint32_t state = 0;
  bool operator==(const Key&) const = default;
};

void PrintTo(const Key& k, std::ostream* os) {
  *os << std::hex << "{vk 0x" << k.vk << ", scan 0x" << k.scan << ", ch 0x" << int{k.ch}
      << ", state 0x" << k.state << "}";
}

Key key_of(const KeyEvent& e) {
  return {e.virtual_key, e.scan_code, e.character, e.control_state};
}

void feed(Decoder& d, std::string_view bytes, Decoder::Clock::time_point now) {
  d.feed(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), now);
}

// The keys ready in the key queue; every key-down must come with its key-up right after.
std::vector<Key> take_keys(Decoder& d) {
  std::vector<Key> keys;
  while (!d.empty()) {
    const KeyEvent down = d.front();
    d.pop();
    EXPECT_TRUE(down.key_down);
    EXPECT_EQ(down.repeat_count, 1);
    if (d.empty()) {
      ADD_FAILURE() << "a key-down without its key-up";
      break;
    }
    const KeyEvent up = d.front();
    d.pop();
    EXPECT_FALSE(up.key_down);
    EXPECT_EQ(up.repeat_count, 1);
    EXPECT_EQ(key_of(up), key_of(down));
    keys.push_back(key_of(down));
  }
  return keys;
}

// Feeds `input` in pieces cut at `cuts`, all within the ESC timeout, then lets it pass.
std::vector<Key> decode(std::string_view input, std::vector<size_t> cuts = {}) {
  Decoder d;
  size_t from = 0;
  cuts.push_back(input.size());
  for (size_t cut : cuts) {
    feed(d, input.substr(from, cut - from), T0);
    from = cut;
  }
  d.settle(T0 + Decoder::ESC_TIMEOUT);
  EXPECT_FALSE(d.holding());
  return take_keys(d);
}

struct Case {
  std::string input;
  std::vector<Key> keys;
};

void expect_cases(const std::vector<Case>& cases) {
  for (const Case& c : cases) EXPECT_EQ(decode(c.input), c.keys) << "input: " << c.input;
}

const Key ESC_KEY{VK_ESCAPE, 0x01, 27, 0};
const Key ENTER{VK_RETURN, 0x1C, 13, 0};
const Key KEY_A{'A', 0x1E, 'a', 0};
const Key KEY_B{'B', 0x30, 'b', 0};
const Key KEY_K{'K', 0x25, 'k', 0};

TEST(TerminalInputDecoderBytes, PlainAndControlBytesTypeTheirKeys) {
  expect_cases({
      {"a", {KEY_A}},
      {"Z", {{'Z', 0x2C, 'Z', SHIFT}}},
      {"!", {{'1', 0x02, '!', SHIFT}}},
      {" ", {{VK_SPACE, 0x39, ' ', 0}}},
      {"/", {{0xBF, 0x35, '/', 0}}},
      {"\r", {ENTER}},
      {"\n", {{VK_RETURN, 0x1C, 10, CTRL}}},
      {"\t", {{VK_TAB, 0x0F, 9, 0}}},
      {"\x7f", {{VK_BACK, 0x0E, 8, 0}}},
      {"\b", {{VK_BACK, 0x0E, 8, CTRL}}},
      {"\x01", {{'A', 0x1E, 1, CTRL}}},
      {"\x1a", {{'Z', 0x2C, 0x1A, CTRL}}},
      {std::string(1, '\0'), {{VK_SPACE, 0x39, 0, CTRL}}},
      {"\x1c", {{0xDC, 0x2B, 0x1C, CTRL}}},
      {"\x1d", {{0xDD, 0x1B, 0x1D, CTRL}}},
      {"\x1e", {{'6', 0x07, 0x1E, CTRL | SHIFT}}},
      {"\x1f", {{0xBD, 0x0C, 0x1F, CTRL | SHIFT}}},
      {"ab", {KEY_A, KEY_B}},
  });
}

TEST(TerminalInputDecoderEsc, LoneEscWaitsForTheTimeout) {
  Decoder d;
  feed(d, "\x1b", T0);
  EXPECT_TRUE(d.empty());
  EXPECT_TRUE(d.holding());
  d.settle(T0 + Decoder::ESC_TIMEOUT - 1ms);
  EXPECT_TRUE(d.empty());
  d.settle(T0 + Decoder::ESC_TIMEOUT);
  EXPECT_FALSE(d.holding());
  EXPECT_EQ(take_keys(d), std::vector<Key>{ESC_KEY});
}

TEST(TerminalInputDecoderEsc, ByteSoonAfterEscIsAltAndLateByteIsNot) {
  Decoder soon;
  feed(soon, "\x1b", T0);
  feed(soon, "a", T0 + 10ms);
  EXPECT_EQ(take_keys(soon), (std::vector<Key>{{'A', 0x1E, 'a', ALT}}));

  // The device may not have settled in between: a byte after the timeout is its own key.
  Decoder late;
  feed(late, "\x1b", T0);
  feed(late, "a", T0 + Decoder::ESC_TIMEOUT);
  EXPECT_EQ(take_keys(late), (std::vector<Key>{ESC_KEY, KEY_A}));
}

TEST(TerminalInputDecoderEsc, EscPrefixAddsAlt) {
  expect_cases({
      {"\x1b"
       "a",
       {{'A', 0x1E, 'a', ALT}}},
      {"\x1b"
       "A",
       {{'A', 0x1E, 'A', ALT | SHIFT}}},
      {"\x1b\r", {{VK_RETURN, 0x1C, 13, ALT}}},
      {"\x1b\x01", {{'A', 0x1E, 1, ALT | CTRL}}},
      {"\x1b\x7f", {{VK_BACK, 0x0E, 8, ALT}}},
      {"\x1b\x1b"
       "a",
       {ESC_KEY, {'A', 0x1E, 'a', ALT}}},
      {"\x1b\x1b", {ESC_KEY, ESC_KEY}},
      {"\x1b\x1b[A", {ESC_KEY, {VK_UP, 0x48, 0, ENH}}},
      // A sequence cut short gives its ESC as Esc and the rest as plain keys.
      {"\x1b[", {ESC_KEY, {0xDB, 0x1A, '[', 0}}},
      {"\x1bO", {ESC_KEY, {'O', 0x18, 'O', SHIFT}}},
      {"\x1b[1;", {ESC_KEY, {0xDB, 0x1A, '[', 0}, {'1', 0x02, '1', 0}, {0xBA, 0x27, ';', 0}}},
  });
}

TEST(TerminalInputDecoderSequences, CursorAndFunctionKeysWithModifiers) {
  const Key SHIFT_TAB{VK_TAB, 0x0F, 9, SHIFT};
  struct Row {
    const char* input;
    uint16_t vk;
    uint16_t scan;
    uint32_t state;
  };
  const Row rows[] = {
      {"\x1b[A", VK_UP, 0x48, ENH},
      {"\x1b[B", VK_DOWN, 0x50, ENH},
      {"\x1b[C", VK_RIGHT, 0x4D, ENH},
      {"\x1b[D", VK_LEFT, 0x4B, ENH},
      {"\x1b[H", VK_HOME, 0x47, ENH},
      {"\x1b[F", VK_END, 0x4F, ENH},
      {"\x1bOA", VK_UP, 0x48, ENH},
      {"\x1bOH", VK_HOME, 0x47, ENH},
      {"\x1bOF", VK_END, 0x4F, ENH},
      {"\x1b[1~", VK_HOME, 0x47, ENH},
      {"\x1b[7~", VK_HOME, 0x47, ENH},
      {"\x1b[4~", VK_END, 0x4F, ENH},
      {"\x1b[8~", VK_END, 0x4F, ENH},
      {"\x1b[2~", VK_INSERT, 0x52, ENH},
      {"\x1b[3~", VK_DELETE, 0x53, ENH},
      {"\x1b[5~", VK_PRIOR, 0x49, ENH},
      {"\x1b[6~", VK_NEXT, 0x51, ENH},
      {"\x1b[1;5A", VK_UP, 0x48, ENH | CTRL},
      {"\x1b[1;2D", VK_LEFT, 0x4B, ENH | SHIFT},
      {"\x1b[1;3H", VK_HOME, 0x47, ENH | ALT},
      {"\x1b[1;8C", VK_RIGHT, 0x4D, ENH | SHIFT | ALT | CTRL},
      {"\x1b[3;5~", VK_DELETE, 0x53, ENH | CTRL},
      {"\x1b[5;2~", VK_PRIOR, 0x49, ENH | SHIFT},
      {"\x1bOP", VK_F1, 0x3B, 0},
      {"\x1bOS", VK_F1 + 3, 0x3E, 0},
      {"\x1b[1;5P", VK_F1, 0x3B, CTRL},
      {"\x1b[1;2S", VK_F1 + 3, 0x3E, SHIFT},
      {"\x1bO5Q", VK_F1 + 1, 0x3C, CTRL},
      {"\x1b[11~", VK_F1, 0x3B, 0},
      {"\x1b[14~", VK_F1 + 3, 0x3E, 0},
      {"\x1b[15~", VK_F1 + 4, 0x3F, 0},
      {"\x1b[17~", VK_F1 + 5, 0x40, 0},
      {"\x1b[21~", VK_F1 + 9, 0x44, 0},
      {"\x1b[23~", VK_F1 + 10, 0x57, 0},
      {"\x1b[24~", VK_F12, 0x58, 0},
      {"\x1b[24;5~", VK_F12, 0x58, CTRL},
      {"\x1b[[A", VK_F1, 0x3B, 0},
      {"\x1b[[E", VK_F1 + 4, 0x3F, 0},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(decode(r.input), (std::vector<Key>{{r.vk, r.scan, 0, r.state}})) << r.input + 1;
  }
  EXPECT_EQ(decode("\x1b[Z"), std::vector<Key>{SHIFT_TAB});
}

TEST(TerminalInputDecoderSequences, BracketedPasteIsPlainText) {
  // Inside a paste an ESC starts nothing and CR, LF and CR LF are each one Enter.
  expect_cases({
      {"\x1b[200~a\x1b"
       "b\r\nb\na\x1b[201~\x1b"
       "b",
       {KEY_A, ESC_KEY, KEY_B, ENTER, KEY_B, ENTER, KEY_A, {'B', 0x30, 'b', ALT}}},
      {"\x1b[200~\x1b[A\x1b[201~", {ESC_KEY, {0xDB, 0x1A, '[', 0}, {'A', 0x1E, 'A', SHIFT}}},
  });
}

TEST(TerminalInputDecoderSplit, SplitFeedsDecodeAsOneFeed) {
  const std::string input =
      "x\x1b[1;5A\x1bOP\xc4\x85\x1b\xc5\x82\x1b[200~p\r\nq\x1b[201~\x1b"
      "b"
      "\x1b[M !!\x1b[[B\x1b[<0;3;4m\x1b[3;2~!";
  const std::vector<Key> whole = decode(input);
  ASSERT_EQ(whole.size(), 12u);
  EXPECT_EQ(whole[3], (Key{0, 0, 0xA5, 0}));
  EXPECT_EQ(whole[4], (Key{0, 0, 0x88, ALT}));
  EXPECT_EQ(whole[9], (Key{VK_F1 + 1, 0x3C, 0, 0}));
  for (size_t cut = 1; cut < input.size(); ++cut) {
    EXPECT_EQ(decode(input, {cut}), whole) << "cut at " << cut;
  }
  std::vector<size_t> every_byte;
  for (size_t cut = 1; cut < input.size(); ++cut) every_byte.push_back(cut);
  EXPECT_EQ(decode(input, every_byte), whole);
}

TEST(TerminalInputDecoderUtf8, TextBecomesCodePage852) {
  const Key QUESTION{0, 0, '?', 0};
  expect_cases({
      {"\xc4\x85", {{0, 0, 0xA5, 0}}},        // ą
      {"\xc5\x82", {{0, 0, 0x88, 0}}},        // ł
      {"\xe2\x82\xac", {QUESTION}},           // € is not in the page
      {"\xf0\x9f\x98\x80", {QUESTION}},       // nor is any emoji
      {"\x1b\xc4\x85", {{0, 0, 0xA5, ALT}}},  // Alt+ą
      {"\xff", {QUESTION}},                   // never in UTF-8
      {"\x80", {QUESTION}},                   // a stray continuation byte
      {"\xc4"
       "a",
       {QUESTION, KEY_A}},                               // a sequence cut off by ASCII
      {"\xc0\xaf", {QUESTION, QUESTION}},                // overlong '/'
      {"\xed\xa0\x80", {QUESTION, QUESTION, QUESTION}},  // a surrogate
      {"\xe2\x82", {QUESTION, QUESTION}},                // truncated, settled at the timeout
  });
}

TEST(TerminalInputDecoderGarbage, UnknownSequencesYieldNoKey) {
  // Each is followed by a 'k' that must still come through on its own.
  const char* unknown[] = {
      "\x1b[99~",           "\x1b[?1;2c", "\x1b[<0;10;5M",  "\x1b[<0;10;5m", "\x1b[M !!",
      "\x1b[M\xff\xc4\x85", "\x1b[I",     "\x1b[O",         "\x1bOz",        "\x1b[5A",
      "\x1b[201~",          "\x1b[1$p",   "\x1b[>0;276;0c", "\x1b[[Z",       "\x1b[1:5A",
  };
  for (const char* u : unknown) {
    EXPECT_EQ(decode(std::string(u) + "k"), std::vector<Key>{KEY_K}) << u + 1;
  }
  // A CSI cut off by a control byte is dropped; the control byte counts.
  EXPECT_EQ(decode("\x1b[1;\r"), std::vector<Key>{ENTER});
  // An overlong CSI is dropped whole, also when it comes in pieces.
  const std::string overlong = "\x1b[" + std::string(300, '1') + "qk";
  EXPECT_EQ(decode(overlong), std::vector<Key>{KEY_K});
  EXPECT_EQ(decode(overlong, {100, 200, 301}), std::vector<Key>{KEY_K});
}

TEST(TerminalInputDecoderGarbage, RandomBytesNeverHangOrBreakPairs) {
  std::mt19937 random(1234);
  // Mostly the bytes that make up sequences, so the odd paths get walked.
  const std::string alphabet = "\x1b\x1b\x1b[[[O~;;0123456789AZaz<M\r\n\xc4\x85\xe2\xff\x80";
  for (int round = 0; round < 300; ++round) {
    Decoder d;
    auto now = T0;
    for (int chunk = 0; chunk < 20; ++chunk) {
      std::string bytes(random() % 8, '\0');
      for (char& b : bytes) {
        b = random() % 4 == 0 ? static_cast<char>(random() % 256)
                              : alphabet[random() % alphabet.size()];
      }
      now += std::chrono::milliseconds(random() % 30);
      if (random() % 3 == 0) d.settle(now);
      feed(d, bytes, now);
      take_keys(d);
    }
    d.settle(now + 1s);
    EXPECT_FALSE(d.holding());
    take_keys(d);
  }
}

}  // namespace
}  // namespace textscreen::platform
