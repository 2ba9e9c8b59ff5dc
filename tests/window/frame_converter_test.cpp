// The window's presenter: frames of each depth converted into ARGB display lines, dirty
// lines only, each frame line on line-scale display lines.
#include "platform/window/frame_converter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace textscreen::platform {
namespace {

constexpr uint32_t UNTOUCHED = 0x12345678;

// A small frame of its own pixels and dirty flags.
struct Frame {
  Frame(int32_t width, int32_t height, int32_t depth, int32_t line_scale = 1)
      : pitch(width * (depth <= 8 ? 1 : depth / 8)),
        pixels(static_cast<size_t>(pitch * height)),
        dirty(static_cast<size_t>(height * line_scale), 1),
        palette(256),
        display(static_cast<size_t>(width * height * line_scale), UNTOUCHED),
        view{pixels.data(), pitch, width, height, depth, line_scale, dirty.data(), palette.data()} {
  }

  int32_t pitch;
  std::vector<uint8_t> pixels;
  std::vector<uint8_t> dirty;
  std::vector<uint32_t> palette;
  std::vector<uint32_t> display;
  FrameView view;

  // Converts with this frame's palette.
  DisplayLines convert(FrameConverter& converter) {
    converter.set_palette(palette.data());
    return converter.convert(view, display.data(), view.width);
  }
};

TEST(FrameConverter, SixteenColourPixelsTakeTheirPaletteColours) {
  Frame frame(20, 1, 4);  // wide enough for sixteen pixels at a time, and a rest
  std::vector<uint32_t> expected;
  for (uint32_t x = 0; x < 20; ++x) {
    const uint32_t i = x % 16;
    frame.pixels[x] = static_cast<uint8_t>(i);
    frame.palette[i] = i | (16 * i) << 8 | (255 - i) << 16;  // red, green, blue
    expected.push_back(0xFF000000u | i << 16 | (16 * i) << 8 | (255 - i));
  }
  FrameConverter converter;
  frame.convert(converter);
  EXPECT_EQ(frame.display, expected);
}

TEST(FrameConverter, SixteenAndThirtyTwoBitPixelsAreShownOpaqueWithEightBitComponents) {
  FrameConverter converter;
  Frame sixteen(5, 1, 16);
  const uint16_t pixels[] = {0xF800, 0x07E0, 0x001F, 0x8410, 0xFFFF};
  std::memcpy(sixteen.pixels.data(), pixels, sizeof pixels);
  sixteen.convert(converter);
  EXPECT_EQ(sixteen.display,
            (std::vector<uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF848284, 0xFFFFFFFF}));
  Frame thirty_two(2, 1, 32);
  const uint32_t wide_pixels[] = {0x00123456, 0x00FFFFFF};
  std::memcpy(thirty_two.pixels.data(), wide_pixels, sizeof wide_pixels);
  thirty_two.convert(converter);
  EXPECT_EQ(thirty_two.display, (std::vector<uint32_t>{0xFF123456, 0xFFFFFFFF}));
}

TEST(FrameConverter, OnlyDirtyLinesAreConvertedOntoLineScaleDisplayLinesAndEveryFlagIsCleared) {
  Frame frame(1, 4, 8, 2);
  frame.palette[3] = 0x0000FF;  // red
  std::fill(frame.pixels.begin(), frame.pixels.end(), uint8_t{3});
  frame.dirty = {0, 1, 1, 0};
  FrameConverter converter;
  const DisplayLines lines = frame.convert(converter);
  EXPECT_EQ(std::make_pair(lines.first, lines.end), std::make_pair(2, 6));
  const uint32_t red = 0xFFFF0000;
  EXPECT_EQ(frame.display, (std::vector<uint32_t>{UNTOUCHED, UNTOUCHED, red, red, red, red,
                                                  UNTOUCHED, UNTOUCHED}));
  EXPECT_EQ(frame.dirty, (std::vector<uint8_t>{0, 0, 0, 0}));
  EXPECT_TRUE(frame.convert(converter).empty());
}

}  // namespace
}  // namespace textscreen::platform
