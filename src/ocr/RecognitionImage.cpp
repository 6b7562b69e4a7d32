#include "ocr/RecognitionImage.h"

#include <leptonica/allheaders.h>

#include <algorithm>
#include <cmath>

#include "ocr/CubicEnlarge.h"
#include "ocr/OcrError.h"
#include "ocr/SealRemoval.h"

namespace zelk {
namespace {

// Skew below this is left alone: a line 2,000 pixels long then drifts by
// less than a tenth of its height, which neither recognition nor the text
// layer notices.
constexpr double kSmallestSkewDegrees = 0.3;
// Leptonica's confidence below which its skew angle is not trusted.
constexpr float kSkewConfidence = 3.0f;
// Dark enough to count as ink on the flattened page (paper is brought to 200).
constexpr int kInkThreshold = 130;

PixPtr Checked(PIX* pix, const char* what) {
  if (pix == nullptr) throw RecognitionError(std::string("cannot prepare the page image: ") + what);
  return PixPtr(pix);
}

PixPtr Turned(const Pix* page, const TextFrame& frame) {
  const int turns = frame.Turns();
  PIX* source = const_cast<PIX*>(page);
  return Checked(turns == 0 ? pixClone(source) : pixRotateOrth(source, turns), "turning");
}

// Resampled by the frame's factors.  A bitonal page is made grey first:
// rows sampled twice over, or every other one dropped, break strokes that
// grey keeps whole.  Enlarging (a fax's rows) is cubic; reducing (a fine
// scan) maps areas.
PixPtr Resampled(PixPtr pix, const TextFrame& frame) {
  if (!frame.Resampled()) return pix;
  if (pixGetDepth(pix.get()) == 1) pix = Checked(pixConvert1To8(nullptr, pix.get(), 255, 0), "grey conversion");
  if (pixGetColormap(pix.get()) != nullptr) {
    pix = Checked(pixRemoveColormap(pix.get(), REMOVE_CMAP_BASED_ON_SRC), "colour map");
  }
  if (pixGetDepth(pix.get()) == 8 && frame.xScale >= 1 && frame.yScale >= 1) {
    return Checked(CubicEnlarge(pix.get(), frame.xScale, frame.yScale).release(), "resampling");
  }
  return Checked(pixScale(pix.get(), static_cast<float>(frame.xScale), static_cast<float>(frame.yScale)),
                 "resampling");
}

// The scale's factors along the axes of the image once turned.
void SetScale(TextFrame& frame, const RecognitionScale& scale) {
  frame.xScale = frame.Sideways() ? scale.y : scale.x;
  frame.yScale = frame.Sideways() ? scale.x : scale.y;
}

// Removes single-pixel specks and the streaks a fax line drops in (rows
// of black across the whole page) from a bitonal page.
PixPtr Cleaned(PixPtr bitonal) {
  constexpr double kStreakShare = 0.9;  // of the width
  const int width = pixGetWidth(bitonal.get());
  PixPtr streaks(pixOpenCompBrick(nullptr, bitonal.get(), static_cast<int>(width * kStreakShare), 1));
  if (streaks) pixSubtract(bitonal.get(), bitonal.get(), streaks.get());
  PixPtr kept(pixSelectBySize(bitonal.get(), 2, 2, 8, L_SELECT_IF_EITHER, L_SELECT_IF_GTE, nullptr));
  return kept ? std::move(kept) : std::move(bitonal);
}

// Grey at 8 bits, or the page itself when it is bitonal.
PixPtr GreyOf(PixPtr pix) {
  if (pixGetColormap(pix.get()) != nullptr) {
    pix = Checked(pixRemoveColormap(pix.get(), REMOVE_CMAP_BASED_ON_SRC), "colour map");
  }
  switch (pixGetDepth(pix.get())) {
    case 1:
    case 8: return pix;
    case 32: return Checked(pixConvertRGBToLuminance(pix.get()), "grey conversion");
    default: return Checked(pixConvertTo8(pix.get(), 0), "grey conversion");
  }
}

// Flattens the background of a grey page; a page too small for the
// normalisation's tiles is left as it is.
PixPtr Flattened(PixPtr grey) {
  if (pixGetDepth(grey.get()) != 8) return grey;
  PIX* flat = pixBackgroundNormSimple(grey.get(), nullptr, nullptr);
  if (flat == nullptr) return grey;
  return PixPtr(flat);
}

// The angle that straightens the page, in degrees clockwise; 0 when the
// page is straight enough or the measure is unsure.
double SkewCorrection(const PixPtr& pix) {
  PixPtr bitonal = pixGetDepth(pix.get()) == 1
                       ? PixPtr(pixClone(pix.get()))
                       : PixPtr(pixThresholdToBinary(pix.get(), kInkThreshold));
  if (!bitonal) return 0;
  l_float32 angle = 0, confidence = 0;
  if (pixFindSkew(bitonal.get(), &angle, &confidence) != 0) return 0;
  if (confidence < kSkewConfidence || std::abs(angle) < kSmallestSkewDegrees) return 0;
  return angle;
}

PixPtr Rotated(const Pix* pix, double degrees) {
  // Area mapping keeps grey and colour type smooth; bitonal pages are sheared.
  const l_int32 type = pixGetDepth(pix) == 1 ? L_ROTATE_SHEAR : L_ROTATE_AREA_MAP;
  return Checked(pixRotate(const_cast<PIX*>(pix), static_cast<float>(degrees * M_PI / 180.0), type,
                           L_BRING_IN_WHITE, 0, 0),
                 "straightening");
}

// Moves the seals' boxes as straightening moved the image under them:
// each box turned with its centre about the image's centre.
void Straighten(std::vector<TextBox>& boxes, double degrees, int width, int height) {
  const double radians = degrees * M_PI / 180.0;
  const double c = std::cos(radians), s = std::sin(radians);
  for (TextBox& box : boxes) {
    const double x = (box.left + box.right) / 2.0 - width / 2.0;
    const double y = (box.top + box.bottom) / 2.0 - height / 2.0;
    const int dx = static_cast<int>(std::lround(x * c - y * s - x));
    const int dy = static_cast<int>(std::lround(x * s + y * c - y));
    box = TextBox{box.left + dx, box.top + dy, box.right + dx, box.bottom + dy};
  }
}

}  // namespace

RecognitionImage PrepareForRecognition(const Pix* page, int quarterTurns, const RecognitionScale& scale) {
  RecognitionImage image;
  image.frame.quarterTurns = TextFrame{quarterTurns, 0}.Turns();
  SetScale(image.frame, scale);
  PixPtr upright = Turned(page, image.frame);
  // A fax (the bitonal page that needs resampling) is cleaned first.
  if (pixGetDepth(upright.get()) == 1 && image.frame.Resampled()) {
    if (upright.get() == page) upright = Checked(pixCopy(nullptr, upright.get()), "copying");
    upright = Cleaned(std::move(upright));
  }
  const bool flat = pixGetDepth(upright.get()) == 1;  // no background to flatten
  upright = Resampled(std::move(upright), image.frame);
  // Only a copy may lose its seals: the turned image can be the page itself.
  if (pixGetDepth(upright.get()) == 32) {
    if (upright.get() == page) upright = Checked(pixCopy(nullptr, upright.get()), "copying");
    image.seals = RemoveSeals(upright.get(), scale.dpi);
  }
  image.pix = GreyOf(std::move(upright));
  if (!flat) image.pix = Flattened(std::move(image.pix));
  image.frame.skewDegrees = SkewCorrection(image.pix);
  if (image.frame.skewDegrees != 0) {
    image.pix = Rotated(image.pix.get(), image.frame.skewDegrees);
    Straighten(image.seals, image.frame.skewDegrees, pixGetWidth(image.pix.get()), pixGetHeight(image.pix.get()));
  }
  pixSetResolution(image.pix.get(), scale.dpi, scale.dpi);
  return image;
}

PixPtr UprightPageImage(const Pix* page, const TextFrame& frame) {
  PixPtr upright = Turned(page, frame);
  if (frame.Resampled() || frame.skewDegrees != 0) {
    if (pixGetColormap(upright.get()) != nullptr) {
      upright = Checked(pixRemoveColormap(upright.get(), REMOVE_CMAP_BASED_ON_SRC), "colour map");
    }
  }
  if (frame.Resampled()) {
    upright = Checked(pixScale(upright.get(), static_cast<float>(frame.xScale), static_cast<float>(frame.yScale)),
                      "resampling");
  }
  if (frame.skewDegrees != 0) upright = Rotated(upright.get(), frame.skewDegrees);
  if (frame.columns) upright = Checked(pixRotateOrth(upright.get(), 3), "turning");
  return upright;
}

bool HoldsInk(const RecognitionImage& image, int dpi) {
  // The smallest mark that counts: a stroke a third of a millimetre wide
  // and over a millimetre long.
  const int stroke = std::max(2, dpi / 80);
  const int length = std::max(4, dpi / 20);
  PixPtr bitonal = pixGetDepth(image.pix.get()) == 1
                       ? PixPtr(pixClone(image.pix.get()))
                       : PixPtr(pixThresholdToBinary(image.pix.get(), kInkThreshold));
  if (!bitonal) return true;
  PixPtr marks(pixSelectBySize(bitonal.get(), length, length, 8, L_SELECT_IF_EITHER, L_SELECT_IF_GTE, nullptr));
  if (!marks) return true;
  PixPtr strokes(pixOpenBrick(nullptr, marks.get(), stroke, stroke));
  l_int32 empty = 1;
  return !strokes || pixZero(strokes.get(), &empty) != 0 || !empty;
}

}  // namespace zelk
