#include "platform/code_pages.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <tuple>

namespace textscreen::platform {
namespace {

constexpr auto P437 = CodePage::cp437, P852 = CodePage::cp852;

TEST(CodePage, EveryUpperHalfByteComesBackFromItsGlyph) {
  for (CodePage page : {P437, P852}) {
    for (int b = 0x80; b <= 0xFF; ++b) {
      EXPECT_EQ(byte_for(page, code_point_of(page, b)), b) << static_cast<int>(page) << ' ' << b;
    }
  }
}

TEST(CodePage, BytesShowTheirPagesGlyphs) {
  const std::tuple<CodePage, uint8_t, char32_t> cases[] = {
      {P437, 0x00, U' '}, {P852, 0x00, U' '}, {P437, 0x01, U'☺'}, {P852, 0x03, U'♥'},
      {P437, 0x41, U'A'}, {P437, 0x7F, U'⌂'}, {P852, 0x7F, U'⌂'}, {P437, 0x80, U'Ç'},
      {P437, 0x85, U'à'}, {P852, 0x85, U'ů'}, {P437, 0xB3, U'│'}, {P437, 0xE4, U'Σ'},
      {P852, 0xA5, U'ą'}, {P852, 0xF5, U'§'}, {P437, 0xFF, 0xA0}, {P852, 0xFF, 0xA0},
  };
  for (auto [page, byte, shown] : cases) {
    EXPECT_EQ(code_point_of(page, byte), shown) << static_cast<int>(page) << " " << +byte;
  }
}

TEST(CodePage, TypedCharactersBecomeThePagesBytes) {
  const std::tuple<CodePage, std::u32string_view, std::string_view> cases[] = {
      // Polish letters: all in 852; in 437 only ó, the rest lose their marks.
      {P852, U"ąćęłńóśźżĄĆĘŁŃÓŚŹŻ",
       "\xA5\x86\xA9\x88\xE4\xA2\x98\xAB\xBE\xA4\x8F\xA8\x9D\xE3\xE0\x97\x8D\xBD"},
      {P437, U"ąćęłńóśźżĄŁÓŚ", "aceln\xA2szzALOS"},
      // Fewer marks first; letters without a decomposition; ASCII and controls as themselves.
      {P437, U"ǘǺđĦÐẞ", "\x81\x8F\x64HD\xE1"},
      {P852, U"ấǺđøÐı", "\x83\x41\xD0o\xD1i"},
      {P852, U"A~\t\x1B\x7F", "A~\t\x1B\x7F"},
      // Display glyphs of control bytes never become those bytes; nothing near gives '?'.
      {P437, U"─α§☺ά Ж Œ中", "\xC4\xE0??? ? ??"},
      {P852, U"─§⌂αÆ😀\U0010FFFF", "\xC4\xF5?????"},
  };
  for (auto [page, typed, expected] : cases) {
    std::string bytes;
    for (char32_t c : typed) bytes += static_cast<char>(byte_for(page, c));
    EXPECT_EQ(bytes, expected) << static_cast<int>(page);
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

// Whole characters are the test above's; here what is not one yet, or never will be.
TEST(CodePageUtf8, WaitsForTheRestOfACharacterOrReplacesOneByte) {
  constexpr char32_t UNTOUCHED = U'#';
  const std::tuple<std::string_view, size_t, char32_t> cases[] = {
      // Valid beginnings of a longer character wait for more bytes.
      {"", 0, UNTOUCHED},
      {"\xC5", 0, UNTOUCHED},
      {"\xF0\x9F\x98", 0, UNTOUCHED},
      {"\xF4\x8F", 0, UNTOUCHED},
      // Malformed: stray continuation, bad lead, overlong, surrogate, past U+10FFFF, too short.
      {"\x80", 1, 0xFFFD},
      {"\xF5\x80\x80\x80", 1, 0xFFFD},
      {"\xC0\x80", 1, 0xFFFD},
      {"\xE0\x9F\xBF", 1, 0xFFFD},
      {"\xF0\x8F\xBF\xBF", 1, 0xFFFD},
      {"\xED\xA0\x80", 1, 0xFFFD},
      {"\xF4\x90\x80\x80", 1, 0xFFFD},
      {"\xC5\x41", 1, 0xFFFD},
      {"\xF0\x9F\x98\xC5", 1, 0xFFFD},
  };
  for (auto [bytes, used, code_point] : cases) {
    char32_t decoded = UNTOUCHED;
    EXPECT_EQ(decode_utf8(bytes, decoded), used) << testing::PrintToString(bytes);
    EXPECT_EQ(decoded, code_point) << testing::PrintToString(bytes);
  }
}

}  // namespace
}  // namespace textscreen::platform
