#include "ocr/PictureRegions.h"

#include <leptonica/allheaders.h>

#include <algorithm>

#include "ocr/ConnectedBoxes.h"

namespace zelk {
namespace {

// The flattened recognition image puts the paper at 200; a picture's
// tones, flattened too, lie on both sides of it, print below it.
constexpr int kPaperGrey = 200;
constexpr int kPaperNoise = 6;
// Least side of a picture, in inches.
constexpr double kSmallestPicture = 0.6;
// Least share of a picture's box its dense patches fill.
constexpr double kLeastFill = 0.3;
// Least spread of a picture's tones, in grey levels (between the fifth
// and the four fifths of its pixels by brightness): text on a tinted box
// whose tone the flattening did not bring to the paper's is ink on one
// light tone, a photograph's tones spread far wider.
constexpr double kLeastToneSpread = 45;

// Patches of 8 x 8 pixels mostly off the paper's level (three of every four
// quarters at each halving), at an eighth of the size.
PixPtr DensePatches(Pix* grey) {
  PixPtr ink(pixGenerateMaskByBand(grey, kPaperGrey - kPaperNoise, kPaperGrey + kPaperNoise, 0, 0));
  if (!ink) return nullptr;
  return PixPtr(pixReduceRankBinaryCascade(ink.get(), 3, 3, 3, 0));
}

// The halftone screens of a bitonal page, at an eighth of the size.
// Leptonica's halftone mask is made for pages of 150 to 200 dpi: a finer
// page is halved first, keeping every dot.
PixPtr HalftonePatches(Pix* binary, int dpi) {
  const bool halve = dpi >= 250;
  PixPtr page(halve ? pixReduceRankBinary2(binary, 1, nullptr) : pixClone(binary));
  if (!page) return nullptr;
  l_int32 found = 0;
  PixPtr mask(pixGenHalftoneMask(page.get(), nullptr, &found, 0));
  if (!mask || !found) return nullptr;
  return PixPtr(pixReduceRankBinaryCascade(mask.get(), 1, 1, halve ? 0 : 1, 0));
}

// How many grey levels the middle three fifths of the box's pixels
// spread over.
double ToneSpread(Pix* grey, const TextBox& box) {
  BOX* clip = boxCreate(box.left, box.top, box.right - box.left, box.bottom - box.top);
  PixPtr inside(pixClipRectangle(grey, clip, nullptr));
  boxDestroy(&clip);
  if (!inside) return 0;
  NUMA* histogram = pixGetGrayHistogram(inside.get(), 2);
  if (!histogram) return 0;
  l_float32 low = 0, high = 0;
  const bool read = numaHistogramGetValFromRank(histogram, 0.2f, &low) == 0 &&
                    numaHistogramGetValFromRank(histogram, 0.8f, &high) == 0;
  numaDestroy(&histogram);
  return read ? high - low : 0;
}

}  // namespace

std::vector<TextBox> FindPictureRegions(const Pix* image, int dpi) {
  std::vector<TextBox> pictures;
  Pix* source = const_cast<Pix*>(image);
  if (dpi <= 0 || pixGetWidth(source) < 64 || pixGetHeight(source) < 64) return pictures;
  PixPtr patches, grey;
  if (pixGetDepth(source) == 1) {
    patches = HalftonePatches(source, dpi);
  } else {
    grey.reset(pixGetDepth(source) == 8 ? pixClone(source) : pixConvertTo8(source, 0));
    if (grey) patches = DensePatches(grey.get());
  }
  if (!patches) return pictures;
  // Light places inside a picture (a sky, a highlight) close up.
  PixPtr closed(pixCloseBrick(nullptr, patches.get(), 3, 3));
  if (!closed) return pictures;
  constexpr int kScale = 8;
  const double smallest = kSmallestPicture * dpi / kScale;
  for (const TextBox& found : ConnectedBoxes(closed.get())) {
    const int x = found.left, y = found.top, w = found.right - found.left, h = found.bottom - found.top;
    if (w < smallest || h < smallest) continue;
    if (SetPixelsIn(patches.get(), found) < kLeastFill * w * h) continue;
    const TextBox picture{x * kScale, y * kScale, std::min((x + w) * kScale, pixGetWidth(source)),
                          std::min((y + h) * kScale, pixGetHeight(source))};
    if (grey && ToneSpread(grey.get(), picture) < kLeastToneSpread) continue;
    pictures.push_back(picture);
  }
  std::sort(pictures.begin(), pictures.end(), [](const TextBox& a, const TextBox& b) { return a.top < b.top; });
  return pictures;
}

}  // namespace zelk
