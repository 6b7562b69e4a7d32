#include "imaging/JpegQuality.h"

#include <algorithm>

namespace zelk {

int JpegQualityFromFactor(int qualityFactor) {
  // Hundredths in integers, so that halves round the same way on every
  // machine (away from zero, as std::round does): 130 -> 53, 15 -> 95.
  const long long hundredths = 10000LL - 36LL * qualityFactor;
  const long long rounded =
      hundredths >= 0 ? (hundredths + 50) / 100 : -((-hundredths + 50) / 100);
  return static_cast<int>(std::clamp<long long>(rounded, 1, 100));
}

}  // namespace zelk
