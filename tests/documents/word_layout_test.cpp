// Recognised page layouts mapped onto the editable document under each
// layout-retention mode, on hand-made layouts and through the engine.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "documents/WordExport.h"
#include "documents/WordLayoutFit.h"
#include "documents/WordLayoutOrder.h"
#include "documents/WordLayoutParagraphs.h"
#include "documents/WordLayoutText.h"
#include "ocr/OcrEngine.h"
#include "platform/Utf8.h"
#include "support/TempDir.h"
#include "TextPageRenderer.h"

namespace zelk {
namespace {

constexpr Rgb kRed{200, 0, 0};
constexpr Rgb kBlue{0, 0, 128};

// Words of a line set from (left, top): 44 px a character (an em of
// 10.5 pt type at 300 dpi), a 20 px gap
// where `blanks` puts a blank between words, 44 px high.
LayoutLine TextLine(int left, int top, const std::vector<std::string>& words, bool blanks,
                    double fontSize = 10.5, Rgb color = kBlackInk) {
  LayoutLine line;
  int pen = left;
  for (const std::string& text : words) {
    LayoutWord word;
    word.text = text;
    const int width = 44 * static_cast<int>(DecodeUtf8(text).size());
    word.box = TextBox{pen, top, pen + width, top + 44};
    word.spaceAfter = blanks;
    word.color = color;
    word.confidence = 90;
    line.words.push_back(word);
    pen += width + (blanks ? 20 : 0);
  }
  line.words.back().spaceAfter = false;
  line.box = TextBox{left, top, line.words.back().box.right, top + 44};
  line.baseline = top + 36;
  line.fontSize = fontSize;
  return line;
}

LayoutParagraph ParagraphOf(std::vector<LayoutLine> lines,
                            ParagraphAlignment alignment = ParagraphAlignment::Left) {
  LayoutParagraph paragraph;
  paragraph.box = lines.front().box;
  for (const LayoutLine& line : lines) {
    paragraph.box.right = std::max(paragraph.box.right, line.box.right);
    paragraph.box.bottom = line.box.bottom;
  }
  paragraph.alignment = alignment;
  paragraph.lines = std::move(lines);
  return paragraph;
}

LayoutBlock BlockOf(std::vector<LayoutParagraph> paragraphs, BlockKind kind = BlockKind::Text) {
  LayoutBlock block;
  block.kind = kind;
  block.box = paragraphs.front().box;
  for (const LayoutParagraph& paragraph : paragraphs) {
    block.box.left = std::min(block.box.left, paragraph.box.left);
    block.box.right = std::max(block.box.right, paragraph.box.right);
    block.box.bottom = std::max(block.box.bottom, paragraph.box.bottom);
  }
  block.paragraphs = std::move(paragraphs);
  return block;
}

// A column of `lines` Chinese lines from (left, top), 66 px apart.
LayoutBlock ColumnBlock(int left, int top, int lines, const std::string& text) {
  std::vector<LayoutLine> rows;
  for (int i = 0; i < lines; ++i) rows.push_back(TextLine(left, top + 66 * i, {text}, false));
  return BlockOf({ParagraphOf(rows)});
}

PageLayout A4Page(std::vector<LayoutBlock> blocks) {
  PageLayout page;
  page.width = 2480;
  page.height = 3508;
  page.dpi = 300;
  page.blocks = std::move(blocks);
  return page;
}

// A centred red heading over two columns of body text, the right one on a
// blue box.
PageLayout HeadingOverTwoColumns() {
  LayoutBlock heading = BlockOf({ParagraphOf({TextLine(900, 300, {"彩色标题"}, false, 20, kRed)},
                                             ParagraphAlignment::Center)},
                                BlockKind::Heading);
  LayoutBlock left = ColumnBlock(300, 600, 12, "左栏正文内容左栏正文内容");
  LayoutBlock right = ColumnBlock(1300, 600, 12, "右栏正文内容右栏正文内容");
  right.background = kBlue;
  return A4Page({heading, left, right});
}

WordDocument Build(const std::vector<PageLayout>& pages, LayoutRetention retention,
                   bool keepColours) {
  return BuildWordDocument(pages, WordExportOptions{retention, keepColours});
}

std::string TextOf(const WordParagraph& paragraph) {
  std::string text;
  for (const WordRun& run : paragraph.runs) text += run.text;
  return text;
}

std::vector<WordRun> AllRuns(const WordSection& section) {
  std::vector<WordRun> runs;
  for (const WordParagraph& paragraph : section.paragraphs)
    runs.insert(runs.end(), paragraph.runs.begin(), paragraph.runs.end());
  for (const WordGridRow& row : section.grid.rows)
    for (const WordCell& cell : row.cells)
      for (const WordParagraph& paragraph : cell.paragraphs)
        runs.insert(runs.end(), paragraph.runs.begin(), paragraph.runs.end());
  return runs;
}

// --- Lines joined into paragraph text ------------------------------------

TEST(WordLayoutText, ChineseLinesJoinWithoutBlanksAndLatinLinesWithOne) {
  const WordDocument document = Build(
      {A4Page({BlockOf({ParagraphOf({TextLine(300, 300, {"扫描文档"}, false),
                                     TextLine(300, 366, {"批量", "转换。"}, false)}),
                        ParagraphOf({TextLine(300, 500, {"The", "quick"}, true),
                                     TextLine(300, 566, {"brown", "fox"}, true)}),
                        ParagraphOf({TextLine(300, 700, {"an", "inter-"}, true),
                                     TextLine(300, 766, {"national", "Tesseract"}, true),
                                     TextLine(300, 832, {"识别引擎"}, false)})})})},
      LayoutRetention::EditableCopy, false);
  ASSERT_EQ(document.sections.size(), 1u);
  const auto& paragraphs = document.sections[0].paragraphs;
  ASSERT_EQ(paragraphs.size(), 3u);
  EXPECT_EQ(TextOf(paragraphs[0]), "扫描文档批量转换。");
  EXPECT_EQ(TextOf(paragraphs[1]), "The quick brown fox");
  EXPECT_EQ(TextOf(paragraphs[2]), "an inter-national Tesseract识别引擎");

  EXPECT_TRUE(BlankBetweenLines("end.", "Next"));
  EXPECT_TRUE(BlankBetweenLines("well-", "Known"));
  EXPECT_FALSE(BlankBetweenLines("中文", "Latin"));
  EXPECT_FALSE(BlankBetweenLines("结束，", "下一行"));
}

TEST(WordLayoutText, RunsSplitWhereColourOrSizeChangesAndEstimateJitterDoesNot) {
  LayoutLine first = TextLine(300, 300, {"Black", "words"}, true, 10.3);
  first.words[1].color = Rgb{180, 0, 0};
  LayoutLine second = TextLine(300, 366, {"still", "red"}, true, 10.7, Rgb{180, 0, 0});
  LayoutLine third = TextLine(300, 432, {"larger"}, true, 12.5, Rgb{180, 0, 0});
  const PageLayout page = A4Page({BlockOf({ParagraphOf({first, second, third})})});

  const auto coloured = Build({page}, LayoutRetention::FormattedText, true).sections[0].paragraphs;
  ASSERT_EQ(coloured.size(), 1u);
  ASSERT_EQ(coloured[0].runs.size(), 3u);
  EXPECT_EQ(coloured[0].runs[0].text, "Black ");
  EXPECT_EQ(coloured[0].runs[0].color, kBlackInk);
  EXPECT_EQ(coloured[0].runs[1].text, "words still red ");
  EXPECT_EQ(coloured[0].runs[1].color, (Rgb{180, 0, 0}));
  EXPECT_DOUBLE_EQ(coloured[0].runs[1].fontSize, 10.5);
  EXPECT_EQ(coloured[0].runs[2].text, "larger");
  EXPECT_DOUBLE_EQ(coloured[0].runs[2].fontSize, 12.5);

  // Without colours the only split left is the size.
  const auto plain = Build({page}, LayoutRetention::FormattedText, false).sections[0].paragraphs;
  ASSERT_EQ(plain[0].runs.size(), 2u);
  EXPECT_EQ(plain[0].runs[0].text, "Black words still red ");
  EXPECT_EQ(plain[0].runs[0].color, kBlackInk);
  EXPECT_EQ(plain[0].runs[1].color, kBlackInk);
}

TEST(WordLayoutText, TableRowsBecomeParagraphsWithBlanksBetweenCells) {
  LayoutBlock table = BlockOf(
      {ParagraphOf({TextLine(300, 300, {"姓名"}, false), TextLine(300, 366, {"张三"}, false)})},
      BlockKind::Table);
  // Cells of a row: far apart, no blank asked for between Chinese words.
  table.paragraphs[0].lines[0].words.push_back(
      LayoutWord{"年龄", TextBox{800, 300, 848, 344}, 90, false, kBlackInk});
  table.paragraphs[0].lines[0].words.push_back(
      LayoutWord{"籍贯", TextBox{849, 300, 897, 344}, 90, false, kBlackInk});
  LayoutBlock picture;
  picture.kind = BlockKind::Image;
  picture.box = TextBox{300, 600, 900, 900};
  LayoutBlock rule = picture;
  rule.kind = BlockKind::Separator;
  const auto paragraphs =
      Build({A4Page({table, picture, rule})}, LayoutRetention::EditableCopy, false).sections[0].paragraphs;
  ASSERT_EQ(paragraphs.size(), 2u);
  EXPECT_EQ(TextOf(paragraphs[0]), "姓名 年龄籍贯");
  EXPECT_EQ(TextOf(paragraphs[1]), "张三");
}

// --- Layout-retention modes ---------------------------------------------

TEST(WordLayoutModes, PlainTextHasDefaultSizeBlackParagraphsOnly) {
  const WordSection section =
      Build({HeadingOverTwoColumns()}, LayoutRetention::PlainText, true).sections[0];
  EXPECT_EQ(section.columns, 1);
  ASSERT_EQ(section.paragraphs.size(), 3u);
  for (const WordParagraph& paragraph : section.paragraphs) {
    EXPECT_EQ(paragraph.alignment, WordAlignment::Left);
    EXPECT_FALSE(paragraph.hasShading);
    EXPECT_EQ(paragraph.spaceBefore, 0);
    EXPECT_EQ(paragraph.lineHeight, 0);
  }
  for (const WordRun& run : AllRuns(section)) {
    EXPECT_EQ(run.fontSize, 0);
    EXPECT_EQ(run.color, kBlackInk);
  }
}

TEST(WordLayoutModes, FormattedTextKeepsSizesColoursAndCentringInOneColumn) {
  const WordSection section =
      Build({HeadingOverTwoColumns()}, LayoutRetention::FormattedText, true).sections[0];
  EXPECT_EQ(section.columns, 1);
  ASSERT_EQ(section.paragraphs.size(), 3u);
  const WordParagraph& heading = section.paragraphs[0];
  EXPECT_EQ(heading.alignment, WordAlignment::Center);
  EXPECT_EQ(heading.runs[0].color, kRed);
  EXPECT_DOUBLE_EQ(heading.runs[0].fontSize, 20);
  EXPECT_EQ(section.paragraphs[1].runs[0].color, kBlackInk);
  EXPECT_FALSE(section.paragraphs[1].hasShading);
  EXPECT_TRUE(section.paragraphs[2].hasShading);
  EXPECT_EQ(section.paragraphs[2].shading, kBlue);
}

TEST(WordLayoutModes, ExactCopyPutsEachTextBlockInACellOfAGridAtItsPlace) {
  PageLayout page = HeadingOverTwoColumns();
  page.blocks[1].box = TextBox{300, 600, 1200, 1400};
  const WordSection coloured = Build({page}, LayoutRetention::ExactCopy, true).sections[0];
  EXPECT_TRUE(coloured.paragraphs.empty());
  // A row for the heading, one for the two columns side by side.
  ASSERT_EQ(coloured.grid.rows.size(), 2u);
  const WordGridRow& heading = coloured.grid.rows[0];
  const WordGridRow& columns = coloured.grid.rows[1];
  ASSERT_EQ(heading.cells.size(), 1u);
  ASSERT_EQ(columns.cells.size(), 2u);
  double width = 0;
  for (double column : coloured.grid.columns) width += column;
  EXPECT_DOUBLE_EQ(width, coloured.pageWidth - coloured.marginLeft - coloured.marginRight);
  // The heading's cell spans the grid; the columns split at the middle of
  // the gutter (1200 to 1300 px: 300 pt from the page's edge).
  EXPECT_EQ(heading.cells[0].span, static_cast<int>(coloured.grid.columns.size()));
  EXPECT_EQ(columns.cells[0].span + columns.cells[1].span, static_cast<int>(coloured.grid.columns.size()));
  double leftWidth = 0;
  for (int i = 0; i < columns.cells[0].span; ++i) leftWidth += coloured.grid.columns[i];
  EXPECT_DOUBLE_EQ(coloured.marginLeft + leftWidth, 300);
  // Rows reach from one row's first line box to the next's: a line's
  // pitch above its first baseline (the heading's at 336 px, 24 pt of
  // single spacing above; the columns' at 636 px, 16 pt above).
  EXPECT_DOUBLE_EQ(heading.height, 80);
  const WordParagraph& left = columns.cells[0].paragraphs.at(0);
  EXPECT_DOUBLE_EQ(left.lineHeight, 16);  // 66 px, to the half point
  EXPECT_DOUBLE_EQ(left.leftIndent, 0);
  EXPECT_FALSE(columns.cells[0].hasBackground);
  EXPECT_TRUE(columns.cells[1].hasBackground);
  EXPECT_EQ(columns.cells[1].background, kBlue);
  // The right column starts 12 pt right of its cell, the centred heading
  // keeps its middle.
  EXPECT_DOUBLE_EQ(columns.cells[1].paragraphs.at(0).leftIndent, 12);
  const WordParagraph& title = heading.cells[0].paragraphs.at(0);
  EXPECT_EQ(title.runs[0].color, kRed);
  EXPECT_EQ(title.alignment, WordAlignment::Center);
  const double roomStart = coloured.marginLeft + title.leftIndent;
  const double roomEnd = coloured.pageWidth - coloured.marginRight - title.rightIndent;
  EXPECT_NEAR((roomStart + roomEnd) / 2, (900 + 1076) / 2 * 0.24, 0.5);

  const WordSection plain = Build({page}, LayoutRetention::ExactCopy, false).sections[0];
  ASSERT_EQ(plain.grid.rows.size(), 2u);
  EXPECT_FALSE(plain.grid.rows[1].cells[1].hasBackground);
  for (const WordRun& run : AllRuns(plain)) EXPECT_EQ(run.color, kBlackInk);
}

TEST(WordLayoutModes, ATitleAndTheLineUnderItRecognisedAsOneParagraphStayOnLinesOfTheirOwn) {
  const PageLayout page = A4Page({BlockOf({ParagraphOf({TextLine(600, 300, {"通知标题"}, false, 21),
                                                       TextLine(700, 420, {"文号"}, false, 10.5)},
                                                      ParagraphAlignment::Center)})});
  for (LayoutRetention mode : {LayoutRetention::EditableCopy, LayoutRetention::FormattedText}) {
    const WordDocument document = Build({page}, mode, false);
    const std::vector<WordParagraph>& paragraphs = document.sections.at(0).paragraphs;
    ASSERT_EQ(paragraphs.size(), 2u);
    EXPECT_EQ(TextOf(paragraphs[0]), "通知标题");
    EXPECT_EQ(TextOf(paragraphs[1]), "文号");
    EXPECT_DOUBLE_EQ(paragraphs[1].runs[0].fontSize, 10.5);
  }
}

TEST(WordLayoutModes, EditableCopyFindsTwoColumnsBesideEachOtherUnderAHeading) {
  const WordDocument document = Build({HeadingOverTwoColumns()}, LayoutRetention::EditableCopy, true);
  ASSERT_EQ(document.sections.size(), 2u);
  // The heading over the gutter stands in a band of one column of its own.
  const WordSection& top = document.sections[0];
  EXPECT_EQ(top.columns, 1);
  EXPECT_FALSE(top.continuesPage);
  ASSERT_EQ(top.paragraphs.size(), 1u);
  EXPECT_EQ(top.paragraphs[0].alignment, WordAlignment::Center);
  EXPECT_DOUBLE_EQ(top.marginTop, 72);
  EXPECT_DOUBLE_EQ(top.paragraphs[0].spaceBefore, 0);

  const WordSection& section = document.sections[1];
  EXPECT_TRUE(section.continuesPage);
  EXPECT_EQ(section.columns, 2);
  // Left column ends at 300 + 12 * 44 = 828 px; the right one starts at 1300.
  EXPECT_DOUBLE_EQ(section.columnGap, 113.5);  // 472 px, to the half point
  // The columns as measured: the left one from the margin (300 px) to its
  // text's end, the gutter of 472 px, the right one to the margin (cut back
  // to a quarter of the page).
  ASSERT_EQ(section.columnWidths.size(), 2u);
  EXPECT_NEAR(section.columnWidths[0].width, 528 * 0.24, 1e-9);
  EXPECT_NEAR(section.columnWidths[0].gapAfter, 472 * 0.24, 1e-9);
  EXPECT_NEAR(section.columnWidths[1].width, 595.2 * 0.75 - 1300 * 0.24, 1e-9);
  EXPECT_DOUBLE_EQ(section.columnWidths[1].gapAfter, 0);
  EXPECT_DOUBLE_EQ(section.marginTop, top.marginTop);
  ASSERT_EQ(section.paragraphs.size(), 2u);
  EXPECT_EQ(TextOf(section.paragraphs[0]).substr(0, 6), "左栏");
  EXPECT_EQ(TextOf(section.paragraphs[1]).substr(0, 6), "右栏");
  // The left column's first baseline stands 300 px (72 pt) below the
  // heading's, of which its own 16 pt line pitch gives 16; the right column
  // breaks to the next column and stands at the same height.  The space
  // above the columns goes below the heading, out of the columns' section,
  // so that every column starts at its top.
  EXPECT_DOUBLE_EQ(top.paragraphs[0].spaceAfter, 56);
  EXPECT_DOUBLE_EQ(section.paragraphs[0].spaceBefore, 0);
  EXPECT_FALSE(section.paragraphs[0].columnBreakBefore);
  EXPECT_TRUE(section.paragraphs[1].columnBreakBefore);
  EXPECT_DOUBLE_EQ(section.paragraphs[1].spaceBefore, 0);
  EXPECT_EQ(section.paragraphs[1].shading, kBlue);
  EXPECT_DOUBLE_EQ(section.paragraphs[0].runs[0].fontSize, 10.5);

  // A right column that starts 100 px (24 pt) lower keeps that space.
  PageLayout lower = HeadingOverTwoColumns();
  lower.blocks[2] = ColumnBlock(1300, 700, 12, "右栏正文内容右栏正文内容");
  const WordDocument stepped = Build({lower}, LayoutRetention::EditableCopy, false);
  ASSERT_EQ(stepped.sections.size(), 2u);
  EXPECT_DOUBLE_EQ(stepped.sections[0].paragraphs[0].spaceAfter, 56);
  ASSERT_EQ(stepped.sections[1].paragraphs.size(), 2u);
  EXPECT_DOUBLE_EQ(stepped.sections[1].paragraphs[0].spaceBefore, 0);
  EXPECT_DOUBLE_EQ(stepped.sections[1].paragraphs[1].spaceBefore, 24);
}

// A heading across the page, two columns, a note across the page below
// them; then a page of one column.
TEST(WordLayoutModes, EditableCopySetsFullWidthBlocksAboveAndBelowColumnsInBandsOfTheirOwn) {
  LayoutBlock heading = BlockOf({ParagraphOf({TextLine(300, 300, {"横跨两栏的标题横跨两栏的标题横跨两栏的标题横跨两栏的标题横跨"}, false, 16)})},
                                BlockKind::Heading);
  LayoutBlock left = ColumnBlock(300, 600, 11, "左栏正文内容左栏正文内容");
  LayoutBlock right = ColumnBlock(1300, 600, 12, "右栏正文内容右栏正文内容");
  // The left column's last paragraph, lower than the right column's end,
  // reaches into the gutter without crossing it: still the column.
  LayoutBlock tail = ColumnBlock(300, 1350, 1, "左栏末段左栏末段左栏末段末段");
  LayoutBlock note = ColumnBlock(300, 1600, 2, "通栏注释通栏注释通栏注释通栏注释通栏注释通栏注释通栏注释通栏注释通栏注释");
  const PageLayout second = A4Page({ColumnBlock(300, 300, 5, "第二页正文")});
  const WordDocument document =
      Build({A4Page({note, right, tail, left, heading}), second}, LayoutRetention::EditableCopy, false);
  ASSERT_EQ(document.sections.size(), 4u);
  // Whether a section continues the page, its columns, its paragraphs.
  auto band = [](const WordSection& section) {
    return std::tuple(section.continuesPage, section.columns, section.paragraphs.size());
  };

  const WordSection& top = document.sections[0];
  ASSERT_EQ(band(top), std::tuple(false, 1, std::size_t{1}));
  EXPECT_EQ(TextOf(top.paragraphs[0]).substr(0, 6), "横跨");

  const WordSection& columns = document.sections[1];
  ASSERT_EQ(band(columns), std::tuple(true, 2, std::size_t{3}));
  EXPECT_EQ(TextOf(columns.paragraphs[0]).substr(0, 6), "左栏");
  EXPECT_EQ(TextOf(columns.paragraphs[1]).substr(0, 12), "左栏末段");
  EXPECT_FALSE(columns.paragraphs[1].columnBreakBefore);
  EXPECT_TRUE(columns.paragraphs[2].columnBreakBefore);
  // The right column starts as far down as the left one.
  EXPECT_DOUBLE_EQ(columns.paragraphs[2].spaceBefore, columns.paragraphs[0].spaceBefore);
  EXPECT_EQ(TextOf(columns.paragraphs[2]).substr(0, 6), "右栏");

  const WordSection& bottom = document.sections[2];
  ASSERT_EQ(band(bottom), std::tuple(true, 1, std::size_t{1}));
  EXPECT_EQ(TextOf(bottom.paragraphs[0]).substr(0, 12), "通栏注释");
  // Spaced from the lowest baseline above (the left column's last line at
  // 1386 px) to its own first one (1636 px): 60 pt, less its 16 pt line
  // pitch.
  EXPECT_DOUBLE_EQ(bottom.paragraphs[0].spaceBefore, 44);
  for (const WordSection* section : {&columns, &bottom}) {
    EXPECT_DOUBLE_EQ(section->pageHeight, top.pageHeight);
    EXPECT_DOUBLE_EQ(section->marginTop, top.marginTop);
    EXPECT_DOUBLE_EQ(section->marginLeft, top.marginLeft);
    EXPECT_DOUBLE_EQ(section->marginBottom, top.marginBottom);
  }
  // The next source page starts a new page.
  EXPECT_FALSE(document.sections[3].continuesPage);
  EXPECT_EQ(document.sections[3].columns, 1);

  // The other modes keep one section per page.
  EXPECT_EQ(Build({A4Page({heading, left, right, note})}, LayoutRetention::FormattedText, false).sections.size(), 1u);
  EXPECT_EQ(Build({A4Page({heading, left, right, note})}, LayoutRetention::ExactCopy, false).sections.size(), 1u);
}

TEST(WordLayoutModes, EditableCopyKeepsOneColumnForStackedBlocksAndTableGrids) {
  const PageLayout stacked =
      A4Page({ColumnBlock(300, 300, 5, "第一段"), ColumnBlock(300, 700, 5, "第二段")});
  EXPECT_EQ(Build({stacked}, LayoutRetention::EditableCopy, false).sections[0].columns, 1);

  // Table cells side by side are no columns, nor a short pair of labels on
  // a long page of text.
  LayoutBlock cellA = ColumnBlock(300, 300, 2, "单元格");
  LayoutBlock cellB = ColumnBlock(900, 300, 2, "单元格");
  cellA.kind = cellB.kind = BlockKind::Table;
  EXPECT_EQ(Build({A4Page({cellA, cellB})}, LayoutRetention::EditableCopy, false).sections[0].columns, 1);
  const PageLayout labels = A4Page(
      {ColumnBlock(300, 300, 1, "姓名"), ColumnBlock(900, 300, 1, "日期"), ColumnBlock(300, 400, 30, "正文")});
  EXPECT_EQ(Build({labels}, LayoutRetention::EditableCopy, false).sections[0].columns, 1);
}

TEST(WordLayoutModes, EditableCopyTakesALongColumnTheRecogniserCalledATableForAColumn) {
  PageLayout page = HeadingOverTwoColumns();
  page.blocks[1].kind = BlockKind::Table;
  const WordDocument document = Build({page}, LayoutRetention::EditableCopy, false);
  ASSERT_EQ(document.sections.size(), 2u);  // the heading's band, the columns'
  const WordSection& section = document.sections[1];
  EXPECT_EQ(section.columns, 2);
  ASSERT_EQ(section.paragraphs.size(), 12u + 1);  // the table's rows one by one
  EXPECT_EQ(TextOf(section.paragraphs[0]), "左栏正文内容左栏正文内容");
  // Rows 66 px (15.84 pt) apart; single spacing of 10.5 pt type gives 12.6.
  EXPECT_DOUBLE_EQ(section.paragraphs[1].spaceBefore, 3);
  EXPECT_TRUE(section.paragraphs[12].columnBreakBefore);
  EXPECT_EQ(TextOf(section.paragraphs[12]).substr(0, 6), "右栏");
}

// The left column's upper paragraph is narrow; its wide paragraph stands
// below the end of the right column, beside nothing.
TEST(WordLayoutModes, EditableCopyMeasuresEachColumnFromAllItsBlocks) {
  LayoutBlock narrow = ColumnBlock(300, 600, 10, "左栏短行文字内容");  // to 300 + 8 * 44 = 652 px
  LayoutBlock wide = ColumnBlock(300, 1400, 4, "左栏长行文字内容左栏长行文字内容左栏长行");  // to 1180 px
  LayoutBlock right = ColumnBlock(1300, 600, 10, "右栏正文内容右栏正文内容右栏正文内容右栏");  // to 2180 px
  const WordDocument document = Build({A4Page({narrow, wide, right})}, LayoutRetention::EditableCopy, false);
  ASSERT_EQ(document.sections.size(), 1u);
  const WordSection& section = document.sections[0];
  ASSERT_EQ(section.columns, 2);
  // The gutter from the wide paragraph's end (1180 px) to the right column.
  EXPECT_DOUBLE_EQ(section.columnGap, 29);  // 120 px, to the half point
  ASSERT_EQ(section.columnWidths.size(), 2u);
  EXPECT_NEAR(section.columnWidths[0].width, 880 * 0.24, 1e-9);
  EXPECT_NEAR(section.columnWidths[0].gapAfter, 120 * 0.24, 1e-9);
  EXPECT_NEAR(section.columnWidths[1].width, 880 * 0.24, 1e-9);
  // So the wide lines keep their type: 20 characters of 10.5 pt fill 210 pt
  // of the column's 211.2.
  ASSERT_EQ(section.paragraphs.size(), 3u);
  EXPECT_EQ(TextOf(section.paragraphs[1]).substr(0, 12), "左栏长行");
  EXPECT_DOUBLE_EQ(section.paragraphs[1].runs[0].fontSize, 10.5);
  EXPECT_TRUE(section.paragraphs[2].columnBreakBefore);
}

// The recogniser cut the heading over the columns in two at the gutter:
// each half lies within a column.
TEST(WordLayoutModes, EditableCopyJoinsAHeadingCutInTwoAtTheGutter) {
  LayoutBlock left = BlockOf({ParagraphOf({TextLine(880, 300, {"双栏页面"}, false, 20)})}, BlockKind::Caption);
  LayoutBlock right = BlockOf({ParagraphOf({TextLine(1066, 302, {"的标题"}, false, 20)})}, BlockKind::Caption);
  // A heading of the left column alone, on the same baseline as the right
  // one's but a gutter away from it, stays where it is.
  LayoutBlock leftOnly = BlockOf({ParagraphOf({TextLine(300, 1400, {"左栏小标题"}, false, 12)})});
  LayoutBlock rightOnly = BlockOf({ParagraphOf({TextLine(1300, 1400, {"右栏小标题"}, false, 12)})});
  const PageLayout page = A4Page({left, right, ColumnBlock(300, 600, 12, "左栏正文内容左栏正文内容"),
                                  ColumnBlock(1300, 600, 12, "右栏正文内容右栏正文内容"), leftOnly, rightOnly,
                                  ColumnBlock(300, 1500, 6, "左栏正文内容左栏正文内容"),
                                  ColumnBlock(1300, 1500, 6, "右栏正文内容右栏正文内容")});
  const WordDocument document = Build({page}, LayoutRetention::EditableCopy, false);
  ASSERT_EQ(document.sections.size(), 2u);
  ASSERT_EQ(document.sections[0].paragraphs.size(), 1u);
  EXPECT_EQ(TextOf(document.sections[0].paragraphs[0]), "双栏页面的标题");
  const WordSection& columns = document.sections[1];
  EXPECT_EQ(columns.columns, 2);
  ASSERT_EQ(columns.paragraphs.size(), 6u);
  EXPECT_EQ(TextOf(columns.paragraphs[1]), "左栏小标题");
  EXPECT_EQ(TextOf(columns.paragraphs[4]), "右栏小标题");
  EXPECT_TRUE(columns.paragraphs[3].columnBreakBefore);
  // The other modes keep the recogniser's blocks.
  EXPECT_EQ(TextOf(Build({page}, LayoutRetention::FormattedText, false).sections[0].paragraphs[0]), "双栏页面");
}

// Paragraph gaps at the same height in both columns, wider than the
// gutter: the reading order goes across the gutter, the columns do not.
TEST(WordLayoutModes, EditableCopySetsEachColumnsParagraphsInItsColumn) {
  const PageLayout page = A4Page({ColumnBlock(300, 600, 3, "左上左上左上左上左上左上"),
                                  ColumnBlock(900, 600, 3, "右上右上右上右上右上右上"),
                                  ColumnBlock(300, 900, 3, "左下左下左下左下左下左下"),
                                  ColumnBlock(900, 900, 3, "右下右下右下右下右下右下")});
  auto firstWords = [](const WordSection& section) {
    std::vector<std::string> words;
    for (const WordParagraph& paragraph : section.paragraphs) words.push_back(TextOf(paragraph).substr(0, 6));
    return words;
  };
  const WordDocument editable = Build({page}, LayoutRetention::EditableCopy, false);
  ASSERT_EQ(editable.sections.size(), 1u);
  EXPECT_EQ(firstWords(editable.sections[0]), (std::vector<std::string>{"左上", "左下", "右上", "右下"}));
  EXPECT_TRUE(editable.sections[0].paragraphs[2].columnBreakBefore);
  // The other flowing modes keep the reading order.
  EXPECT_EQ(firstWords(Build({page}, LayoutRetention::FormattedText, false).sections[0]),
            (std::vector<std::string>{"左上", "右上", "左下", "右下"}));
}

TEST(WordLayoutModes, NoMoreColumnBreaksThanColumnsLeftOnThePage) {
  // A column break in the last column would start a page of its own.
  ParagraphSpacing spacing(300, 2, PointScale(300));
  std::vector<PlacedParagraph> placed(3);
  for (int i = 0; i < 3; ++i) {
    placed[i].paragraph.runs = {WordRun{"字", 10.5, kBlackInk}};
    placed[i].box = TextBox{300 + 600 * i, 900 - 200 * i, 800 + 600 * i, 1000 - 200 * i};
    placed[i].firstBaseline = placed[i].lastBaseline = 980 - 200 * i;
    spacing.Place(placed[i], i);
  }
  EXPECT_FALSE(placed[0].paragraph.columnBreakBefore);
  EXPECT_DOUBLE_EQ(placed[0].paragraph.spaceBefore, 144);
  EXPECT_TRUE(placed[1].paragraph.columnBreakBefore);
  EXPECT_DOUBLE_EQ(placed[1].paragraph.spaceBefore, 96);
  EXPECT_FALSE(placed[2].paragraph.columnBreakBefore);
  EXPECT_DOUBLE_EQ(placed[2].paragraph.spaceBefore, 0);
}

// --- Type fitted to its column ----------------------------------------------

TEST(WordLayoutFit, TextWidthsInTheDocumentsFaces) {
  // Chinese an em a character, Latin text by Times New Roman's widths, a
  // quarter em where the script changes.
  EXPECT_DOUBLE_EQ(SetTextWidth(U"扫描文档", 10), 40);
  EXPECT_NEAR(SetTextWidth(U"Word", 10), (0.944 + 0.5 + 0.333 + 0.5) * 10, 1e-9);
  EXPECT_NEAR(SetTextWidth(U"a b", 10), (0.444 + 0.25 + 0.5) * 10, 1e-9);
  EXPECT_NEAR(SetTextWidth(U"扫描Word文档", 10), 40 + 22.77 + 2 * 2.5, 1e-9);
  EXPECT_NEAR(SetTextWidth(U"扫描，2024。", 10), 40 + 20 + 2 * 2.5, 1e-9);
  // Marks of unknown width count an em.
  EXPECT_DOUBLE_EQ(SetTextWidth(U"\u2014\u201C", 10), 20);
}

PlacedParagraph PlacedLines(const std::vector<std::string>& lines, double fontSize, double indent = 0) {
  PlacedParagraph placed;
  for (const std::string& line : lines) {
    placed.lines.push_back({WordRun{line, fontSize, kBlackInk}});
    placed.paragraph.runs.push_back(WordRun{line, fontSize, kBlackInk});
  }
  placed.paragraph.firstLineIndent = indent;
  return placed;
}

TEST(WordLayoutFit, TypeShrinksByHalfPointsUntilEveryLineFitsItsRoom) {
  const std::string full = "一二三四五六七八九十一二三四五六七八九十一";  // 21 characters
  // 21 characters of 10.5 pt fill 220.5 pt: they fit 221 pt with the half
  // point a line leaves at its end; estimated at 11 pt they shrink.
  PlacedParagraph fits = PlacedLines({full, full}, 10.5);
  FitTypeToWidth(fits, 221, 10.5);
  EXPECT_DOUBLE_EQ(fits.paragraph.runs[0].fontSize, 10.5);
  PlacedParagraph large = PlacedLines({full, full, "短行"}, 11);
  FitTypeToWidth(large, 221, 10.5);
  for (const WordRun& run : large.paragraph.runs) EXPECT_DOUBLE_EQ(run.fontSize, 10.5);

  // The first line's room is less its indent, the others' less a hanging
  // indent: 19 characters after a 21 pt indent fit, 20 do not.
  const std::string indented19 = full.substr(0, 19 * 3);
  const std::string indented20 = full.substr(0, 20 * 3);
  PlacedParagraph indent = PlacedLines({indented19, full}, 10.5, 21);
  FitTypeToWidth(indent, 221.5, 10.5);
  EXPECT_DOUBLE_EQ(indent.paragraph.runs[0].fontSize, 10.5);
  indent = PlacedLines({indented20, full}, 10.5, 21);
  FitTypeToWidth(indent, 221.5, 10.5);
  EXPECT_DOUBLE_EQ(indent.paragraph.runs[0].fontSize, 10);
  PlacedParagraph hanging = PlacedLines({full, indented20}, 10.5, -21);
  FitTypeToWidth(hanging, 221.5, 10.5);
  EXPECT_DOUBLE_EQ(hanging.paragraph.runs[0].fontSize, 10);

  // Runs in the document's default size get a size of their own.
  PlacedParagraph unsized = PlacedLines({full}, 0);
  FitTypeToWidth(unsized, 110.5, 10.5);
  EXPECT_DOUBLE_EQ(unsized.paragraph.runs[0].fontSize, 5);
}

TEST(WordLayoutFit, EditableCopyFitsTheTypeOfAColumnItsRecogniserTookTooLarge) {
  // Lines of 10.5 pt type estimated at 12 pt: the left column is 12
  // characters (528 px, 126.72 pt) wide.
  PageLayout page = HeadingOverTwoColumns();
  for (LayoutParagraph& paragraph : page.blocks[1].paragraphs) {
    for (LayoutLine& line : paragraph.lines) line.fontSize = 12;
  }
  const WordDocument editable = Build({page}, LayoutRetention::EditableCopy, false);
  ASSERT_EQ(editable.sections.size(), 2u);
  EXPECT_DOUBLE_EQ(editable.sections[1].paragraphs[0].runs[0].fontSize, 10.5);
  // The other modes keep the estimate.
  EXPECT_DOUBLE_EQ(Build({page}, LayoutRetention::FormattedText, false).sections[0].paragraphs[1].runs[0].fontSize,
                   12);
}

// --- Pages ----------------------------------------------------------------

TEST(WordLayoutPages, OneSectionPerPageSizedFromTheImageWithMarginsFromTheText) {
  PageLayout unknownDpi = A4Page({ColumnBlock(300, 600, 3, "正文")});
  unknownDpi.dpi = 0;
  PageLayout edgeToEdge = A4Page({ColumnBlock(0, 0, 1, "正文"), ColumnBlock(10, 3460, 1, "正文")});
  edgeToEdge.dpi = 200;
  const PageLayout tinyText = A4Page({ColumnBlock(1200, 1700, 1, "中")});
  const PageLayout empty = A4Page({});
  const WordDocument document =
      Build({unknownDpi, edgeToEdge, tinyText, empty}, LayoutRetention::EditableCopy, false);
  ASSERT_EQ(document.sections.size(), 4u);

  const WordSection& first = document.sections[0];
  EXPECT_NEAR(first.pageWidth, 595.2, 0.01);
  EXPECT_NEAR(first.pageHeight, 841.92, 0.01);
  EXPECT_DOUBLE_EQ(first.marginLeft, 72);
  EXPECT_DOUBLE_EQ(first.marginTop, 144);
  EXPECT_NEAR(first.marginRight, 595.2 / 4, 0.01);  // a quarter of the page at most

  const WordSection& second = document.sections[1];
  EXPECT_NEAR(second.pageWidth, 2480 * 0.36, 0.01);
  EXPECT_DOUBLE_EQ(second.marginLeft, 18);
  EXPECT_DOUBLE_EQ(second.marginTop, 18);
  EXPECT_DOUBLE_EQ(second.marginBottom, 18);

  const WordSection& third = document.sections[2];
  EXPECT_NEAR(third.marginLeft, 595.2 / 4, 0.01);
  EXPECT_NEAR(third.marginRight, 595.2 / 4, 0.01);
  // A quarter of the page, less the room a line of 10.5 pt type takes at
  // single spacing: the leading a word processor sets below the last line.
  EXPECT_NEAR(third.marginBottom, 841.92 / 4 - 12.6, 0.01);
  // The other flowing modes keep the margin as measured.
  EXPECT_NEAR(Build({tinyText}, LayoutRetention::FormattedText, false).sections[0].marginBottom, 841.92 / 4,
              0.01);

  const WordSection& blank = document.sections[3];
  EXPECT_TRUE(blank.paragraphs.empty());
  EXPECT_DOUBLE_EQ(blank.marginLeft, 72);
  ASSERT_FALSE(document.sections[0].paragraphs.empty());
  EXPECT_EQ(TextOf(document.sections[0].paragraphs[0]), "正文正文正文");
}

// --- Reading order ----------------------------------------------------------

TEST(WordLayoutOrder, HeadingsComeBeforeTheColumnsTheySpanAndColumnsReadDownFirst) {
  // The recogniser listed the left column before the heading over both.
  LayoutBlock heading = ColumnBlock(700, 100, 1, "标题标题标题标题标题标题标题标题标题标题标题标题标题标题标题标题标题标题标题标题标题标题标题标题标题标题标题标题标题标题");
  LayoutBlock left = ColumnBlock(300, 400, 10, "左栏正文内容左栏正文内容");
  LayoutBlock right = ColumnBlock(1300, 400, 10, "右栏正文内容右栏正文内容");
  EXPECT_EQ(ReadingOrder({left, heading, right}), (std::vector<std::size_t>{1, 0, 2}));
  // So does a short heading centred over the gutter.
  LayoutBlock shortHeading = ColumnBlock(900, 100, 1, "目录");
  EXPECT_EQ(ReadingOrder({left, right, shortHeading}), (std::vector<std::size_t>{2, 0, 1}));

  // Paragraph gaps at the same height in both columns: the gutter is wider,
  // so each column is read to its end first.
  const std::vector<LayoutBlock> columns{ColumnBlock(300, 400, 3, "左上"), ColumnBlock(1300, 400, 3, "右上"),
                                         ColumnBlock(300, 660, 3, "左下"), ColumnBlock(1300, 660, 3, "右下")};
  EXPECT_EQ(ReadingOrder(columns), (std::vector<std::size_t>{0, 2, 1, 3}));

  // Blocks nothing separates keep the recogniser's order; pictures follow.
  LayoutBlock picture;
  picture.kind = BlockKind::Image;
  picture.box = TextBox{0, 0, 2480, 3508};
  LayoutBlock wide = ColumnBlock(300, 400, 4, "重叠重叠重叠重叠");
  LayoutBlock inside = ColumnBlock(350, 420, 1, "内");
  EXPECT_EQ(ReadingOrder({picture, inside, wide}), (std::vector<std::size_t>{1, 2, 0}));
}

// --- Through the recognition engine ----------------------------------------

std::string Join(const std::vector<std::string>& lines) {
  std::string joined;
  for (const std::string& line : lines) joined += line;
  return joined;
}

bool Reddish(Rgb colour) { return colour.red >= 150 && colour.green <= 80 && colour.blue <= 80; }

TEST(WordLayoutEngine, RecognisedTwoColumnPageKeepsItsColumnsAndItsRedHeading) {
  ocrtest::LayoutPageSpec spec;
  spec.height = 1500;
  spec.blocks.push_back({700, 120, 88, 1.5, Rgb{200, 0, 0}, {"扫描文档批量转换"}});
  const std::vector<std::string> left{"左栏第一行文字内容", "左栏第二行文字内容", "左栏第三行文字内容",
                                      "左栏第四行文字内容", "左栏第五行文字内容", "左栏第六行文字内容"};
  const std::vector<std::string> right{"右栏第一行文字内容", "右栏第二行文字内容", "右栏第三行文字内容",
                                       "右栏第四行文字内容", "右栏第五行文字内容", "右栏第六行文字内容"};
  spec.blocks.push_back({150, 450, 60, 1.8, kBlackInk, left});
  spec.blocks.push_back({1400, 450, 60, 1.8, kBlackInk, right});
  test::TempDir directory;
  const std::string path = directory.File("columns.png");
  ASSERT_EQ(pixWrite(path.c_str(), ocrtest::RenderLayoutPage(spec).get(), IFF_PNG), 0);

  OcrEngineOptions engineOptions;
  engineOptions.workers = 1;
  OcrEngine engine = OcrEngine::Load(engineOptions);
  OcrDocument document = engine.CreateDocument();
  document.AddImageFile(path);
  RecognisedPage page = document.NextPage();
  SampleLayoutColours(page.image, page.layout);
  const WordDocument word = Build({page.layout}, LayoutRetention::EditableCopy, true);
  // The heading across the page in a band of its own, the columns below.
  ASSERT_EQ(word.sections.size(), 2u);
  const WordSection& top = word.sections[0];
  EXPECT_EQ(top.columns, 1);
  ASSERT_EQ(top.paragraphs.size(), 1u);
  const WordParagraph& heading = top.paragraphs.front();
  EXPECT_NE(TextOf(heading).find("批量转换"), std::string::npos) << TextOf(heading);
  ASSERT_FALSE(heading.runs.empty());
  EXPECT_TRUE(Reddish(heading.runs[0].color));
  EXPECT_GT(heading.runs[0].fontSize, 16);

  const WordSection& section = word.sections[1];
  EXPECT_TRUE(section.continuesPage);
  EXPECT_EQ(section.columns, 2);
  EXPECT_GT(section.columnGap, 36);
  ASSERT_GE(section.paragraphs.size(), 2u);
  // The body in reading order, left column first, all in black.
  std::string body;
  for (const WordParagraph& paragraph : section.paragraphs) {
    body += TextOf(paragraph);
    for (const WordRun& run : paragraph.runs) EXPECT_EQ(run.color, kBlackInk) << run.text;
  }
  const std::string expected = Join(left) + Join(right);
  EXPECT_EQ(body, expected);
}

}  // namespace
}  // namespace zelk
