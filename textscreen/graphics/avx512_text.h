// Text drawn with AVX-512 where the processor has it: eight glyph cells of a one-byte-per-
// pixel frame side by side make one 64-byte store per pixel line, the width of a cache line,
// so a screen of text is drawn at about the speed of clearing the frame.
#pragma once

#include <cstdint>

namespace textscreen::detail {

using GlyphRun = void (*)(uint8_t* const* lines, int32_t top, int32_t x, const uint8_t* font,
                          int32_t glyph_height, const uint8_t* bytes, int32_t count,
                          uint32_t foreground, uint32_t background);

// The AVX-512 glyph run of a one-byte-per-pixel frame (the contract of
// PixelRoutines::glyph_run, for glyphs at most 16 lines high, as every built-in font is),
// or null where the processor or the compiler lacks the instructions.
GlyphRun avx512_glyph_run8();

// Fills `count` text cells, each three 32-bit words (the character from `bytes`, then the
// foreground and the background), sixteen cells to three 64-byte stores.
using CellRun = void (*)(void* cells, const uint8_t* bytes, int32_t count, uint32_t foreground,
                         uint32_t background);

// The AVX-512 cell run, or null where the processor or the compiler lacks the instructions.
CellRun avx512_cell_run();

}  // namespace textscreen::detail
