#include "graphics/font_block.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace textscreen::detail {
namespace {

constexpr uint16_t END = 4095;

std::vector<uint8_t> source_file(const std::string& name) {
  std::ifstream in(std::string(TEXTSCREEN_FONT_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The source files keep the leftmost pixel in bit 7, the block in bit 0.
uint8_t mirrored(uint8_t row) {
  uint8_t out = 0;
  for (int bit = 0; bit < 8; ++bit) out |= static_cast<uint8_t>((row >> bit & 1) << (7 - bit));
  return out;
}

// The block as the source files give it: the three fonts, then the palettes.
std::vector<uint8_t> expected_block() {
  std::vector<uint8_t> block;
  for (const char* font : {"vga8x8.bin", "vga8x14.bin", "vga8x16.bin"}) {
    for (uint8_t row : source_file(font)) block.push_back(mirrored(row));
  }
  std::vector<uint8_t> full;
  for (uint8_t six_bit : source_file("vga256.pal")) full.push_back(six_bit * 255 / 63);
  block.insert(block.end(), {0, 0, 0, 255, 255, 255});
  block.insert(block.end(), full.begin(), full.begin() + 48);  // the first 16 are the 16 colours
  for (int i = 0; i < 64; ++i) {
    for (int high : {2, 1, 0}) block.push_back(170 * (i >> high & 1) + 85 * (i >> (high + 3) & 1));
  }
  block.insert(block.end(), full.begin(), full.end());
  return block;
}

struct Unpacked {
  UnpackError error;
  std::vector<uint8_t> bytes;  // what was written
};

Unpacked unpack(const std::vector<uint8_t>& packed, size_t room) {
  std::vector<uint8_t> out(room);
  size_t written = 99;
  const UnpackError error = unpack_font_block(packed, out, written);
  out.resize(written);
  return {error, out};
}

// Two codes to three bytes; an odd last code gets an end code beside it.
std::vector<uint8_t> packed(std::vector<uint16_t> codes) {
  if (codes.size() % 2 == 1) codes.push_back(END);
  std::vector<uint8_t> out;
  for (size_t i = 0; i < codes.size(); i += 2) {
    out.insert(out.end(), {static_cast<uint8_t>(codes[i]),
                           static_cast<uint8_t>(codes[i] >> 8 | (codes[i + 1] & 0x0F) << 4),
                           static_cast<uint8_t>(codes[i + 1] >> 4)});
  }
  return out;
}

std::vector<uint8_t> bytes_of(const std::string& text) {
  return {text.begin(), text.end()};
}

TEST(FontBlock, UnpacksToTheCommittedGlyphAndPaletteFiles) {
  // The built-in data is the block unpacked: each font and palette is read where it lies.
  const std::vector<uint8_t> expected = expected_block();
  ASSERT_EQ(expected.size(), FONT_BLOCK_SIZE);
  ASSERT_TRUE(built_in_data_ready());
  std::vector<uint8_t> shown;
  for (int32_t height : {8, 14, 16}) {
    const FontInfo font = built_in_font(height);
    EXPECT_EQ(std::make_pair(font.glyph_width, font.glyph_height), std::make_pair(8, height));
    shown.insert(shown.end(), font.glyphs, font.glyphs + 256 * height);
  }
  for (auto which : {DefaultPalette::two_colours, DefaultPalette::sixteen_colours,
                     DefaultPalette::sixty_four_colours, DefaultPalette::full_256}) {
    const PaletteInfo palette = built_in_palette(which);
    shown.insert(shown.end(), palette.rgb, palette.rgb + 3 * palette.count);
  }
  EXPECT_EQ(shown, expected);
  EXPECT_EQ(built_in_font(12).glyphs, nullptr);
}

// The sixteen colours' yellow and the full palette's blue are the mode 12 screen's test; the
// full palette is the committed file's, compared above.
TEST(FontBlock, PalettesHoldTheStandardColours) {
  const auto colour = [](DefaultPalette which, int entry) {
    const uint8_t* rgb = built_in_palette(which).rgb + 3 * entry;
    return std::array<int, 3>{rgb[0], rgb[1], rgb[2]};
  };
  using P = DefaultPalette;
  EXPECT_EQ(colour(P::sixty_four_colours, 6), (std::array{170, 170, 0}));
  EXPECT_EQ(colour(P::sixty_four_colours, 20), (std::array{170, 85, 0}));
}

TEST(FontBlockUnpacking, ACodeJustBeingDefinedIsThePreviousStringPlusItsFirstByte) {
  EXPECT_EQ(unpack(packed({'a', 256, 257, END}), 16).bytes, bytes_of("aaaaaa"));
  // 256 = "ab", 257 = "ba"; 258 arrives before it is defined: "ab" + 'a'.
  const Unpacked unpacked = unpack(packed({'a', 'b', 256, 258, END}), 16);
  EXPECT_EQ(unpacked.error, UnpackError::none);
  EXPECT_EQ(unpacked.bytes, bytes_of("abababa"));
}

TEST(FontBlockUnpacking, AFullDictionaryKeepsItsCodesAndEndsAtCode4095) {
  std::vector<uint16_t> codes;
  std::vector<uint8_t> expected;
  for (int i = 0; i < 3840; ++i) {  // the first code, then one new string per code up to 4094
    codes.push_back(static_cast<uint16_t>(i % 251));
    expected.push_back(static_cast<uint8_t>(i % 251));
  }
  const std::vector<uint8_t> last_string = {3838 % 251, 3839 % 251};
  codes.insert(codes.end(), {4094, 'x', 4094, END});
  for (const auto& part : {last_string, bytes_of("x"), last_string}) {
    expected.insert(expected.end(), part.begin(), part.end());
  }
  const Unpacked unpacked = unpack(packed(codes), 5000);
  EXPECT_EQ(unpacked.error, UnpackError::none);
  EXPECT_EQ(unpacked.bytes, expected);
}

TEST(FontBlockUnpacking, RefusesTooLittleRoomUndefinedCodesAndAMissingEnd) {
  const Unpacked small = unpack(packed({'a', 'b', 256, END}), 3);
  EXPECT_EQ(small.error, UnpackError::output_too_large);
  EXPECT_EQ(small.bytes, bytes_of("ab"));  // a string that does not fit is not begun

  for (const auto& codes :
       {std::vector<uint16_t>{256, END}, {'a', 257, END}, {'a', 'b', 4094, END}}) {
    EXPECT_EQ(unpack(packed(codes), 16).error, UnpackError::undefined_code);
  }

  EXPECT_EQ(unpack({}, 16).error, UnpackError::truncated);
  EXPECT_EQ(unpack(packed({'a', 'b'}), 2).error, UnpackError::truncated);  // room full, no end
  std::vector<uint8_t> cut = packed({'a', END});
  cut.pop_back();  // the second code of a triple needs its third byte
  EXPECT_EQ(unpack(cut, 16).error, UnpackError::truncated);
}

}  // namespace
}  // namespace textscreen::detail
