// The [2PDF] export keys as the PDF writer applies them: page sizes read
// back with pdfinfo, image encodings and resolutions with pdfimages, and
// the text layer moved along with a resampled image (pdftotext -bbox).

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "imaging/PdfTest_helpers.h"
#include "imaging/Toolkit_helpers.h"
#include "jobs/DualLayerPdfExport.h"

namespace zelk {
namespace {

using pdftest::ListedImage;
using pdftest::PdfPageSize;

// A 200 dpi page of 400 x 600 pixels (2 x 3 inches) with one word on it.
RecognisedPage WordPage(PixPtr pix, int dpi = 200) {
  RecognisedPage page;
  page.image = toolkittest::PageOf(std::move(pix), dpi);
  TextLine line;
  line.box = {100, 100, 300, 140};
  line.baseline = 136;
  line.words.push_back({"Archive", {100, 100, 300, 140}, false});
  page.text.lines.push_back(line);
  return page;
}

Settings::TwoPdfSection Keys(int paper, int quality, int resolution, int textMode = 1) {
  Settings::TwoPdfSection keys;
  keys.PaperSize = static_cast<int16_t>(paper);
  keys.ImageQuality = static_cast<int16_t>(quality);
  keys.ImageResolution = static_cast<int16_t>(resolution);
  keys.TextOutputMode = static_cast<int16_t>(textMode);
  return keys;
}

std::string WriteOnePage(const pdftest::ScratchDir& dir, const std::string& name,
                         RecognisedPage page, const Settings::TwoPdfSection& keys) {
  const std::string path = dir / name;
  PdfDocumentWriter writer(path);
  AddRecognisedPage(writer, page, DualLayerPdfExportOf(keys));
  writer.Finish();
  EXPECT_TRUE(pdftest::QpdfCheckClean(path)) << name;
  return path;
}

TEST(DualLayerPdfExport, KeysMapToLayeringPaperQualityAndResolution) {
  EXPECT_EQ(DualLayerPdfExportOf(Keys(0, 0, 0, 0)).textOrder, TextLayerOrder::TextUnderImage);
  EXPECT_EQ(DualLayerPdfExportOf(Keys(0, 0, 0, 5)).textOrder, TextLayerOrder::TextOverImage);
  EXPECT_EQ(DualLayerPdfExportOf(Keys(7, 0, 0)).paper, PdfPaperChoice::Automatic);
  EXPECT_EQ(DualLayerPdfExportOf(Keys(3, 0, 0)).paper, PdfPaperChoice::A3);
  EXPECT_EQ(DualLayerPdfExportOf(Keys(0, 9, 0)).quality, PdfImageQuality::Balanced);
  EXPECT_FALSE(DualLayerPdfExportOf(Keys(0, 0, 0)).resolution);
  EXPECT_FALSE(DualLayerPdfExportOf(Keys(0, 0, 8)).resolution);
  EXPECT_EQ(DualLayerPdfExportOf(Keys(0, 0, 1)).resolution, 96);
  EXPECT_EQ(DualLayerPdfExportOf(Keys(0, 0, 7)).resolution, 600);
}

TEST(DualLayerPdfExport, PageSizeOfEachPaperSetting) {
  pdftest::ScratchDir dir;
  // 1654 x 2339 pixels at 200 dpi lie within 3 % of A4 (8.27 x 11.69 in).
  const auto a4ish = [] { return WordPage(toolkittest::GreyPix(1640, 2330), 200); };
  const auto sizeOf = [&](int paper) {
    const std::vector<PdfPageSize> sizes = pdftest::PageSizes(
        WriteOnePage(dir, "p" + std::to_string(paper) + ".pdf", a4ish(), Keys(paper, 1, 0)));
    EXPECT_EQ(sizes.size(), 1u);
    return sizes.empty() ? PdfPageSize{} : sizes[0];
  };
  const PdfPageSize automatic = sizeOf(0), own = sizeOf(1), a4 = sizeOf(2), a3 = sizeOf(3);
  EXPECT_NEAR(automatic.width, 595.3, 0.6);  // snapped to the standard paper
  EXPECT_NEAR(automatic.height, 841.9, 0.6);
  EXPECT_NEAR(own.width, 1640 * 72.0 / 200, 0.6);  // the image's own size
  EXPECT_NEAR(own.height, 2330 * 72.0 / 200, 0.6);
  EXPECT_NEAR(a4.width, 11909 / 20.0, 0.6);
  EXPECT_NEAR(a4.height, 16834 / 20.0, 0.6);
  EXPECT_NEAR(a3.width, 16838 / 20.0, 0.6);
  EXPECT_NEAR(a3.height, 23811 / 20.0, 0.6);
}

TEST(DualLayerPdfExport, APageScannedSidewaysFillsItsPaperTurnedUpright) {
  pdftest::ScratchDir dir;
  // An A4 page lying on its side, read upright after a quarter turn.
  RecognisedPage page = WordPage(toolkittest::GreyPix(2330, 1640), 200);
  page.text.frame.quarterTurns = 1;
  const std::string pdf = WriteOnePage(dir, "sideways.pdf", std::move(page), Keys(2, 1, 0));
  const std::vector<PdfPageSize> sizes = pdftest::PageSizes(pdf);
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_NEAR(sizes[0].width, 16834 / 20.0, 0.6) << "the paper lies under the image";
  EXPECT_NEAR(sizes[0].height, 11909 / 20.0, 0.6);
  const std::vector<ListedImage> images = pdftest::ListImages(pdf);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_NEAR(images[0].xPpi, 200, 5) << "not shrunk onto a paper across it";
}

TEST(DualLayerPdfExport, QualityChoosesFilterAndSmallestLimitsColourResolution) {
  pdftest::ScratchDir dir;
  const auto imagesOf = [&](PixPtr pix, int quality, int dpi) {
    return pdftest::ListImages(WriteOnePage(dir, "q" + std::to_string(quality) + "-" +
                                                     std::to_string(pixGetDepth(pix.get())) + ".pdf",
                                            WordPage(std::move(pix), dpi), Keys(1, quality, 0)));
  };
  for (int quality = 0; quality <= 3; ++quality) {
    const std::vector<ListedImage> bitonal = imagesOf(toolkittest::BitonalPix(400, 600), quality, 300);
    ASSERT_EQ(bitonal.size(), 1u);
    EXPECT_EQ(bitonal[0].enc, "ccitt") << quality;
    EXPECT_EQ(bitonal[0].width, 400);
    const std::vector<ListedImage> colour = imagesOf(toolkittest::RgbPix(600, 900), quality, 300);
    ASSERT_EQ(colour.size(), 1u);
    EXPECT_EQ(colour[0].enc, "jpeg") << quality;
    EXPECT_EQ(colour[0].color, "rgb");
    // The smallest setting keeps colour at 150 dpi at most; the page keeps its size.
    EXPECT_EQ(colour[0].width, quality == 2 ? 300 : 600) << quality;
    EXPECT_NEAR(colour[0].xPpi, quality == 2 ? 150 : 300, 1) << quality;
  }
}

TEST(DualLayerPdfExport, ResampledImageKeepsPageSizeAndTextFollows) {
  pdftest::ScratchDir dir;
  const std::string pdf =
      WriteOnePage(dir, "r.pdf", WordPage(toolkittest::GreyPix(400, 600), 200), Keys(1, 0, 1));
  const std::vector<ListedImage> images = pdftest::ListImages(pdf);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].width, 192);  // 400 px at 200 dpi resampled to 96 dpi
  EXPECT_NEAR(images[0].xPpi, 96, 1);
  const std::vector<PdfPageSize> sizes = pdftest::PageSizes(pdf);
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_NEAR(sizes[0].width, 144, 1);  // still 2 inches wide
  // The word's box was 100..300 px at 200 dpi: 36..108 pt on the page.
  const pdftest::CommandResult box =
      pdftest::RunCommand("pdftotext -bbox " + pdftest::Quote(pdf) + " -");
  ASSERT_EQ(box.exitCode, 0);
  const std::size_t at = box.out.find("xMin=\"");
  ASSERT_NE(at, std::string::npos) << box.out;
  EXPECT_NEAR(std::stod(box.out.substr(at + 6)), 36, 2) << box.out;
  EXPECT_NE(box.out.find(">Archive<"), std::string::npos);
}

}  // namespace
}  // namespace zelk
