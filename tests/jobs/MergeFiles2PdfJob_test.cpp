// The per-directory PDF job on real trees; PDFs checked with qpdf and
// poppler's pdfimages and pdfinfo, TIFF twins with libtiff.

#include <gtest/gtest.h>
#include <tiffio.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "imaging/PdfTest_helpers.h"
#include "jobs/JobRun_helpers.h"
#include "settings/SettingsFile.h"
#include "support/FileTree.h"
#include "support/PdfAValidator.h"

namespace zelk {
namespace {

using pdftest::ListedImage;
using test::TreeOf;

// The encodings of a PDF's images in page order, after qpdf found the
// file sound.
std::vector<std::string> Encodings(const std::string& pdf) {
  EXPECT_TRUE(pdftest::QpdfCheckClean(pdf)) << pdf;
  std::vector<std::string> encodings;
  for (const ListedImage& image : pdftest::ListImages(pdf)) encodings.push_back(image.enc);
  return encodings;
}

std::vector<int> ImageWidths(const std::string& pdf) {
  std::vector<int> widths;
  for (const ListedImage& image : pdftest::ListImages(pdf)) widths.push_back(image.width);
  return widths;
}

class MergeFiles2PdfJobTest : public test::JobRunTest {
 protected:
  void SetUp() override {
    JobRunTest::SetUp();
    settings_.PDF.KeepDir = 0;
    settings_.PDF.PaperSize = 1;
  }
  RunResult Run(const std::string& target = {}) {
    return JobRunTest::Run(JobId::MergeFiles2PDF, target);
  }

  // `count` grey pages p01.tif ... in `dir`, page p being 10 * p wide.
  void Pages(const std::string& dir, int count) {
    for (int p = 1; p <= count; ++p) {
      test::WriteTiff(In(dir + "/p0" + std::to_string(p) + ".tif"), {{10 * p, 30, 8, 200}});
    }
  }
};

TEST_F(MergeFiles2PdfJobTest, ColourJpegAndBitonalTiffGiveDctAndCcittPagesAndATwin) {
  settings_.PDF.OutputTif = 1;
  test::WriteColourJpeg(In("box/a.jpg"), 40, 30, 300);
  test::WriteTiff(In("box/b.tif"), {{48, 30, 1, 300}});
  test::Touch(In("empty/notes.txt"));

  const RunResult result = Run();
  EXPECT_EQ(result.Successes, 2u);
  EXPECT_EQ(Encodings(Out("box.pdf")), (std::vector<std::string>{"jpeg", "ccitt"}));
  test::ExpectPdfA({Out("box.pdf")});
  const std::vector<test::TiffPageInfo> twin = test::ReadTiffInfo(Out("box.tif"));
  ASSERT_EQ(twin.size(), 2u);
  EXPECT_EQ(twin[0].Compression, COMPRESSION_JPEG);  // Tif2Compress 1
  EXPECT_EQ(twin[0].Samples, 3);
  EXPECT_EQ(twin[1].Compression, COMPRESSION_CCITTFAX4);  // Tif1Compress 0
  // A directory without pages writes nothing and still counts.
  EXPECT_EQ(TreeOf(out_), (std::vector<std::string>{"box.pdf", "box.tif"}));

  const std::string box = In("box");
  const std::vector<std::string>& statuses = observer_.Statuses;
  for (const std::string& text : {"正在合并转换" + box, "正在合并" + box + "  第1页 共2页",
                                  "正在合并" + box + "  第2页 共2页"}) {
    EXPECT_NE(std::find(statuses.begin(), statuses.end(), text), statuses.end()) << text;
  }
  EXPECT_EQ(observer_.RowStatuses[1], (std::vector<std::string>{"转换...", "已转换"}));
  EXPECT_EQ(observer_.LastStatus(), "本次转换完毕！    ");
  EXPECT_EQ(SuccessList(), "2026年3月7日 9时5分 -- 已转换清单\r\n" + box + "\r\n" + In("empty") +
                               "\r\n本次总共转换了2个图像目录 共历时0秒\r\n\r\n");
}

TEST_F(MergeFiles2PdfJobTest, APdfAndItsTwinAreWrittenAsAPairAndNeverGetPagesTwice) {
  settings_.PDF.OutputTif = 1;
  Pages("a", 3);
  Pages("b", 3);
  Pages("c", 3);
  // a: a run killed between the two renames left the twin alone.
  test::WriteTiff(Out("a.tif"), {{10, 30, 8, 200}, {20, 30, 8, 200}, {30, 30, 8, 200}});
  EXPECT_EQ(Run().Successes, 3u);
  // b's PDF deleted by hand: offered again, and the files written anew as
  // a pair.  c's twin moved away: the PDF alone says c is done, and it is
  // left as it is (a user may have edited it).
  std::filesystem::remove(Out("b.pdf"));
  std::filesystem::remove(Out("c.tif"));
  const std::vector<uint8_t> edited = pdftest::ReadBytes(Out("c.pdf"));
  EXPECT_EQ(Run().Successes, 1u);
  for (const char* name : {"a", "b", "c"}) {
    EXPECT_EQ(ImageWidths(Out(std::string(name) + ".pdf")), (std::vector<int>{10, 20, 30})) << name;
  }
  for (const char* name : {"a", "b"}) {
    EXPECT_EQ(test::ReadTiffInfo(Out(std::string(name) + ".tif")).size(), 3u) << name;
  }
  EXPECT_EQ(pdftest::ReadBytes(Out("c.pdf")), edited);
  EXPECT_FALSE(std::filesystem::exists(Out("c.tif")));
  EXPECT_EQ(Run().End, RunEnd::NothingFound);
}

TEST_F(MergeFiles2PdfJobTest, EveryPageOfAMultiPageFileReachesThePdfAndTheTwin) {
  settings_.PDF.OutputTif = 1;
  test::WriteTiff(In("a/p1.tif"), {{10, 30, 8, 200}, {20, 30, 1, 300}});
  test::WriteTiff(In("a/p2.tif"), {{30, 30, 8, 200}});
  EXPECT_EQ(Run().Successes, 1u);
  EXPECT_EQ(ImageWidths(Out("a.pdf")), (std::vector<int>{10, 20, 30}));
  EXPECT_EQ(test::PageWidths(Out("a.tif")), (std::vector<uint32_t>{10, 20, 30}));
  EXPECT_NE(std::find(observer_.Statuses.begin(), observer_.Statuses.end(),
                      "正在合并" + In("a") + "  第3页 共3页"),
            observer_.Statuses.end());
}

TEST_F(MergeFiles2PdfJobTest, CompressionSettingsReachThePdfAndTheTwin) {
  settings_.PDF.OutputTif = 1;
  settings_.ImageCompress.Tif1Compress = 4;  // LZW: bitonal PDF pages uncompressed (Flate)
  settings_.ImageCompress.Tif2Compress = 4;
  settings_.ImageCompress.JpgCompress = 1;
  test::WriteColourJpeg(In("box/a.jpg"), 40, 30, 300);
  test::WriteTiff(In("box/b.tif"), {{48, 30, 1, 300}});
  Run();
  EXPECT_EQ(Encodings(Out("box.pdf")), (std::vector<std::string>{"jpeg", "image"}));
  const std::vector<test::TiffPageInfo> twin = test::ReadTiffInfo(Out("box.tif"));
  ASSERT_EQ(twin.size(), 2u);
  EXPECT_EQ(twin[0].Compression, COMPRESSION_LZW);
  EXPECT_EQ(twin[1].Compression, COMPRESSION_LZW);
}

TEST_F(MergeFiles2PdfJobTest, ResolutionAndPaperSizeSetThePageSize) {
  settings_.PDF.OutputTif = 1;
  test::WriteTiff(In("res/p1.tif"), {{40, 30, 8, 72}});
  test::WriteTiff(In("res/p2.tif"), {{40, 30, 8, 200}});
  // Within 3 % of A4 at 100 dpi (815 x 1150 pixels are 586.8 x 828 points).
  test::WriteTiff(In("res/p3.tif"), {{815, 1150, 1, 100}});

  Run(out_ + "/own");
  std::vector<ListedImage> images = pdftest::ListImages(Out("own/res.pdf"));
  ASSERT_EQ(images.size(), 3u);
  EXPECT_NEAR(images[0].xPpi, 300, 1);  // 72 dpi is taken as 300
  EXPECT_NEAR(images[1].xPpi, 200, 1);
  EXPECT_NEAR(images[2].yPpi, 100, 1);
  EXPECT_FLOAT_EQ(test::ReadTiffInfo(Out("own/res.tif"))[0].XDpi, 300);
  std::vector<pdftest::PdfPageSize> sizes = pdftest::PageSizes(Out("own/res.pdf"));
  ASSERT_EQ(sizes.size(), 3u);
  EXPECT_NEAR(sizes[0].width, 9.6, 0.01);
  EXPECT_NEAR(sizes[2].width, 586.8, 0.01);  // the image's own size
  EXPECT_NEAR(sizes[2].height, 828, 0.01);

  settings_.PDF.ImageResolution = 2;
  settings_.PDF.PaperSize = 0;
  Run(out_ + "/150");
  images = pdftest::ListImages(Out("150/res.pdf"));
  ASSERT_EQ(images.size(), 3u);
  EXPECT_NEAR(images[0].xPpi, 150, 1);
  EXPECT_NEAR(images[1].yPpi, 150, 1);
  sizes = pdftest::PageSizes(Out("150/res.pdf"));
  EXPECT_NEAR(sizes[1].width, 19.2, 0.01);
  settings_.PDF.ImageResolution = 0;
  Run(out_ + "/paper");
  sizes = pdftest::PageSizes(Out("paper/res.pdf"));
  ASSERT_EQ(sizes.size(), 3u);
  EXPECT_NEAR(sizes[2].width, 595.28, 0.01);  // on A4
  EXPECT_NEAR(sizes[2].height, 841.89, 0.01);
  EXPECT_NEAR(sizes[0].width, 9.6, 0.01);  // near no paper: its own size
}

TEST_F(MergeFiles2PdfJobTest, KeepDirPlacesThePdfAndASecondRunFindsNothingNew) {
  Pages("a/b", 2);
  Run(out_ + "/beside");
  EXPECT_EQ(TreeOf(out_ + "/beside"), (std::vector<std::string>{"a/", "a/b.pdf"}));
  settings_.PDF.KeepDir = 1;
  Run(out_ + "/inside");
  EXPECT_EQ(TreeOf(out_ + "/inside"), (std::vector<std::string>{"a/", "a/b/", "a/b/b.pdf"}));
  EXPECT_EQ(pdftest::PageSizes(Out("inside/a/b/b.pdf")).size(), 2u);

  const RunResult again = Run(out_ + "/inside");
  EXPECT_EQ(again.End, RunEnd::NothingFound);
  EXPECT_EQ(observer_.LastStatus(), "未找到需转换的图像目录");
}

TEST_F(MergeFiles2PdfJobTest, GroupsByFirstPageWithTwinsAndNoSecondRun) {
  ASSERT_TRUE(WriteSettingKey(settings_, SettingId::PDF_KeepDir));  // 0 in the file
  settings_.PDF.Grouping = test::Fixture("grouping-mode1.xls");
  settings_.PDF.OutputTif = 1;
  Pages("2001/1", 7);
  Pages("other", 1);  // no table row: nothing written, counted

  const RunResult result = Run();
  EXPECT_EQ(result.Successes, 2u);
  EXPECT_EQ(ImageWidths(Out("2001/1/A.pdf")), (std::vector<int>{10, 20, 30}));
  EXPECT_EQ(ImageWidths(Out("2001/1/B.pdf")), (std::vector<int>{40, 50}));
  EXPECT_EQ(ImageWidths(Out("2001/1/C.pdf")), (std::vector<int>{60, 70}));
  EXPECT_EQ(test::PageWidths(Out("2001/1/C.tif")), (std::vector<uint32_t>{60, 70}));
  EXPECT_EQ(TreeOf(out_), (std::vector<std::string>{"2001/", "2001/1/", "2001/1/A.pdf",
                                                    "2001/1/A.tif", "2001/1/B.pdf", "2001/1/B.tif",
                                                    "2001/1/C.pdf", "2001/1/C.tif", "other/"}));
  EXPECT_NE(
      std::find(observer_.Statuses.begin(), observer_.Statuses.end(), "正在装载分件数据 . . . "),
      observer_.Statuses.end());
  // KeepDir 1 for the window's record, not for the file.
  Settings window = settings_;
  result.SettingsChanges.ApplyTo(window);
  EXPECT_EQ(window.PDF.KeepDir, 1);
  Settings stored;
  ASSERT_TRUE(LoadSettings(dir_.Path().string(), stored));
  EXPECT_EQ(stored.PDF.KeepDir, 0);

  // Every group PDF exists: the directory is not offered again.
  const RunResult again = Run();
  EXPECT_EQ(again.Rows.size(), 1u);
  EXPECT_EQ(again.Rows[0].Path, In("other"));
}

TEST_F(MergeFiles2PdfJobTest, GroupsByPageCountReplaceAnOlderFile) {
  settings_.PDF.Grouping = test::Fixture("grouping-mode2.xlsx");
  Pages("2001/1", 8);
  test::Touch(Out("2001/1/B.pdf"), "left by an earlier run");
  EXPECT_EQ(Run().Successes, 1u);
  EXPECT_EQ(ImageWidths(Out("2001/1/A.pdf")), (std::vector<int>{10, 20, 30, 40}));
  EXPECT_EQ(Encodings(Out("2001/1/B.pdf")).size(), 4u);
}

TEST_F(MergeFiles2PdfJobTest, ACorruptPageFailsTheDirectoryWithoutOutputUntilMended) {
  settings_.PDF.OutputTif = 1;
  test::WriteTiff(In("bad/p1.tif"), {{40, 30, 1, 300}});
  test::WriteTiff(In("bad/p2.tif"), {{40, 30, 1, 300, 0, /*Corrupt=*/true}});
  Pages("good", 1);

  const RunResult result = Run();
  EXPECT_EQ(result.Failures, 1u);
  EXPECT_EQ(observer_.RowStatuses[0], (std::vector<std::string>{"转换...", "转换失败"}));
  // Neither a PDF nor a TIFF of the first page, nor a temporary file.
  EXPECT_EQ(TreeOf(out_), (std::vector<std::string>{"Error/", "Error/bad/", "Error/bad/p1.tif",
                                                    "Error/bad/p2.tif", "good.pdf", "good.tif"}));
  EXPECT_EQ(FailureList(), "2026年3月7日 9时5分 -- 未转换清单\r\n" + In("bad") +
                               "\r\n本次执行共有1个图像目录没有转换成功。\r\n\r\n");

  test::WriteTiff(In("bad/p2.tif"), {{40, 30, 1, 300}});
  const RunResult again = Run();
  EXPECT_EQ(again.Successes, 1u);
  ASSERT_EQ(again.Rows.size(), 1u);
  EXPECT_EQ(Encodings(Out("bad.pdf")), (std::vector<std::string>{"ccitt", "ccitt"}));
}

TEST_F(MergeFiles2PdfJobTest, AMissingWorkbookStopsTheStart) {
  settings_.PDF.Grouping = dir_.File("nowhere.xls");
  Pages("a", 1);
  EXPECT_EQ(Run().End, RunEnd::NotStarted);
  ASSERT_EQ(observer_.Messages.size(), 1u);
  EXPECT_EQ(observer_.Messages[0].Text, "分件数据文件不存在，请设置！    ");
  EXPECT_FALSE(std::filesystem::exists(out_));
}

}  // namespace
}  // namespace zelk
