#include "ocr/RecognitionImage.h"

#include <leptonica/allheaders.h>

#include <cmath>

#include "ocr/OcrError.h"

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

}  // namespace

RecognitionImage PrepareForRecognition(const Pix* page, int quarterTurns) {
  RecognitionImage image;
  image.frame.quarterTurns = TextFrame{quarterTurns, 0}.Turns();
  image.pix = Flattened(GreyOf(Turned(page, image.frame)));
  image.frame.skewDegrees = SkewCorrection(image.pix);
  if (image.frame.skewDegrees != 0) image.pix = Rotated(image.pix.get(), image.frame.skewDegrees);
  pixCopyResolution(image.pix.get(), const_cast<PIX*>(page));
  return image;
}

PixPtr UprightPageImage(const Pix* page, const TextFrame& frame) {
  PixPtr upright = Turned(page, frame);
  if (frame.skewDegrees != 0) {
    if (pixGetColormap(upright.get()) != nullptr) {
      upright = Checked(pixRemoveColormap(upright.get(), REMOVE_CMAP_BASED_ON_SRC), "colour map");
    }
    upright = Rotated(upright.get(), frame.skewDegrees);
  }
  return upright;
}

}  // namespace zelk
