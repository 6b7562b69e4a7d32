// Tables and pictures taken out of a page before recognition and put back
// as blocks of their own, on pages rendered here.
#include <gtest/gtest.h>
#include <leptonica/allheaders.h>

#include <string>
#include <vector>

#include "ocr/OcrEngine.h"
#include "ocr/PageRegions.h"
#include "ocr/RecognitionImage.h"
#include "ScanCasePages.h"
#include "support/TempDir.h"
#include "KnownTextLines.h"
#include "TextPageRenderer.h"

namespace zelk {
namespace {

constexpr int kSize = 44;
constexpr int kLeft = 200;
constexpr int kTableTop = 300;
constexpr int kRowHeight = 110;
constexpr int kColumns[] = {0, 240, 840, 1300};

// Text above and below a 3 x 3 ruled table whose first cell of row 1 is
// joined down over row 2.
ocrtest::LayoutPageSpec TablePage() {
  ocrtest::LayoutPageSpec spec;
  spec.width = 1800;
  spec.height = 1400;
  spec.blocks.push_back({kLeft, 150, kSize, 1.8, kBlackInk, {"本年度档案工作按照计划稳步推进。"}});
  struct Cell {
    int row, column, rowSpan;
    const char* text;
  };
  const Cell cells[] = {{0, 0, 1, "编号"}, {0, 1, 1, "名称"}, {0, 2, 1, "金额"}, {1, 0, 2, "1"},
                        {1, 1, 1, "复印机维护"}, {1, 2, 1, "20,612.69"}, {2, 1, 1, "档案数字化"}, {2, 2, 1, "8,450.00"}};
  for (const Cell& cell : cells) {
    const int left = kLeft + kColumns[cell.column], right = kLeft + kColumns[cell.column + 1];
    const int top = kTableTop + cell.row * kRowHeight, bottom = top + cell.rowSpan * kRowHeight;
    spec.blocks.push_back({left + 20, (top + bottom - kSize) / 2, kSize, 1.8, kBlackInk, {cell.text}});
    ocrtest::AddFrame(spec, left, top, right, bottom);
  }
  spec.blocks.push_back({kLeft, 720, kSize, 1.8, kBlackInk, {"以上数据由办公室统计。"}});
  return spec;
}

void PaintPhoto(Pix* pix, const TextBox& box) {
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = box.left; x < box.right; ++x) {
      const int tone = 60 + (x * 7 + y * 13) % 110;
      pixSetRGBPixel(pix, x, y, tone, tone + 20, 255 - tone);
    }
  }
}

TEST(PageRegions, TheTableIsATableAndThePhotographAPictureAndTheirPaintingIsPaper) {
  PixPtr page = ocrtest::RenderLayoutPage(TablePage());
  const TextBox photo{kLeft, 900, kLeft + 700, 1300};
  PaintPhoto(page.get(), photo);
  const RecognitionImage grey = PrepareForRecognition(page.get(), 0);
  const PixPtr bitonal = ocrtest::Binarize(grey.pix);
  // A bitonal scan prints the photograph as a screen of dots.
  const PixPtr screened = ocrtest::Binarize(grey.pix);
  {
    PixPtr photoGrey(pixConvertRGBToLuminance(page.get()));
    PixPtr dots(pixDitherToBinary(photoGrey.get()));
    pixRasterop(screened.get(), photo.left, photo.top, photo.right - photo.left, photo.bottom - photo.top, PIX_SRC,
                dots.get(), photo.left, photo.top);
  }
  struct Case {
    const char* name;
    const Pix* image;
    bool picture;  // the photograph is one (a thresholded one is blots, no picture)
  };
  for (const Case& each : {Case{"grey", grey.pix.get(), true}, Case{"bitonal", bitonal.get(), false},
                           Case{"screened", screened.get(), true}}) {
    SCOPED_TRACE(each.name);
    const PageRegions regions = FindPageRegions(each.image, 300);
    ASSERT_EQ(regions.tables.size(), 1u);
    const TextBox table = regions.tables[0].Box();
    EXPECT_NEAR(table.left, kLeft, 4);
    EXPECT_NEAR(table.bottom, kTableTop + 3 * kRowHeight, 4);
    if (each.picture) {
      ASSERT_EQ(regions.pictures.size(), 1u);
      EXPECT_NEAR(regions.pictures[0].top, photo.top, 24);
      EXPECT_NEAR(regions.pictures[0].right, photo.right, 24);
    }
    // The regions are painted over in the paper's own value: white boxes
    // on a grey page's paper would turn the whole paper dark for
    // Tesseract's threshold.
    const PixPtr painted = WithoutRegions(each.image, regions);
    ASSERT_TRUE(painted);
    l_uint32 paper = 0, inTable = 0, inPhoto = 0;
    pixGetPixel(painted.get(), 100, 100, &paper);
    pixGetPixel(painted.get(), kLeft + 60, kTableTop + 5, &inTable);  // on a rule
    EXPECT_EQ(inTable, paper);
    if (each.picture) {
      pixGetPixel(painted.get(), photo.left + 300, photo.top + 200, &inPhoto);
      EXPECT_EQ(inPhoto, paper);
    }
  }
}

TEST(PageRegions, PagesOfTextOnlyHaveNoRegions) {
  using namespace ocrtest;
  std::vector<ScanCasePage> pages;
  pages.push_back(PlainScanPage(FullWidthLines(30, 3)));
  // Pale boxes the flattening leaves lighter or darker than the paper.
  for (int variant = 0; variant < 5; ++variant) pages.push_back(TintedBoxesPage(FullWidthLines(30, 5), variant));
  pages.push_back(TwoColumnPage(ShortLines(60, 7)));
  // A scan saved as a coarse JPEG: blocks of noise around every stroke.
  test::TempDir directory;
  const std::string jpeg = directory.File("coarse.jpg");
  WriteJpegScan(pages.front(), jpeg, 30);
  pages.push_back(ScanCasePage{"JPEG quality 30", PixPtr(pixRead(jpeg.c_str())), {}});
  for (const ScanCasePage& page : pages) {
    SCOPED_TRACE(page.name);
    const RecognitionImage prepared = PrepareForRecognition(page.image.get(), 0);
    for (const PixPtr& image : {PixPtr(pixClone(prepared.pix.get())), ocrtest::Binarize(prepared.pix)}) {
      const PageRegions regions = FindPageRegions(image.get(), 300);
      EXPECT_TRUE(regions.Empty()) << pixGetDepth(image.get()) << "-bit: " << regions.tables.size() << " tables, "
                                   << regions.pictures.size() << " pictures";
      EXPECT_FALSE(WithoutRegions(image.get(), regions));
    }
  }
}

TEST(PageRegions, TheTextAroundATableReadsAndTheTextLayerGivesItsCellsRowByRow) {
  test::TempDir directory;
  const std::string file = directory.File("table.png");
  PixPtr page = ocrtest::RenderLayoutPage(TablePage());
  ASSERT_EQ(pixWrite(file.c_str(), page.get(), IFF_PNG), 0);
  OcrEngineOptions options;
  options.workers = 1;
  OcrEngine engine = OcrEngine::Load(options);
  OcrDocument document = engine.CreateDocument();
  document.AddImageFile(file);
  const RecognisedPage read = document.NextPage();

  // The joined cell's "1" stands in the row where it starts.
  EXPECT_EQ(ocrtest::LineTexts(read.text), (std::vector<std::string>{"本年度档案工作按照计划稳步推进。", "编号 名称 金额",
                                             "1 复印机维护 20,612.69", "档案数字化 8,450.00",
                                             "以上数据由办公室统计。"}));
  const LayoutBlock* table = nullptr;
  for (const LayoutBlock& block : read.layout.blocks) {
    if (block.kind == BlockKind::Table && !block.table.Empty()) table = &block;
  }
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->table.Rows(), 3);
  EXPECT_EQ(table->table.Columns(), 3);
  ASSERT_EQ(table->table.cells.size(), 8u);
  EXPECT_EQ(table->table.cells[3].rowSpan, 2);
}

}  // namespace
}  // namespace zelk
