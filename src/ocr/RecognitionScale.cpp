#include "ocr/RecognitionScale.h"

#include <leptonica/allheaders.h>

#include <algorithm>
#include <cmath>

namespace zelk {
namespace {

constexpr int kLowestTrustedDpi = 100;  // below this a tag is a screen resolution
constexpr int kUsualDpi = 300;
// Pages scanned finer than this are read at kUsualDpi.
constexpr int kFinestReadDpi = 400;
// Rows at less than this share of the columns' resolution are not a fax's
// but a broken tag.
constexpr double kNarrowestRowShare = 0.4;
// A page longer than this (in inches) at its tagged resolution is no
// office page: A3 is 16.5 inches long.
constexpr double kLongestPageInches = 20;
constexpr double kA4LongSideInches = 297 / 25.4;
// Resampling by less than this is not worth it.
constexpr double kSmallestChange = 0.02;

// The resolution of a page whose tag cannot be trusted: the one at which
// its long side is as long as an A4 page's, and not less than kUsualDpi
// (a small clipping scanned at 300 dpi is smaller than A4).
int EstimatedDpi(int longSidePixels) {
  return std::max(kUsualDpi, static_cast<int>(std::lround(longSidePixels / kA4LongSideInches)));
}

double Factor(int from, int to) {
  const double factor = static_cast<double>(to) / from;
  return std::abs(factor - 1) < kSmallestChange ? 1 : factor;
}

}  // namespace

RecognitionScale RecognitionScaleOf(const Page& page) {
  const int width = page.pix ? pixGetWidth(page.pix.get()) : 0;
  const int height = page.pix ? pixGetHeight(page.pix.get()) : 0;
  int xDpi = page.xDpi, yDpi = page.yDpi;
  const int finer = std::max(xDpi, yDpi);
  // A missing or absurd resolution on one axis takes the other's.
  if (xDpi * 1.0 < finer * kNarrowestRowShare) xDpi = finer;
  if (yDpi * 1.0 < finer * kNarrowestRowShare) yDpi = finer;
  const bool believable = finer >= kLowestTrustedDpi && width <= kLongestPageInches * xDpi &&
                          height <= kLongestPageInches * yDpi;
  if (!believable) xDpi = yDpi = EstimatedDpi(std::max(width, height));
  RecognitionScale scale;
  scale.dpi = std::max(xDpi, yDpi);
  if (scale.dpi > kFinestReadDpi) scale.dpi = kUsualDpi;
  scale.x = Factor(xDpi, scale.dpi);
  scale.y = Factor(yDpi, scale.dpi);
  return scale;
}

}  // namespace zelk
