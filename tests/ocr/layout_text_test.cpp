#include "ocr/LayoutText.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "ocr/OcrError.h"
#include "support/TempDir.h"

namespace zelk {
namespace {

LayoutLine Line(std::vector<std::pair<std::string, bool>> words, int top) {
  LayoutLine line;
  line.box = {10, top, 500, top + 40};
  line.baseline = top + 32;
  int left = 10;
  for (auto& [text, spaceAfter] : words) {
    line.words.push_back(LayoutWord{text, {left, top, left + 50, top + 40}, 90, spaceAfter});
    left += 60;
  }
  return line;
}

LayoutParagraph Paragraph(std::vector<LayoutLine> lines) {
  LayoutParagraph paragraph;
  paragraph.lines = std::move(lines);
  return paragraph;
}

PageLayout TwoParagraphPage() {
  PageLayout page;
  LayoutBlock& block = page.blocks.emplace_back();
  block.paragraphs.push_back(Paragraph({Line({{"扫描", false}, {"文档", false}}, 0),
                                        Line({{"quick", true}, {"fox", false}}, 50)}));
  page.blocks.push_back(LayoutBlock{BlockKind::Image, {0, 100, 200, 300}, {}});
  LayoutBlock& second = page.blocks.emplace_back();
  second.paragraphs.push_back(Paragraph({Line({{"完", false}}, 400)}));
  return page;
}

TEST(LayoutText, TextLayerKeepsLinesInReadingOrderWithTheirWordsAndBlanks) {
  const PageText text = TextLayerOf(TwoParagraphPage());
  ASSERT_EQ(text.lines.size(), 3u);
  EXPECT_EQ(text.lines[0].words[1].text, "文档");
  EXPECT_FALSE(text.lines[0].words[0].spaceAfter);
  EXPECT_TRUE(text.lines[1].words[0].spaceAfter);
  EXPECT_EQ(text.lines[1].baseline, 82);
  EXPECT_EQ(text.lines[1].words[1].box.left, 70);
  EXPECT_EQ(text.lines[2].words[0].text, "完");
}

TEST(LayoutText, PlainTextEndsLinesWithCrLfAndSeparatesParagraphsAndPages) {
  const std::vector<PageLayout> pages{TwoParagraphPage(), PageLayout{}, TwoParagraphPage()};
  const std::string page = "扫描文档\r\nquick fox\r\n\r\n完\r\n";
  EXPECT_EQ(PlainText(pages), page + "\f\f" + page);
  EXPECT_EQ(PlainText({}), "");
}

TEST(LayoutText, PlainTextFileHoldsThePlainTextAndAnUnwritablePathRaises) {
  test::TempDir directory;
  WritePlainTextFile({TwoParagraphPage()}, directory.File("doc.txt"));
  EXPECT_EQ(test::ReadBytes(directory.File("doc.txt")), PlainText({TwoParagraphPage()}));

  const std::string unwritable = directory.File("missing/doc.txt");
  EXPECT_THROW(WritePlainTextFile({TwoParagraphPage()}, unwritable), ExportError);
  EXPECT_FALSE(std::filesystem::exists(unwritable));
}

}  // namespace
}  // namespace zelk
