#pragma once
// The toolkit's quality factor (0 best ... 255 smallest file) as a JPEG
// quality for libjpeg: clamp(round(100 - 0.36 * factor), 1, 100).

namespace zelk {

int JpegQualityFromFactor(int qualityFactor);

}  // namespace zelk
