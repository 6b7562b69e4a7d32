// The two dual-layer PDF jobs on real trees with pages rendered here from
// known Chinese and English text, recognised by the real engine; outputs
// read with poppler's pdftotext, pdffonts, pdfimages and with libtiff.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "imaging/PdfTest_helpers.h"
#include "jobs/ConvertFiles22PdfJob.h"
#include "jobs/MergeFiles22PdfJob.h"
#include "jobs/RecognitionJob_helpers.h"
#include "support/PdfAValidator.h"
#include "TextPageRenderer.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using pdftest::ListedImage;
using test::InOrder;
using test::PdfText;
using test::ReadBytes;
using test::TreeOf;
using test::WriteSourceBytes;
using test::WritePageJpeg;
using test::WritePageTiff;

// Small pages (about A7 at 200 dpi) of two lines each, so a run takes seconds.
PixPtr TextPage(const std::string& chinese, const std::string& english) {
  ocrtest::TextPageSpec spec;
  spec.width = 800;
  spec.height = 300;
  spec.dpi = 200;
  spec.margin = 40;
  spec.pixelSize = 40;
  spec.lines = {chinese, english};
  return ocrtest::RenderTextPage(spec);
}

class DualLayerPdfJobTest : public test::RecognitionJobTest {
 protected:
  void SetUp() override {
    RecognitionJobTest::SetUp();
    test::UsePlainDualLayerPdf(settings_);
  }

  RunResult RunPerFile() {
    ConvertFiles22PdfJob job(engine_);
    return RunJob(job);
  }
  RunResult RunPerDirectory() {
    MergeFiles22PdfJob job(engine_);
    return RunJob(job);
  }
};

TEST_F(DualLayerPdfJobTest, PerFileSearchableInOrderWithOnePagePerImageAndFailuresMoved) {
  // A three-page TIFF (bitonal, grey, grey) and a colour-free JPEG.
  WritePageTiff(In("box/doc.tif"), [] {
    std::vector<PixPtr> pages;
    pages.push_back(ocrtest::Binarize(TextPage("档案管理办法", "First archive page")));
    pages.push_back(TextPage("电子文件归档", "Second scanned page"));
    pages.push_back(TextPage("会议纪要整理", "Third record page"));
    return pages;
  }());
  WritePageJpeg(In("a.b.jpg"), TextPage("人民政府通知", "Public notice"));
  WriteSourceBytes(In("box/broken.tif"), "II*\0 not a tiff at all");

  const RunResult result = RunPerFile();
  EXPECT_EQ(result.End, RunEnd::Finished);
  EXPECT_EQ(result.Successes, 2u);
  EXPECT_EQ(result.Failures, 1u);
  // The broken file left the source tree for the mirrored Error tree; no
  // output or temporary file is left for it.
  EXPECT_FALSE(fs::exists(In("box/broken.tif")));
  EXPECT_EQ(TreeOf(out_), (std::vector<std::string>{"Error/", "Error/box/", "Error/box/broken.tif",
                                                    "a.b.pdf", "box/", "box/doc.pdf"}));
  EXPECT_NE(FailureList().find(In("box/") + "\r\n"), std::string::npos) << FailureList();

  const std::string doc = Out("box/doc.pdf");
  EXPECT_TRUE(pdftest::QpdfCheckClean(doc));
  const std::vector<ListedImage> images = pdftest::ListImages(doc);
  ASSERT_EQ(images.size(), 3u);  // one image per page
  EXPECT_EQ(images[0].enc, "ccitt");
  EXPECT_EQ(images[1].enc, "jpeg");
  EXPECT_EQ(images[2].page, 3);
  EXPECT_TRUE(InOrder(PdfText(doc), {"档案管理办法", "First", "archive", "page", "电子文件归档",
                                     "Second", "scanned", "会议纪要整理", "Third"}))
      << PdfText(doc);
  // A Chinese word is found on its own page only.
  EXPECT_NE(PdfText(doc, 2).find("归档"), std::string::npos);
  EXPECT_EQ(PdfText(doc, 1).find("归档"), std::string::npos);
  EXPECT_EQ(PdfText(doc, 3).find("归档"), std::string::npos);
  EXPECT_TRUE(InOrder(PdfText(Out("a.b.pdf")), {"人民政府通知", "Public", "notice"}));

  const pdftest::CommandResult fonts = pdftest::RunCommand("pdffonts " + pdftest::Quote(doc));
  ASSERT_EQ(fonts.exitCode, 0);
  // The text layer's font.
  EXPECT_NE(fonts.out.find("ZelkTextLayer"), std::string::npos) << fonts.out;
  EXPECT_NE(fonts.out.find("CID TrueType"), std::string::npos) << fonts.out;
  test::ExpectPdfA({doc, Out("a.b.pdf")});
}

TEST_F(DualLayerPdfJobTest, PerFileTextUnderImageStaysSearchable) {
  settings_.TwoPDF.TextOutputMode = 0;
  settings_.TwoPDF.PaperSize = 2;
  WritePageJpeg(In("n.jpg"), TextPage("税务登记证明", "Tax office"));
  ASSERT_EQ(RunPerFile().Successes, 1u);
  EXPECT_TRUE(InOrder(PdfText(Out("n.pdf")), {"税务登记证明", "Tax", "office"}));
  const std::vector<pdftest::PdfPageSize> sizes = pdftest::PageSizes(Out("n.pdf"));
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_NEAR(sizes[0].width, 595.45, 0.6);
  test::ExpectPdfA({Out("n.pdf")});
}

TEST_F(DualLayerPdfJobTest, PerDirectoryWritesPdfTextAndFreshTiffSideBySide) {
  settings_.TwoPDF.OutputTxt = 1;
  settings_.TwoPDF.OutputTif = 1;
  WritePageTiff(In("box1/vol2/p1.tif"), [] {
    std::vector<PixPtr> pages;
    pages.push_back(ocrtest::Binarize(TextPage("土地承包合同", "Land contract")));
    return pages;
  }());
  WritePageJpeg(In("box1/vol2/p2.jpg"), TextPage("财务报表附件", "Annual report"));
  WriteSourceBytes(In("box1/vol2/notes.txt"), "not a page");
  // A TIFF an earlier run kept under the document's name gets no pages added.
  WritePageTiff(Out("box1/vol2.tif"), [] {
    std::vector<PixPtr> pages;
    pages.push_back(TextPage("旧", "old"));
    pages.push_back(TextPage("旧", "old"));
    return pages;
  }());

  const RunResult result = RunPerDirectory();
  EXPECT_EQ(result.Successes, 1u);
  EXPECT_EQ(TreeOf(out_), (std::vector<std::string>{"box1/", "box1/vol2.pdf", "box1/vol2.tif",
                                                    "box1/vol2.txt"}));
  const std::string pdf = Out("box1/vol2.pdf");
  EXPECT_TRUE(pdftest::QpdfCheckClean(pdf));
  ASSERT_EQ(pdftest::ListImages(pdf).size(), 2u);
  EXPECT_TRUE(InOrder(PdfText(pdf), {"土地承包合同", "Land", "contract", "财务报表附件", "Annual"}));
  EXPECT_EQ(test::ReadTiffInfo(Out("box1/vol2.tif")).size(), 2u);  // built afresh
  const std::string txt = ReadBytes(Out("box1/vol2.txt"));
  EXPECT_TRUE(InOrder(txt, {"土地承包合同", "\r\n", "\f", "财务报表附件"})) << txt;
  EXPECT_EQ(txt.find("\n\n"), std::string::npos);  // every line ends with CR LF
  test::ExpectPdfA({pdf});
}

// Its page count unknown, the directory is not passed over as one without
// pages: it fails with the reason.
TEST_F(DualLayerPdfJobTest, PerDirectoryPageLinkOutOfTheRootFailsTheDirectory) {
  WriteSourceBytes(dir_.File("private/notice.jpg"), "never read");
  fs::create_directories(In("linked"));
  fs::create_symlink(dir_.File("private/notice.jpg"), In("linked/notice.jpg"));
  EXPECT_EQ(RunPerDirectory().Failures, 1u);
  EXPECT_EQ(observer_.FailureReasons,
            std::vector<std::string>{"链接指向源目录之外：" + In("linked/notice.jpg")});
  EXPECT_EQ(TreeOf(out_),
            (std::vector<std::string>{"Error/", "Error/linked/", "Error/linked/notice.jpg"}));
}

TEST_F(DualLayerPdfJobTest, PerDirectoryTakesEveryPageOfAMultiPageTiff) {
  WritePageTiff(In("box/doc.tif"), test::PageList(TextPage("土地承包合同", "Land contract"),
                                                 TextPage("财务报表附件", "Annual report")));
  WritePageJpeg(In("box/last.jpg"), TextPage("会议纪要整理", "Meeting minutes"));

  EXPECT_EQ(RunPerDirectory().Successes, 1u);
  const std::string pdf = Out("box.pdf");
  EXPECT_EQ(pdftest::ListImages(pdf).size(), 3u);
  EXPECT_TRUE(InOrder(PdfText(pdf), {"土地承包合同", "财务报表附件", "会议纪要整理"}));
  EXPECT_TRUE(ShowedStatus("正在合并" + In("box") + "  第3页 共3页"));
}

TEST_F(DualLayerPdfJobTest, PerDirectoryFailureCopiesDirectoryAndLeavesNoOutput) {
  settings_.TwoPDF.KeepDir = 1;
  settings_.TwoPDF.OutputTif = 1;
  WritePageJpeg(In("bad/p1.jpg"), TextPage("通知", "Notice"));
  WriteSourceBytes(In("bad/p2.jpg"), "\xff\xd8\xff broken");
  WritePageJpeg(In("good/p1.jpg"), TextPage("合同", "Contract"));

  const RunResult result = RunPerDirectory();
  EXPECT_EQ(result.Successes, 1u);
  EXPECT_EQ(result.Failures, 1u);
  EXPECT_TRUE(fs::exists(In("bad/p2.jpg")));  // copied, not moved
  EXPECT_EQ(TreeOf(out_),
            (std::vector<std::string>{"Error/", "Error/bad/", "Error/bad/p1.jpg", "Error/bad/p2.jpg",
                                      "good/", "good/good.pdf", "good/good.tif"}));
}

}  // namespace
}  // namespace zelk
