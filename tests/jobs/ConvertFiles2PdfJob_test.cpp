// The per-file PDF job on real trees; PDFs checked with qpdf and poppler's
// pdfimages and pdfinfo.

#include <gtest/gtest.h>
#include <leptonica/allheaders.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "imaging/PdfTest_helpers.h"
#include "imaging/Toolkit_helpers.h"
#include "jobs/JobRun_helpers.h"
#include "support/PdfAValidator.h"

namespace zelk {
namespace {

using pdftest::ListedImage;
using test::TreeOf;

// The images of a sound PDF (qpdf finds nothing to complain about).
std::vector<ListedImage> Images(const std::string& pdf) {
  EXPECT_TRUE(pdftest::QpdfCheckClean(pdf)) << pdf;
  return pdftest::ListImages(pdf);
}

void WritePix(const std::string& path, int width, int dpi, int format) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  PIX* pix = pixCreate(width, 20, 32);
  pixSetAllArbitrary(pix, 0x20608000);
  pixSetResolution(pix, dpi, dpi);
  ASSERT_EQ(pixWrite(path.c_str(), pix, format), 0);
  pixDestroy(&pix);
}

class ConvertFiles2PdfJobTest : public test::JobRunTest {
 protected:
  RunResult Run() { return JobRunTest::Run(JobId::ConvertFiles2PDF); }
};

TEST_F(ConvertFiles2PdfJobTest, EveryPageOfEverySourceKindWithItsOwnCode) {
  // 1-bit, colour and grey pages in one file, each at its own resolution.
  test::WriteTiff(In("doc/x.tiff"), {{48, 30, 1, 300}, {40, 30, 24, 200, 90}, {36, 30, 8, 72}});
  test::WriteColourJpeg(In("doc/a.b.jpg"), 40, 30, 300);
  WritePix(In("p.png"), 44, 150, IFF_PNG);
  WritePix(In("q.bmp"), 46, 150, IFF_BMP);
  toolkittest::WriteImagePdf(In("r.pdf"), 2, 72, 72, 30, 30, "/DeviceGray");

  const RunResult result = Run();
  EXPECT_EQ(result.Successes, 5u);
  EXPECT_EQ(TreeOf(out_), (std::vector<std::string>{"doc/", "doc/a.b.pdf", "doc/x.pdf", "p.pdf",
                                                    "q.pdf", "r.pdf"}));
  const std::vector<ListedImage> x = Images(Out("doc/x.pdf"));
  ASSERT_EQ(x.size(), 3u);
  EXPECT_EQ(x[0].enc, "ccitt");  // 149
  EXPECT_EQ(x[1].enc, "jpeg");   // 150, the TIFF mapping
  EXPECT_EQ(x[1].color, "rgb");
  // ImageResolution 0 keeps each page's own resolution, 72 included.
  EXPECT_NEAR(x[0].xPpi, 300, 1);
  EXPECT_NEAR(x[1].xPpi, 200, 1);
  EXPECT_NEAR(x[2].xPpi, 72, 1);
  EXPECT_NEAR(pdftest::PageSizes(Out("doc/x.pdf"))[2].width, 36, 0.01);  // the image's own size
  EXPECT_EQ(Images(Out("doc/a.b.pdf")).size(), 1u);
  EXPECT_EQ(Images(Out("p.pdf")).at(0).width, 44);
  EXPECT_EQ(Images(Out("q.pdf")).at(0).width, 46);
  EXPECT_EQ(Images(Out("r.pdf")).size(), 2u);
  test::ExpectPdfA({Out("doc/x.pdf"), Out("doc/a.b.pdf"), Out("p.pdf"), Out("q.pdf"), Out("r.pdf")});

  const std::string path = In("doc/x.tiff");
  const std::vector<std::string>& statuses = observer_.Statuses;
  for (const std::string& text : {"正在转换" + path, "正在转换" + path + "  第3页  共3页"}) {
    EXPECT_NE(std::find(statuses.begin(), statuses.end(), text), statuses.end()) << text;
  }
  EXPECT_EQ(observer_.LastStatus(), "本次转换完毕！    ");

  const RunResult again = Run();
  EXPECT_EQ(again.End, RunEnd::NothingFound);
  EXPECT_EQ(observer_.LastStatus(), "未找到需转换的图像文件");
}

TEST_F(ConvertFiles2PdfJobTest, SourcesSharingANameFillOnePdfAtTheTableResolution) {
  settings_.PDF.ImageResolution = 4;
  test::WriteTiff(In("b.tif"), {{48, 30, 1, 200}});
  test::WriteColourJpeg(In("b.jpg"), 40, 30, 72);
  Run();
  const std::vector<ListedImage> b = Images(Out("b.pdf"));
  ASSERT_EQ(b.size(), 2u);
  EXPECT_EQ(b[0].enc, "jpeg");  // b.jpg comes first in name order
  EXPECT_EQ(b[1].enc, "ccitt");
  EXPECT_NEAR(b[0].xPpi, 300, 1);
  EXPECT_NEAR(b[1].yPpi, 300, 1);
}

TEST_F(ConvertFiles2PdfJobTest, AFailedFileLeavesNoPdfGoesToTheErrorTreeAndIsOfferedAgain) {
  test::WriteTiff(In("a/good.tif"), {{48, 30, 1, 300}});
  // Fails on its second page, after the first was converted.
  test::WriteTiff(In("a/part.tif"), {{48, 30, 1, 300}, {48, 30, 1, 300, 0, /*Corrupt=*/true}});
  toolkittest::WriteImagePdf(In("a/zero.pdf"), 0, 72, 72, 0, 0, "/DeviceGray");

  const RunResult result = Run();
  EXPECT_EQ(result.Successes, 1u);
  EXPECT_EQ(result.Failures, 2u);
  EXPECT_EQ(observer_.RowStatuses[1], (std::vector<std::string>{"转换...", "转换失败"}));
  EXPECT_EQ(TreeOf(out_), (std::vector<std::string>{"Error/", "Error/a/", "Error/a/part.tif",
                                                    "Error/a/zero.pdf", "a/", "a/good.pdf"}));
  // The last row failed: the failure line first, and the second head.
  EXPECT_EQ(FailureList(), "2026年3月7日 9时5分 -- 未转换清单\r\n" + In("a/part.tif") + "\r\n" +
                               In("a/zero.pdf") +
                               "\r\n本次执行共有2个图像文件没有转换成功。\r\n\r\n");
  EXPECT_EQ(SuccessList(), "2026年3月7日 9时5分 -- 已转换清单\r\n" + In("a/good.tif") +
                               "\r\n本次执行总共转换了1个图像文件 共历时0秒\r\n\r\n");

  const RunResult again = Run();
  ASSERT_EQ(again.Rows.size(), 2u);
  EXPECT_EQ(again.Rows[0].Path, In("a/part.tif"));
  // The Error tree holds each of them once, however often they fail.
  EXPECT_EQ(TreeOf(out_), (std::vector<std::string>{"Error/", "Error/a/", "Error/a/part.tif",
                                                    "Error/a/zero.pdf", "a/", "a/good.pdf"}));
}

TEST_F(ConvertFiles2PdfJobTest, ALinkOutOfTheSourceRootFailsAndItsTargetIsNeverCopied) {
  namespace fs = std::filesystem;
  // A page only its own directory's permissions keep private.
  test::WriteTiff(dir_.File("private/secret.tif"), {{48, 30, 1, 300}});
  fs::permissions(dir_.File("private"), fs::perms::owner_all);
  test::WriteTiff(In("a/page.tif"), {{48, 30, 1, 300}});
  fs::create_symlink(dir_.File("private/secret.tif"), In("a/secret.tif"));
  fs::create_symlink("page.tif", In("a/same-page.tif"));  // inside the root: read as before

  const RunResult result = Run();
  EXPECT_EQ(result.Successes, 2u);
  EXPECT_EQ(result.Failures, 1u);
  EXPECT_EQ(observer_.FailureReasons,
            std::vector<std::string>{"链接指向源目录之外：" + In("a/secret.tif")});
  EXPECT_EQ(Images(Out("a/same-page.pdf")).size(), 1u);
  EXPECT_FALSE(fs::exists(Out("a/secret.pdf")));
  // The failure copy is the link itself, not the private page.
  ASSERT_TRUE(fs::is_symlink(Out("Error/a/secret.tif")));
  EXPECT_EQ(fs::read_symlink(Out("Error/a/secret.tif")), dir_.File("private/secret.tif"));
}

TEST_F(ConvertFiles2PdfJobTest, LinksPlantedInTheDestinationAreNeverWrittenThrough) {
  namespace fs = std::filesystem;
  test::WriteTiff(In("x/y/y.tif"), {{48, 30, 1, 300}});
  test::WriteTiff(In("z.tif"), {{48, 30, 1, 300}});
  fs::create_directories(out_);
  fs::create_directories(dir_.File("elsewhere"));
  fs::create_directories(dir_.File("elsewhere2"));
  fs::create_directory_symlink(dir_.File("elsewhere"), Out("x"));
  fs::create_directory_symlink(dir_.File("elsewhere2"), Out("Error"));

  const RunResult result = Run();
  EXPECT_EQ(result.Successes, 1u);
  EXPECT_EQ(result.Failures, 1u);
  EXPECT_EQ(observer_.FailureReasons, std::vector<std::string>{"输出路径中含有链接：" + Out("x")});
  // The Error copy is refused as other failed copies are, and says why.
  EXPECT_EQ(result.ErrorCopyFailures, 1u);
  const std::vector<std::string>& statuses = observer_.Statuses;
  EXPECT_NE(std::find(statuses.begin(), statuses.end(),
                      "无法放入Error目录：" + In("x/y/y.tif") + "：输出路径中含有链接：" + Out("Error")),
            statuses.end());
  EXPECT_EQ(TreeOf(dir_.File("elsewhere")), std::vector<std::string>{});
  EXPECT_EQ(TreeOf(dir_.File("elsewhere2")), std::vector<std::string>{});
  EXPECT_EQ(Images(Out("z.pdf")).size(), 1u);
}

}  // namespace
}  // namespace zelk
