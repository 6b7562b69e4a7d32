// Recognition with Tesseract on pages rendered here with known Chinese and
// English lines.
#include <gtest/gtest.h>

#include <algorithm>

#include "ocr/LayoutText.h"
#include "ocr/OcrEngine.h"
#include "ocr/OcrError.h"
#include "support/TempDir.h"
#include "KnownTextLines.h"
#include "TextPageRenderer.h"

namespace zelk {
namespace {

OcrEngine LoadEngine(int workers) {
  OcrEngineOptions options;
  options.workers = workers;
  return OcrEngine::Load(options);
}

void WritePng(const PixPtr& page, const std::string& path) {
  ASSERT_EQ(pixWrite(path.c_str(), page.get(), IFF_PNG), 0);
}

using ocrtest::LineTexts;

bool Contains(const TextBox& outer, const TextBox& inner, int slack) {
  return inner.left >= outer.left - slack && inner.right <= outer.right + slack &&
         inner.top >= outer.top - slack && inner.bottom <= outer.bottom + slack;
}

TEST(Recognition, MixedPageGivesLinesInOrderWithBlanksOnlyBetweenLatinWords) {
  test::TempDir directory;
  ocrtest::TextPageSpec spec;
  spec.height = 620;
  spec.lines = {"扫描文档批量转换系统", "The quick brown fox jumps over the lazy dog",
                "请先选择源目录和目标目录", "混合 Tesseract 识别引擎"};
  WritePng(ocrtest::RenderTextPage(spec), directory.File("mixed.png"));

  OcrEngine engine = LoadEngine(1);
  OcrDocument document = engine.CreateDocument();
  document.AddImageFile(directory.File("mixed.png"));
  const RecognisedPage page = document.NextPage();
  EXPECT_FALSE(document.HasNextPage());

  EXPECT_EQ(LineTexts(page.text),
            (std::vector<std::string>{"扫描文档批量转换系统", "The quick brown fox jumps over the lazy dog",
                                      "请先选择源目录和目标目录", "混合 Tesseract 识别引擎"}));
  EXPECT_EQ(pixGetWidth(page.image.pix.get()), spec.width);
  EXPECT_EQ(page.image.yDpi, 300);

  // Lines sit where they were drawn; words inside their line; sizes near
  // the 10.5 points drawn.
  const int lineAdvance = static_cast<int>(spec.pixelSize * spec.lineSpacing);
  int line = 0;
  for (const LayoutBlock& block : page.layout.blocks) {
    for (const LayoutParagraph& paragraph : block.paragraphs) {
      for (const LayoutLine& layoutLine : paragraph.lines) {
        const int drawnBaseline = spec.margin + spec.pixelSize + line * lineAdvance;
        EXPECT_NEAR(layoutLine.baseline, drawnBaseline, 6) << "line " << line;
        EXPECT_GE(layoutLine.baseline, layoutLine.box.top);
        EXPECT_LE(layoutLine.baseline, layoutLine.box.bottom);
        EXPECT_NEAR(layoutLine.fontSize, 10.5, 1.2) << "line " << line;
        for (const LayoutWord& word : layoutLine.words) {
          EXPECT_TRUE(Contains(layoutLine.box, word.box, 2)) << word.text;
          EXPECT_GT(word.confidence, 50) << word.text;
        }
        ++line;
      }
    }
  }
  EXPECT_EQ(line, 4);
  EXPECT_EQ(page.layout.dpi, 300);
  EXPECT_EQ(page.layout.width, spec.width);
}

TEST(Recognition, EveryPageOfAMultipageTiffInOrderAndTheirPlainText) {
  test::TempDir directory;
  const std::vector<std::vector<std::string>> pageLines{
      {"第一页 first page", "北京"}, {"第二页 second page", "上海"}, {"第三页 third page", "广州"}};
  std::vector<PixPtr> pages;
  for (const auto& lines : pageLines) {
    ocrtest::TextPageSpec spec;
    spec.height = 360;
    spec.lines = lines;
    pages.push_back(ocrtest::Binarize(ocrtest::RenderTextPage(spec)));
  }
  ocrtest::WriteMultipageTiff(directory.File("three.tif"), pages);

  OcrEngine engine = LoadEngine(2);
  OcrDocument document = engine.CreateDocument();
  document.AddImageFile(directory.File("three.tif"));
  ASSERT_EQ(document.PageCount(), 3);
  document.BeginProcess();
  for (const auto& lines : pageLines) {
    const RecognisedPage page = document.NextPage();
    EXPECT_EQ(pixGetDepth(page.image.pix.get()), 1);
    EXPECT_EQ(LineTexts(page.text), lines);
  }
  document.WritePlainText(directory.File("three.txt"));
  EXPECT_EQ(test::ReadBytes(directory.File("three.txt")),
            "第一页 first page\r\n北京\r\n\f第二页 second page\r\n上海\r\n\f"
            "第三页 third page\r\n广州\r\n");
}

TEST(Recognition, UnreadableFilesFailTheirDocumentOnlyAndBlankPagesHaveNoText) {
  test::TempDir directory;
  test::WriteBytes(directory.Path() / "corrupt.tif", "II*\0garbage that is no TIFF");
  ocrtest::TextPageSpec blank;
  blank.height = 300;
  WritePng(ocrtest::RenderTextPage(blank), directory.File("blank.png"));

  OcrEngine engine = LoadEngine(1);
  OcrDocument missing = engine.CreateDocument();
  EXPECT_THROW(missing.AddImageFile(directory.File("absent.tif")), ImageError);
  OcrDocument corrupt = engine.CreateDocument();
  EXPECT_THROW(corrupt.AddImageFile(directory.File("corrupt.tif")), ImageError);

  OcrDocument good = engine.CreateDocument();
  good.AddImageFile(directory.File("blank.png"));
  good.Process();
  ASSERT_EQ(good.Layouts().size(), 1u);
  EXPECT_TRUE(TextLayerOf(good.Layouts()[0]).lines.empty());
  good.WritePlainText(directory.File("blank.txt"));
  EXPECT_EQ(test::ReadBytes(directory.File("blank.txt")), "");
}

}  // namespace
}  // namespace zelk
