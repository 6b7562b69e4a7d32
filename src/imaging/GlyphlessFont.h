#pragma once
// A TrueType font with nothing to draw: glyph 0 (.notdef) and glyph 1, both
// empty, each 500 units wide on a 1000-unit em.  A text layer shows every
// character with glyph 1, so the text can be found, selected and copied
// while nothing of it is ever painted.

#include <cstdint>
#include <vector>

namespace zelk {

inline constexpr int kGlyphlessUnitsPerEm = 1000;
inline constexpr int kGlyphlessAdvance = 500;
inline constexpr int kGlyphlessAscent = 800;
inline constexpr int kGlyphlessDescent = -200;

// The complete font file (built once, the same bytes on every call).
const std::vector<uint8_t>& GlyphlessTrueTypeFont();

}  // namespace zelk
