#include "graphics/avx512_text.h"

#include <array>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define TEXTSCREEN_HAS_AVX512_TEXT 1
#include <immintrin.h>
// GCC 12 takes the intrinsics' deliberately undefined registers for uninitialised ones.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#endif

namespace textscreen::detail {

#ifdef TEXTSCREEN_HAS_AVX512_TEXT
namespace {

#define AVX512_TEXT __attribute__((target("avx512f,avx512bw,avx512vl,avx512bitalg")))

// The glyphs of four codes, 16 bytes each, side by side.
AVX512_TEXT inline __m512i four_glyphs(const uint8_t* font, int32_t glyph_height,
                                       __mmask16 glyph_bytes, const uint8_t* codes) {
  __m128i glyph[4];
  for (int32_t k = 0; k < 4; ++k)
    glyph[k] = _mm_maskz_loadu_epi8(glyph_bytes, font + codes[k] * glyph_height);
  const __m256i low = _mm256_inserti128_si256(_mm256_zextsi128_si256(glyph[0]), glyph[1], 1);
  const __m256i high = _mm256_inserti128_si256(_mm256_zextsi128_si256(glyph[2]), glyph[3], 1);
  return _mm512_inserti64x4(_mm512_zextsi256_si512(low), high, 1);
}

// Draws eight cells or fewer from pixel `x` on.
template <int32_t HEIGHT, bool WHOLE>
AVX512_TEXT inline void glyph_group(uint8_t* const* lines, int32_t top, int32_t x,
                                    const uint8_t* font, int32_t glyph_height, const uint8_t* codes,
                                    int32_t cells, __m512i ink, __m512i paper) {
  const int32_t height = HEIGHT > 0 ? HEIGHT : glyph_height;
  // A glyph is loaded as 16 bytes; those past its height stay unread, so the last glyph of
  // the font is never read beyond.
  const auto glyph_bytes = static_cast<__mmask16>((1u << height) - 1);
  const __m512i left = four_glyphs(font, height, glyph_bytes, codes);
  const __m512i right = four_glyphs(font, height, glyph_bytes, codes + 4);
  // Lines 0-7 of each glyph in one register's lanes, lines 8-15 in another's.
  const __m512i upper =
      _mm512_permutex2var_epi64(left, _mm512_set_epi64(14, 12, 10, 8, 6, 4, 2, 0), right);
  const __m512i lower =
      _mm512_permutex2var_epi64(left, _mm512_set_epi64(15, 13, 11, 9, 7, 5, 3, 1), right);
  const __mmask64 stored = WHOLE ? ~__mmask64{0} : (__mmask64{1} << (8 * cells)) - 1;
  // Bits 0-7 of each lane's byte 0: byte j of the lane is reached by adding 8 * j.
  const __m512i first_line_bits = _mm512_set1_epi64(0x0706050403020100);
  __m512i pick = first_line_bits;
  for (int32_t j = 0; j < height; ++j) {
    if (j == 8) pick = first_line_bits;
    const __mmask64 set = _mm512_bitshuffle_epi64_mask(j < 8 ? upper : lower, pick);
    const __m512i pixels = _mm512_mask_blend_epi8(set, paper, ink);
    uint8_t* out = lines[top + j] + x;
    if (WHOLE) {
      _mm512_storeu_si512(out, pixels);
    } else {
      _mm512_mask_storeu_epi8(out, stored, pixels);
    }
    pick = _mm512_add_epi8(pick, _mm512_set1_epi8(8));
  }
}

// A glyph line is a byte whose bit 0 is the leftmost pixel. Lines 0-7 of eight glyphs go
// into the eight 64-bit lanes of one register and lines 8-15 into another; a bit shuffle
// then picks line j of all eight at once as a 64-bit mask, one bit per pixel, which blends
// the two colours.
template <int32_t HEIGHT>
AVX512_TEXT void glyph_run(uint8_t* const* lines, int32_t top, int32_t x, const uint8_t* font,
                           int32_t glyph_height, const uint8_t* bytes, int32_t count,
                           uint32_t foreground, uint32_t background) {
  const __m512i ink = _mm512_set1_epi8(static_cast<char>(foreground));
  const __m512i paper = _mm512_set1_epi8(static_cast<char>(background));
  int32_t i = 0;
  for (; i + 8 <= count; i += 8) {
    glyph_group<HEIGHT, true>(lines, top, x + 8 * i, font, glyph_height, bytes + i, 8, ink, paper);
  }
  if (i < count) {
    uint8_t codes[8] = {};
    for (int32_t k = 0; i + k < count; ++k) codes[k] = bytes[i + k];
    glyph_group<HEIGHT, false>(lines, top, x + 8 * i, font, glyph_height, codes, count - i, ink,
                               paper);
  }
}

// The screen font's height gets a loop the compiler unrolls.
AVX512_TEXT void glyph_run8(uint8_t* const* lines, int32_t top, int32_t x, const uint8_t* font,
                            int32_t glyph_height, const uint8_t* bytes, int32_t count,
                            uint32_t foreground, uint32_t background) {
  if (glyph_height == 16) {
    glyph_run<16>(lines, top, x, font, glyph_height, bytes, count, foreground, background);
  } else {
    glyph_run<0>(lines, top, x, font, glyph_height, bytes, count, foreground, background);
  }
}

// Sixteen cells are 48 words: three registers, each word either a character widened from
// its byte or one of the two colours.
AVX512_TEXT void cell_run(void* cells, const uint8_t* bytes, int32_t count, uint32_t foreground,
                          uint32_t background) {
  const __m512i colours =
      _mm512_set_epi32(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, static_cast<int>(background),
                       static_cast<int>(foreground));
  // Word w of the 48 takes character w / 3 (index 0-15 of the characters) or colour
  // w % 3 - 1 (index 16 or 17: the colours register).
  alignas(64) static constexpr auto LAYOUT = [] {
    std::array<int32_t, 48> layout{};
    for (int32_t w = 0; w < 48; ++w) layout[w] = w % 3 == 0 ? w / 3 : 16 + w % 3 - 1;
    return layout;
  }();
  auto* out = static_cast<int32_t*>(cells);
  for (int32_t i = 0; i < count; i += 16) {
    const int32_t n = count - i < 16 ? count - i : 16;
    const __m512i characters = _mm512_cvtepu8_epi32(
        _mm_maskz_loadu_epi8(static_cast<__mmask16>((1u << n) - 1), bytes + i));
    for (int32_t part = 0; part < 3; ++part) {
      const int32_t words = 3 * n - 16 * part;
      if (words <= 0) break;
      const __m512i layout = _mm512_load_si512(LAYOUT.data() + 16 * part);
      const __m512i values = _mm512_permutex2var_epi32(characters, layout, colours);
      const auto stored = static_cast<__mmask16>(words >= 16 ? 0xFFFF : (1u << words) - 1);
      _mm512_mask_storeu_epi32(out + 3 * i + 16 * part, stored, values);
    }
  }
}

}  // namespace

GlyphRun avx512_glyph_run8() {
  // Also called while static objects are made, before the run-time's own detection may have.
  __builtin_cpu_init();
  const bool usable = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                      __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512bitalg");
  return usable ? glyph_run8 : nullptr;
}

CellRun avx512_cell_run() {
  __builtin_cpu_init();
  const bool usable = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                      __builtin_cpu_supports("avx512vl");
  return usable ? cell_run : nullptr;
}

#else

GlyphRun avx512_glyph_run8() {
  return nullptr;
}
CellRun avx512_cell_run() {
  return nullptr;
}

#endif

}  // namespace textscreen::detail
