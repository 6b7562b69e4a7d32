#include "ocr/ChinesePunctuation.h"

#include <gtest/gtest.h>


namespace zelk {
namespace {

std::vector<std::string> Restored(std::vector<std::string> words) {
  LayoutLine line;
  for (std::string& text : words) line.words.push_back(LayoutWord{std::move(text), {}, 90, false});
  RestoreChinesePunctuation(line);
  std::vector<std::string> texts;
  for (const LayoutWord& word : line.words) texts.push_back(word.text);
  return texts;
}

using Words = std::vector<std::string>;

TEST(ChinesePunctuation, MarksBetweenChineseCharactersBecomeFullwidthAcrossWordBoundaries) {
  EXPECT_EQ(Restored({"政府工作", "识别;执行", "及时:", "财务,", "部门"}),
            (Words{"政府工作", "识别；执行", "及时：", "财务，", "部门"}));
  EXPECT_EQ(Restored({"文档(", "扫描)", "完成?"}), (Words{"文档（", "扫描）", "完成？"}));
  EXPECT_EQ(Restored({"(", "附件", ")"}), (Words{"（", "附件", "）"}));
}

TEST(ChinesePunctuation, MarksTouchingLatinTextOrDigitsStayAsTheyAre) {
  EXPECT_EQ(Restored({"Note:", "see", "(page", "2)"}), (Words{"Note:", "see", "(page", "2)"}));
  EXPECT_EQ(Restored({"中文,", "English"}), (Words{"中文,", "English"}));
  EXPECT_EQ(Restored({"ISO", "9001:", "标准"}), (Words{"ISO", "9001:", "标准"}));
  EXPECT_EQ(Restored({"版本", "3.5"}), (Words{"版本", "3.5"}));
}

}  // namespace
}  // namespace zelk
