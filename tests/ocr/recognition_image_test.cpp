#include "ocr/RecognitionImage.h"

#include <gtest/gtest.h>
#include <leptonica/allheaders.h>

#include "HardCasePages.h"
#include "ScanCasePages.h"
#include "TextPageRenderer.h"

namespace zelk {
namespace {

const ocrtest::ScanCasePage& StraightPage() {
  static const ocrtest::ScanCasePage page = ocrtest::PlainScanPage(ocrtest::FullWidthLines(12, 5));
  return page;
}

TEST(RecognitionImage, AskewSheetIsStraightenedAndSheetFedSidewaysTurned) {
  for (double skew : {2.5, -3.0}) {
    const ocrtest::ScanCasePage skewed = ocrtest::SkewedPage(StraightPage(), skew);
    const RecognitionImage image = PrepareForRecognition(skewed.image.get(), 0);
    EXPECT_NEAR(image.frame.skewDegrees, -skew, 0.3) << skew;
    EXPECT_EQ(pixGetDepth(image.pix.get()), 8);
    EXPECT_EQ(pixGetWidth(image.pix.get()), pixGetWidth(skewed.image.get()));
  }
  // A straight page is left straight; a turn swaps the sides.
  const ocrtest::ScanCasePage sideways = ocrtest::TurnedPage(StraightPage(), 1);
  const RecognitionImage image = PrepareForRecognition(sideways.image.get(), 3);
  EXPECT_EQ(image.frame.quarterTurns, 3);
  EXPECT_EQ(image.frame.skewDegrees, 0);
  EXPECT_EQ(pixGetWidth(image.pix.get()), pixGetWidth(StraightPage().image.get()));
  EXPECT_EQ(pixGetHeight(image.pix.get()), pixGetHeight(StraightPage().image.get()));
}

TEST(RecognitionImage, BitonalPageStaysBitonalAndThePageImageIsNeverChanged) {
  const PixPtr bitonal = ocrtest::Binarize(ocrtest::SkewedPage(StraightPage(), 2).image);
  PixPtr before(pixCopy(nullptr, bitonal.get()));
  const RecognitionImage image = PrepareForRecognition(bitonal.get(), 2);
  EXPECT_EQ(pixGetDepth(image.pix.get()), 1);
  EXPECT_NEAR(image.frame.skewDegrees, -2, 0.3);
  l_int32 same = 0;
  pixEqual(before.get(), bitonal.get(), &same);
  EXPECT_TRUE(same);
  // The colour image for reading colours follows the same frame.
  const PixPtr upright = UprightPageImage(StraightPage().image.get(), TextFrame{1, 0});
  PixPtr turned(pixRotateOrth(StraightPage().image.get(), 1));
  pixEqual(upright.get(), turned.get(), &same);
  EXPECT_TRUE(same);
}

TEST(RecognitionImage, BlankBackHoldsNoInkButOneShortLineDoes) {
  const ocrtest::ScanCasePage blank = ocrtest::BlankBackPage();
  EXPECT_FALSE(HoldsInk(PrepareForRecognition(blank.image.get(), 0), 300));
  const ocrtest::ScanCasePage oneLine = ocrtest::PlainScanPage({"第2页"});
  EXPECT_TRUE(HoldsInk(PrepareForRecognition(oneLine.image.get(), 0), 300));
}

TEST(RecognitionImage, SealIsTakenOutButTheStoredImageKeepsIt) {
  const ocrtest::ScanCasePage page = ocrtest::SealPage(ocrtest::FullWidthLines(4, 9));
  PixPtr before(pixCopy(nullptr, page.image.get()));
  const RecognitionImage image = PrepareForRecognition(page.image.get(), 0);
  ASSERT_EQ(image.seals.size(), 1u);
  const TextBox seal = image.seals[0];
  // The ring's left edge, level with the seal's centre, is paper again.
  BOX* ring = boxCreate(seal.left, (seal.top + seal.bottom) / 2 - 30, 16, 60);
  PixPtr left(pixClipRectangle(image.pix.get(), ring, nullptr));
  boxDestroy(&ring);
  l_int32 darkest = 0;
  pixGetExtremeValue(left.get(), 1, L_SELECT_MIN, nullptr, nullptr, nullptr, &darkest);
  EXPECT_GT(darkest, 170);  // flattened paper lies at 200
  l_int32 same = 0;
  pixEqual(before.get(), page.image.get(), &same);
  EXPECT_TRUE(same);
}

}  // namespace
}  // namespace zelk
