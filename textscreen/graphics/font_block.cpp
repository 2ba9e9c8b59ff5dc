#include "graphics/font_block.h"

#include <array>
#include <optional>

namespace textscreen::detail {
namespace {

constexpr uint16_t FIRST_STRING_CODE = 256;
constexpr uint16_t LAST_STRING_CODE = 4094;
constexpr uint16_t END_CODE = 4095;
constexpr size_t CODE_COUNT = 4096;  // every 12-bit value indexes the tables

// The 12-bit codes in order; two share three bytes.
class CodeReader {
 public:
  explicit CodeReader(std::span<const uint8_t> packed) : packed_(packed) {}

  // The next code, or nothing when the data ends before it is complete.
  std::optional<uint16_t> next() {
    const size_t at = index_ / 2 * 3;
    const bool second = index_ % 2 == 1;
    if (packed_.size() < at + (second ? 3 : 2)) return std::nullopt;
    ++index_;
    if (!second) return static_cast<uint16_t>(packed_[at] | (packed_[at + 1] & 0x0F) << 8);
    return static_cast<uint16_t>(packed_[at + 1] >> 4 | packed_[at + 2] << 4);
  }

 private:
  std::span<const uint8_t> packed_;
  size_t index_ = 0;
};

// Each string code is an earlier code's string plus one byte, so a string is written from its
// last byte back to its first by following the prefixes: no recursion, and a string's length
// is known before it is written. Entries at and above `next_code` are never read.
struct Dictionary {
  Dictionary() {
    for (uint16_t code = 0; code < FIRST_STRING_CODE; ++code) {
      prefix[code] = 0;
      last_byte[code] = first_byte[code] = static_cast<uint8_t>(code);
      length[code] = 1;
    }
  }

  // The dictionary stops growing once full; the codes it has keep their strings.
  void add(uint16_t previous, uint8_t byte) {
    if (next_code > LAST_STRING_CODE) return;
    prefix[next_code] = previous;
    last_byte[next_code] = byte;
    first_byte[next_code] = first_byte[previous];
    length[next_code] = static_cast<uint16_t>(length[previous] + 1);
    ++next_code;
  }

  std::array<uint16_t, CODE_COUNT> prefix;
  std::array<uint8_t, CODE_COUNT> last_byte;
  std::array<uint8_t, CODE_COUNT> first_byte;
  std::array<uint16_t, CODE_COUNT> length;
  uint16_t next_code = FIRST_STRING_CODE;
};

// Where each part lies in the unpacked block.
constexpr size_t FONT_8_AT = 0;
constexpr size_t FONT_14_AT = FONT_8_AT + 256 * 8;
constexpr size_t FONT_16_AT = FONT_14_AT + 256 * 14;
constexpr size_t TWO_COLOURS_AT = FONT_16_AT + 256 * 16;
constexpr size_t SIXTEEN_COLOURS_AT = TWO_COLOURS_AT + 2 * 3;
constexpr size_t SIXTY_FOUR_COLOURS_AT = SIXTEEN_COLOURS_AT + 16 * 3;
constexpr size_t FULL_256_AT = SIXTY_FOUR_COLOURS_AT + 64 * 3;
static_assert(FULL_256_AT + 256 * 3 == FONT_BLOCK_SIZE);

struct BuiltInData {
  std::array<uint8_t, FONT_BLOCK_SIZE> bytes;
  bool ready;
};

const BuiltInData& built_in_data() {
  static const BuiltInData data = [] {
    BuiltInData unpacked{};
    size_t written = 0;
    unpacked.ready =
        unpack_font_block(packed_font_block(), unpacked.bytes, written) == UnpackError::none &&
        written == FONT_BLOCK_SIZE;
    return unpacked;
  }();
  return data;
}

}  // namespace

UnpackError unpack_font_block(std::span<const uint8_t> packed, std::span<uint8_t> out,
                              size_t& written) {
  written = 0;
  Dictionary dictionary;
  CodeReader codes(packed);
  std::optional<uint16_t> previous;
  while (true) {
    const std::optional<uint16_t> read = codes.next();
    if (!read) return UnpackError::truncated;
    const uint16_t code = *read;
    if (code == END_CODE) return UnpackError::none;
    if (!previous) {
      if (code >= FIRST_STRING_CODE) return UnpackError::undefined_code;
    } else {
      if (code > dictionary.next_code) return UnpackError::undefined_code;
      // A code that is just being defined is the previous string plus that string's first byte.
      const uint16_t first_of = code == dictionary.next_code ? *previous : code;
      dictionary.add(*previous, dictionary.first_byte[first_of]);
    }
    const size_t length = dictionary.length[code];
    if (length > out.size() - written) return UnpackError::output_too_large;
    uint16_t link = code;
    for (size_t at = written + length; at > written; link = dictionary.prefix[link]) {
      out[--at] = dictionary.last_byte[link];
    }
    written += length;
    previous = code;
  }
}

bool built_in_data_ready() {
  return built_in_data().ready;
}

FontInfo built_in_font(int32_t glyph_height) {
  const BuiltInData& data = built_in_data();
  if (!data.ready) return {0, 0, nullptr};
  switch (glyph_height) {
    case 8:
      return {8, 8, data.bytes.data() + FONT_8_AT};
    case 14:
      return {8, 14, data.bytes.data() + FONT_14_AT};
    case 16:
      return {8, 16, data.bytes.data() + FONT_16_AT};
    default:
      return {0, 0, nullptr};
  }
}

PaletteInfo built_in_palette(DefaultPalette which) {
  const BuiltInData& data = built_in_data();
  if (!data.ready) return {0, nullptr};
  switch (which) {
    case DefaultPalette::two_colours:
      return {2, data.bytes.data() + TWO_COLOURS_AT};
    case DefaultPalette::sixteen_colours:
      return {16, data.bytes.data() + SIXTEEN_COLOURS_AT};
    case DefaultPalette::sixty_four_colours:
      return {64, data.bytes.data() + SIXTY_FOUR_COLOURS_AT};
    case DefaultPalette::full_256:
      return {256, data.bytes.data() + FULL_256_AT};
  }
  return {0, nullptr};
}

}  // namespace textscreen::detail
