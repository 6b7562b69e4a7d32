#include "ocr/WordSpacing.h"

#include <gtest/gtest.h>

#include "ocr/Join.h"
#include "ocr/RecognitionLanguage.h"

namespace zelk {
namespace {

constexpr int kLineHeight = 40;

TEST(WordSpacing, ChineseRunsNeverTakeABlankWhateverTheGap) {
  EXPECT_FALSE(BlankBetweenWords("扫描", "文档", 0, kLineHeight));
  EXPECT_FALSE(BlankBetweenWords("扫描", "文档", 3 * kLineHeight, kLineHeight));
  EXPECT_FALSE(BlankBetweenWords("办法", "：", 20, kLineHeight));  // fullwidth mark
  EXPECT_FALSE(BlankBetweenWords("法", ":", 2, kLineHeight));      // read as ASCII
  EXPECT_FALSE(BlankBetweenWords(":", "请", 30, kLineHeight));
}

TEST(WordSpacing, LatinWordsAlwaysTakeABlank) {
  EXPECT_TRUE(BlankBetweenWords("quick", "brown", 1, kLineHeight));
  EXPECT_TRUE(BlankBetweenWords("fox,", "123", 12, kLineHeight));
}

TEST(WordSpacing, ChineseNextToLatinFollowsTheGap) {
  EXPECT_FALSE(BlankBetweenWords("中文", "English", 4, kLineHeight));
  EXPECT_FALSE(BlankBetweenWords("English", "混排", 6, kLineHeight));
  EXPECT_TRUE(BlankBetweenWords("混合", "Tesseract", 20, kLineHeight));
  EXPECT_TRUE(BlankBetweenWords("Tesseract", "识别", 20, kLineHeight));
}

TEST(RecognitionLanguage, ProgramNamesMapToTesseractCodesInOrder) {
  const auto codes = TesseractLanguageCodes(kDefaultRecognitionLanguage);
  ASSERT_TRUE(codes);
  EXPECT_EQ(Join(*codes, "+"), "chi_sim+eng");
  EXPECT_EQ(Join(*TesseractLanguageCodes("English+ChinesePRC"), "+"), "eng+chi_sim");
  EXPECT_FALSE(TesseractLanguageCodes("ChinesePRC+Klingon"));
  EXPECT_FALSE(TesseractLanguageCodes("ChinesePRC+"));
  EXPECT_FALSE(TesseractLanguageCodes(""));
}

}  // namespace
}  // namespace zelk
