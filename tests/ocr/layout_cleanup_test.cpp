#include "ocr/LayoutCleanup.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

LayoutLine LineOf(std::vector<std::pair<std::string, TextBox>> words, TextBox box) {
  LayoutLine line;
  line.box = box;
  for (auto& [text, wordBox] : words) line.words.push_back(LayoutWord{text, wordBox, 90, false});
  return line;
}

std::vector<std::pair<int, int>> Spans(const LayoutLine& line) {
  std::vector<std::pair<int, int>> spans;
  for (const LayoutWord& word : line.words) spans.emplace_back(word.box.left, word.box.right);
  return spans;
}

TEST(RepairWordBoxes, SoundBoxesStayAsTheyAre) {
  LayoutLine line = LineOf({{"The", {60, 150, 130, 183}}, {"quick", {146, 150, 248, 194}},
                            {"扫描", {262, 148, 346, 190}}},
                           {60, 146, 350, 198});
  RepairWordBoxes(line);
  EXPECT_EQ(Spans(line), (std::vector<std::pair<int, int>>{{60, 130}, {146, 248}, {262, 346}}));
}

TEST(RepairWordBoxes, OverlappingAndOverwideWordsAreSpreadOverTheRoomTheirNeighboursLeave) {
  // As read from a real page: 请 given the box of four glyphs, 和 overlapping
  // the words on both sides.
  LayoutLine line = LineOf({{"请", {62, 226, 278, 266}},
                            {"先", {120, 222, 171, 284}},
                            {"源", {287, 228, 316, 266}},
                            {"目录", {327, 226, 408, 266}},
                            {"和", {379, 222, 423, 284}},
                            {"目标", {419, 226, 498, 266}},
                            {"end", {507, 227, 585, 266}}},
                           {62, 226, 585, 266});
  RepairWordBoxes(line);
  EXPECT_EQ(Spans(line), (std::vector<std::pair<int, int>>{
                             {62, 170}, {170, 278}, {287, 316}, {327, 395}, {395, 430}, {430, 498}, {507, 585}}));
  for (const LayoutWord& word : line.words) {
    EXPECT_GE(word.box.top, 226);
    EXPECT_LE(word.box.bottom, 266);
  }
}

TEST(RepairWordBoxes, BoxesOutsideTheLineAreBroughtInsideAndKeepTheirOrder) {
  LayoutLine line = LineOf({{"ab", {0, 0, 40, 10}}, {"cd", {30, 5, 900, 60}}, {"ef", {950, 5, 990, 60}}},
                           {10, 5, 200, 50});
  RepairWordBoxes(line);
  int previousRight = line.box.left;
  for (const LayoutWord& word : line.words) {
    EXPECT_GE(word.box.left, previousRight) << word.text;
    EXPECT_GT(word.box.right, word.box.left) << word.text;
    EXPECT_LE(word.box.right, line.box.right) << word.text;
    previousRight = word.box.right;
  }
}

TEST(RemoveFragmentLines, DropsLowFaintLinesAndTheBlocksTheyLeaveEmpty) {
  PageLayout page;
  auto addLine = [&page](int top, int height, float confidence, bool newBlock) {
    if (newBlock) page.blocks.emplace_back();
    LayoutLine& line = page.blocks.back().paragraphs.emplace_back().lines.emplace_back();
    line.box = {60, top, 400, top + height};
    line.words.push_back(LayoutWord{"x", line.box, confidence, false});
  };
  addLine(68, 10, 46, true);    // the top strokes of the next line's characters
  addLine(72, 36, 96, true);
  addLine(150, 40, 95, false);
  addLine(230, 12, 97, false);  // small but certain: a page number
  addLine(300, 40, 40, false);  // full height but faint
  addLine(360, 12, 40, false);  // small and faint, but on its own: a footnote
  page.blocks.push_back(LayoutBlock{BlockKind::Image, {0, 400, 100, 500}, {}});

  RemoveFragmentLines(page);
  ASSERT_EQ(page.blocks.size(), 2u);
  EXPECT_EQ(page.blocks[0].paragraphs.size(), 5u);
  EXPECT_EQ(page.blocks[0].paragraphs[0].lines[0].box.top, 72);
  EXPECT_EQ(page.blocks[1].kind, BlockKind::Image);
}

}  // namespace
}  // namespace zelk
