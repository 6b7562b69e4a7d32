#pragma once
// The largest image the toolkit agrees to hold in memory.  Readers check a
// declared size against these limits before they allocate anything, so a
// corrupt or hostile header cannot make the program allocate gigabytes.

#include <string>

namespace zelk {

// A0 at 600 dpi is about 19,900 x 28,100 pixels (560 megapixels).
inline constexpr long long kMaxImageSide = 40000;
inline constexpr long long kMaxImagePixels = 600LL * 1000 * 1000;

// For code that must not throw (inside a libjpeg or libpng callback frame).
bool IsImageSizeAcceptable(long long width, long long height);

// Throws ImageError naming `what` (usually the file) when width x height is
// empty, negative or beyond the limits.
void CheckImageSize(long long width, long long height, const std::string& what);

}  // namespace zelk
