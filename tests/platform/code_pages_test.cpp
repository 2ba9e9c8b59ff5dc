#include "platform/code_pages.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace textscreen::platform {
namespace {

constexpr CodePage P437 = CodePage::cp437;
constexpr CodePage P852 = CodePage::cp852;

TEST(CodePage, EveryUpperHalfByteComesBackFromItsGlyph) {
  for (CodePage page : {P437, P852}) {
    for (int b = 0x80; b <= 0xFF; ++b) {
      const auto byte = static_cast<uint8_t>(b);
      EXPECT_EQ(byte_for(page, code_point_of(page, byte)), byte)
          << static_cast<int>(page) << " byte " << b;
    }
  }
}

TEST(CodePage, BytesShowTheirPagesGlyphs) {
  const struct {
    CodePage page;
    uint8_t byte;
    char32_t shown;
  } cases[] = {
      {P437, 0x00, U' '}, {P852, 0x00, U' '}, {P437, 0x01, U'☺'}, {P852, 0x03, U'♥'},
      {P437, 0x41, U'A'}, {P437, 0x7F, U'⌂'}, {P852, 0x7F, U'⌂'}, {P437, 0x80, U'Ç'},
      {P437, 0x85, U'à'}, {P852, 0x85, U'ů'}, {P437, 0xB3, U'│'}, {P437, 0xE4, U'Σ'},
      {P852, 0xA5, U'ą'}, {P852, 0xF5, U'§'}, {P437, 0xFF, 0xA0}, {P852, 0xFF, 0xA0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(code_point_of(c.page, c.byte), c.shown) << static_cast<int>(c.page) << " " << +c.byte;
  }
}

TEST(CodePage, TypedCharactersBecomeThePagesBytes) {
  const struct {
    CodePage page;
    char32_t typed;
    uint8_t byte;
  } cases[] = {
      // Polish letters, all present in 852.
      {P852, U'ą', 0xA5},
      {P852, U'ć', 0x86},
      {P852, U'ę', 0xA9},
      {P852, U'ł', 0x88},
      {P852, U'ń', 0xE4},
      {P852, U'ó', 0xA2},
      {P852, U'ś', 0x98},
      {P852, U'ź', 0xAB},
      {P852, U'ż', 0xBE},
      {P852, U'Ą', 0xA4},
      {P852, U'Ć', 0x8F},
      {P852, U'Ę', 0xA8},
      {P852, U'Ł', 0x9D},
      {P852, U'Ń', 0xE3},
      {P852, U'Ó', 0xE0},
      {P852, U'Ś', 0x97},
      {P852, U'Ź', 0x8D},
      {P852, U'Ż', 0xBD},
      // 437 has only ó of them, and é, ü, Ü; the rest lose their marks.
      {P437, U'ó', 0xA2},
      {P437, U'é', 0x82},
      {P437, U'ü', 0x81},
      {P437, U'Ü', 0x9A},
      {P437, U'ą', 'a'},
      {P437, U'ł', 'l'},
      {P437, U'ż', 'z'},
      {P437, U'Ó', 'O'},
      {P437, U'Ł', 'L'},
      {P437, U'Ś', 'S'},
      {P437, U'ę', 'e'},
      // Other fallbacks: fewer marks first, letters without a decomposition, hand-mapped.
      {P437, U'ǘ', 0x81},
      {P852, U'ấ', 0x83},
      {P437, U'Ǻ', 0x8F},
      {P852, U'Ǻ', 'A'},
      {P437, U'đ', 'd'},
      {P852, U'đ', 0xD0},
      {P852, U'ø', 'o'},
      {P437, U'Ħ', 'H'},
      {P852, U'Ð', 0xD1},
      {P437, U'Ð', 'D'},
      {P437, U'ẞ', 0xE1},
      {P852, U'ı', 'i'},
      // ASCII and control characters as themselves.
      {P852, U'A', 'A'},
      {P437, U' ', ' '},
      {P852, U'~', '~'},
      {P437, 0x00, 0x00},
      {P852, 0x09, 0x09},
      {P437, 0x1B, 0x1B},
      {P852, 0x7F, 0x7F},
      // Exact symbols; display glyphs of control bytes never become those bytes.
      {P437, U'─', 0xC4},
      {P852, U'─', 0xC4},
      {P437, U'α', 0xE0},
      {P852, U'§', 0xF5},
      {P437, U'§', '?'},
      {P437, U'☺', '?'},
      {P852, U'⌂', '?'},
      // Nothing near in the page.
      {P852, U'α', '?'},
      {P437, U'ά', '?'},
      {P437, U'Ж', '?'},
      {P852, U'Æ', '?'},
      {P437, U'Œ', '?'},
      {P437, U'中', '?'},
      {P852, U'😀', '?'},
      {P437, 0x85, '?'},
      {P852, 0x110000, '?'},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(byte_for(c.page, c.typed), c.byte)
        << static_cast<int>(c.page) << " U+" << std::hex << static_cast<uint32_t>(c.typed);
  }
}

TEST(CodePageUtf8, AppendsEachFormAndReplacesWhatHasNone) {
  const struct {
    char32_t code_point;
    std::string_view utf8;
  } cases[] = {
      {0x41, "A"},
      {0x7F, "\x7F"},
      {0x80, "\xC2\x80"},
      {0xF3, "\xC3\xB3"},
      {0x7FF, "\xDF\xBF"},
      {0x800, "\xE0\xA0\x80"},
      {0x20AC, "\xE2\x82\xAC"},
      {0xFFFF, "\xEF\xBF\xBF"},
      {0x10000, "\xF0\x90\x80\x80"},
      {0x10FFFF, "\xF4\x8F\xBF\xBF"},
      {0xD800, "\xEF\xBF\xBD"},
      {0xDFFF, "\xEF\xBF\xBD"},
      {0x110000, "\xEF\xBF\xBD"},
  };
  for (const auto& c : cases) {
    std::string out = "x";
    append_utf8(out, c.code_point);
    EXPECT_EQ(out, "x" + std::string(c.utf8)) << std::hex << static_cast<uint32_t>(c.code_point);
  }
}

TEST(CodePageUtf8, ScalarValuesDecodeFromTheirOwnForms) {
  // Every value below U+10000 but the surrogates, then a stride through the other planes.
  std::string utf8;
  for (char32_t cp = 0; cp <= 0x10FFFF; cp += cp < 0x10000 ? 1 : 0x3FF) {
    if (cp == 0xD800) cp = 0xE000;
    utf8.clear();
    append_utf8(utf8, cp);
    const size_t length = utf8.size();
    utf8 += 'z';
    char32_t decoded = 0;
    ASSERT_EQ(decode_utf8(utf8, decoded), length) << std::hex << static_cast<uint32_t>(cp);
    ASSERT_EQ(decoded, cp);
  }
}

TEST(CodePageUtf8, DecodesTheFirstCharacterOrWaitsOrReplacesOneByte) {
  constexpr char32_t UNTOUCHED = U'#';
  const struct {
    std::string_view bytes;
    size_t used;
    char32_t code_point;
  } cases[] = {
      {"ab", 1, U'a'},
      {"\xC5\x82x", 2, U'ł'},
      {"\xED\x9F\xBF", 3, 0xD7FF},
      {"\xEE\x80\x80", 3, 0xE000},
      {"\xF0\x9F\x98\x80", 4, U'😀'},
      // Valid beginnings of a longer character wait for more bytes.
      {"", 0, UNTOUCHED},
      {"\xC5", 0, UNTOUCHED},
      {"\xE2\x82", 0, UNTOUCHED},
      {"\xF0\x9F\x98", 0, UNTOUCHED},
      {"\xF4\x8F", 0, UNTOUCHED},
      // Malformed: stray continuation, bad lead, overlong, surrogate, past U+10FFFF, too short.
      {"\x80", 1, 0xFFFD},
      {"\xBF\x80", 1, 0xFFFD},
      {"\xFF", 1, 0xFFFD},
      {"\xF5\x80\x80\x80", 1, 0xFFFD},
      {"\xC0\x80", 1, 0xFFFD},
      {"\xC1\xBF", 1, 0xFFFD},
      {"\xE0\x9F\xBF", 1, 0xFFFD},
      {"\xF0\x8F\xBF\xBF", 1, 0xFFFD},
      {"\xED\xA0\x80", 1, 0xFFFD},
      {"\xF4\x90\x80\x80", 1, 0xFFFD},
      {"\xC5"
       "A",
       1, 0xFFFD},
      {"\xE2\x82"
       "A",
       1, 0xFFFD},
      {"\xF0\x9F\x98\xC5", 1, 0xFFFD},
  };
  for (const auto& c : cases) {
    char32_t decoded = UNTOUCHED;
    EXPECT_EQ(decode_utf8(c.bytes, decoded), c.used) << testing::PrintToString(c.bytes);
    EXPECT_EQ(decoded, c.code_point) << testing::PrintToString(c.bytes);
  }
}

TEST(CodePageUtf8, MixedInputDecodesToTheEndWithoutStalling) {
  std::string_view bytes = "a\xC5\x82\x80\xE0\x80\x80z\xE2\x82";
  std::u32string decoded;
  char32_t c = 0;
  while (size_t used = decode_utf8(bytes, c)) {
    decoded += c;
    bytes.remove_prefix(used);
  }
  EXPECT_EQ(decoded, U"ał\uFFFD\uFFFD\uFFFD\uFFFDz");
  EXPECT_EQ(bytes, "\xE2\x82");  // the start of a character still to come
}

}  // namespace
}  // namespace textscreen::platform
