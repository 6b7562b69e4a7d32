// The two Word jobs on real trees with pages rendered here from known
// Chinese and English text, recognised by the real engine; documents read
// back with libzip and pugixml (the DOCX package) and with LibreOffice
// headless (the text a word processor sees).

#include <gtest/gtest.h>
#include <zip.h>

#include <pugixml.hpp>

#include <filesystem>
#include <string>
#include <vector>

#include "jobs/ConvertFiles2WordJob.h"
#include "jobs/MergeFiles2WordJob.h"
#include "jobs/RecognitionJob_helpers.h"
#include "jobs/WordExportSettings.h"
#include "support/OfficeText.h"
#include "TextPageRenderer.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using test::InOrder;
using test::PageList;
using test::ReadBytes;
using test::TreeOf;
using test::WriteSourceBytes;
using test::WritePageJpeg;
using test::WritePageTiff;

// Small pages (1240 x 600 pixels at 300 dpi) of two lines each, so a run
// takes seconds.
PixPtr TextPage(const std::string& chinese, const std::string& english, int dpi = 300) {
  ocrtest::TextPageSpec spec;
  spec.dpi = dpi;
  spec.lines = {chinese, english};
  return ocrtest::RenderTextPage(spec);
}

// A red heading over two black lines.
PixPtr HeadingPage() {
  ocrtest::LayoutPageSpec spec;
  spec.width = 1240;
  spec.height = 700;
  ocrtest::TextBlockSpec heading;
  heading.top = 50;
  heading.pixelSize = 64;
  heading.color = {200, 0, 0};
  heading.lines = {"年度工作报告"};
  ocrtest::TextBlockSpec body;
  body.top = 260;
  body.lines = {"各部门认真落实", "Annual work report"};
  spec.blocks = {heading, body};
  return ocrtest::RenderLayoutPage(spec);
}

int Occurrences(const std::string& text, const std::string& word) {
  int count = 0;
  for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
    ++count;
  }
  return count;
}

// One part of a zip package through libzip; empty when the archive or the
// part cannot be read.
std::string ZipPart(const std::string& archivePath, const std::string& part) {
  int error = 0;
  zip_t* archive = zip_open(archivePath.c_str(), ZIP_RDONLY, &error);
  if (!archive) return {};
  std::string bytes;
  if (zip_file_t* file = zip_fopen(archive, part.c_str(), 0)) {
    char buffer[8192];
    zip_int64_t n = 0;
    while ((n = zip_fread(file, buffer, sizeof buffer)) > 0) {
      bytes.append(buffer, static_cast<std::size_t>(n));
    }
    zip_fclose(file);
  }
  zip_close(archive);
  return bytes;
}

// The main part of a DOCX, checked to be well-formed XML.
pugi::xml_document DocumentXml(const std::string& docx) {
  pugi::xml_document xml;
  EXPECT_FALSE(ZipPart(docx, "[Content_Types].xml").empty()) << docx;
  const std::string body = ZipPart(docx, "word/document.xml");
  EXPECT_TRUE(xml.load_string(body.c_str())) << docx;
  return xml;
}

int CountElements(const pugi::xml_document& xml, const char* name) {
  return static_cast<int>(xml.select_nodes((std::string("//") + name).c_str()).size());
}

// Whether a run of the document is coloured clearly red.
bool HasRedText(const pugi::xml_document& xml) {
  for (const pugi::xpath_node& node : xml.select_nodes("//w:color")) {
    const std::string value = node.node().attribute("w:val").value();
    if (value.size() != 6) continue;
    const int red = std::stoi(value.substr(0, 2), nullptr, 16);
    const int green = std::stoi(value.substr(2, 2), nullptr, 16);
    const int blue = std::stoi(value.substr(4, 2), nullptr, 16);
    if (red > 140 && green < 90 && blue < 90) return true;
  }
  return false;
}

// The text of the document's runs, in the order the package holds them.
std::string DocumentText(const pugi::xml_document& xml) {
  std::string text;
  for (const pugi::xpath_node& node : xml.select_nodes("//w:t")) text += node.node().text().get();
  return text;
}

// The plain text LibreOffice reads.
std::string OfficeText(const std::string& document) {
  try {
    return test::OfficeDocumentText(document);
  } catch (const std::exception& error) {
    ADD_FAILURE() << error.what();
    return {};
  }
}

class WordJobTest : public test::RecognitionJobTest {
 protected:
  void SetUp() override {
    RecognitionJobTest::SetUp();
    settings_.OCR.OutputType = 1;
    settings_.OCR.RecognizeMode = 1;
    settings_.OCR.KeepTextAndBackgroundColor = 0;
  }

  RunResult RunPerFile() {
    ConvertFiles2WordJob job(engine_);
    return RunJob(job);
  }
  RunResult RunPerDirectory() {
    MergeFiles2WordJob job(engine_);
    return RunJob(job);
  }
};

// ---- Word documents per file ----

TEST_F(WordJobTest, PerFileLinkOutOfTheSourceRootIsNeverRecognised) {
  WritePageJpeg(dir_.File("private/notice.jpg"), TextPage("人民政府通知", "Public notice"));
  fs::create_directories(In("box"));
  fs::create_symlink(dir_.File("private/notice.jpg"), In("box/notice.jpg"));

  const RunResult result = RunPerFile();
  EXPECT_EQ(result.Failures, 1u);
  EXPECT_EQ(observer_.FailureReasons,
            std::vector<std::string>{"链接指向源目录之外：" + In("box/notice.jpg")});
  EXPECT_EQ(TreeOf(out_),
            (std::vector<std::string>{"Error/", "Error/box/", "Error/box/notice.jpg"}));
  EXPECT_TRUE(fs::is_symlink(Out("Error/box/notice.jpg")));
}

TEST_F(WordJobTest, PerFileDocxHoldsEveryPageInOrderAndUnreadableFileStaysInPlace) {
  WritePageTiff(In("box/doc.tif"), PageList(TextPage("档案管理办法", "First archive page"),
                                     ocrtest::Binarize(TextPage("电子文件归档", "Second scanned page"))));
  // A source named like doc.tif but for its extension: its page comes
  // first in the same document (doc.jpg is taken before doc.tif), neither
  // replaces the other.
  WritePageJpeg(In("box/doc.jpg"), TextPage("会议纪要整理", "Meeting minutes"));
  WritePageJpeg(In("a.b.jpg"), TextPage("人民政府通知", "Public notice"));
  WriteSourceBytes(In("box/broken.tif"), std::string("II*\0 not a tiff at all", 22));

  const RunResult result = RunPerFile();
  EXPECT_EQ(result.End, RunEnd::Finished);
  EXPECT_EQ(result.Successes, 3u);
  EXPECT_EQ(result.Failures, 1u);
  // The broken file stays in the source tree and a copy lies in the
  // mirrored Error tree; no document or temporary file is left for it.
  EXPECT_TRUE(fs::exists(In("box/broken.tif")));
  EXPECT_EQ(TreeOf(out_), (std::vector<std::string>{"Error/", "Error/box/", "Error/box/broken.tif",
                                                    "a.b.docx", "box/", "box/doc.docx"}));
  EXPECT_NE(FailureList().find(In("box/") + "\r\n"), std::string::npos) << FailureList();
  EXPECT_TRUE(ShowedStatus(kOcrEngineStarting));
  EXPECT_TRUE(ShowedStatus(kOcrEngineClosing));
  EXPECT_TRUE(ShowedStatus("正在识别" + In("box/doc.tif") + "  第2页  共2页"));

  const std::string doc = Out("box/doc.docx");
  const pugi::xml_document xml = DocumentXml(doc);
  EXPECT_GT(CountElements(xml, "w:p"), 0);
  const std::string text = OfficeText(doc);
  EXPECT_TRUE(InOrder(text, {"会议纪要整理", "Meeting", "档案管理办法", "First", "archive",
                             "电子文件归档", "Second", "scanned"}))
      << text;
  EXPECT_TRUE(InOrder(OfficeText(Out("a.b.docx")), {"人民政府通知", "Public", "notice"}));
}

TEST_F(WordJobTest, PerFileDocAndRtfHoldRtfAndAnOutputTypeOutsideTheTableKeepsTheDot) {
  WritePageJpeg(In("n.jpg"), TextPage("税务登记证明", "Tax office"));
  for (int outputType : {0, 2, 5}) {
    settings_.OCR.OutputType = static_cast<int16_t>(outputType);
    EXPECT_EQ(RunPerFile().Successes, 1u) << outputType;
  }
  EXPECT_EQ(TreeOf(out_), (std::vector<std::string>{"n.", "n.doc", "n.rtf"}));
  for (const char* name : {"n.doc", "n.rtf", "n."}) {
    EXPECT_EQ(ReadBytes(Out(name)).rfind("{\\rtf1", 0), 0u) << name;
  }
  for (const char* name : {"n.doc", "n.rtf"}) {
    EXPECT_TRUE(InOrder(OfficeText(Out(name)), {"税务登记证明", "Tax", "office"})) << name;
  }
}

TEST_F(WordJobTest, ExactCopyPlacesAGridAndPlainTextDoesNotWhileColoursFollowTheSetting) {
  WritePageTiff(In("c.tif"), PageList(HeadingPage()));
  struct Case {
    int16_t mode, colours;
    bool grid, red;
  };
  for (const Case& c : {Case{0, 0, true, false}, Case{0, 1, true, true}, Case{3, 0, false, false}}) {
    SCOPED_TRACE("RecognizeMode " + std::to_string(c.mode) + ", colours " +
                 std::to_string(c.colours));
    fs::remove_all(out_);
    settings_.OCR.RecognizeMode = c.mode;
    settings_.OCR.KeepTextAndBackgroundColor = c.colours;
    ASSERT_EQ(RunPerFile().Successes, 1u);
    const pugi::xml_document xml = DocumentXml(Out("c.docx"));
    EXPECT_EQ(CountElements(xml, "w:tbl") > 0, c.grid);
    EXPECT_EQ(CountElements(xml, "w:framePr"), 0);
    EXPECT_EQ(HasRedText(xml), c.red);
    // The package and the word processor hold the grid's text in order.
    const std::vector<std::string> words{"年度工作报告", "各部门认真落实", "Annual"};
    EXPECT_TRUE(InOrder(DocumentText(xml), words)) << DocumentText(xml);
    const std::string text = OfficeText(Out("c.docx"));
    EXPECT_TRUE(InOrder(text, words)) << text;
  }
}

// ---- Word documents per directory ----

TEST_F(WordJobTest, PerDirectoryDocumentBesideMirroredDirectoryWithoutStackedTiff) {
  // A page stored at 72 dpi is taken as 300 dpi: its page is 1240 pixels
  // at 300 dpi wide, 5952 twips, not 17 inches.
  WritePageTiff(In("box1/vol2/p1.tif"), PageList(TextPage("土地承包合同", "Land contract", 72)));
  WritePageJpeg(In("box1/vol2/p2.jpg"), TextPage("财务报表附件", "Annual report"));
  WriteSourceBytes(In("box1/vol2/notes.txt"), "not a page");
  // A stacked TIFF an earlier run left under the directory's name is
  // neither recognised again nor touched.
  WritePageJpeg(In("box1/vol3/p1.jpg"), TextPage("会议纪要整理", "Meeting minutes"));
  WritePageTiff(Out("box1/vol3.tif"), PageList(TextPage("会议纪要整理", "Meeting minutes"),
                                        TextPage("会议纪要整理", "Meeting minutes")));
  const std::string leftover = ReadBytes(Out("box1/vol3.tif"));
  WriteSourceBytes(In("box1/empty/readme.txt"), "no pages here");

  const RunResult result = RunPerDirectory();
  EXPECT_EQ(result.Successes, 2u);
  EXPECT_EQ(result.Failures, 1u);
  EXPECT_EQ(TreeOf(out_),
            (std::vector<std::string>{"Error/", "Error/box1/", "Error/box1/empty/",
                                      "Error/box1/empty/readme.txt", "box1/", "box1/vol2.docx",
                                      "box1/vol3.docx", "box1/vol3.tif"}));
  EXPECT_EQ(ReadBytes(Out("box1/vol3.tif")), leftover);
  EXPECT_NE(FailureList().find(In("box1/empty") + "\r\n"), std::string::npos) << FailureList();
  EXPECT_TRUE(ShowedStatus(kOcrEngineStarting));
  EXPECT_TRUE(ShowedStatus("正在合并" + In("box1/vol2") + "  第2页 共2页"));
  EXPECT_TRUE(ShowedStatus("正在识别" + In("box1/vol2")));
  EXPECT_EQ(observer_.RowStatuses[1],
            (std::vector<std::string>{"合并...", "识别...", "已识别"}));

  const std::string vol2 = Out("box1/vol2.docx");
  const pugi::xml_document xml = DocumentXml(vol2);
  const pugi::xpath_node pageSize = xml.select_node("//w:pgSz");
  ASSERT_TRUE(pageSize);
  EXPECT_NEAR(pageSize.node().attribute("w:w").as_int(), 5952, 30);
  EXPECT_TRUE(InOrder(OfficeText(vol2), {"土地承包合同", "Land", "contract", "财务报表附件", "Annual"}));
  const std::string vol3 = OfficeText(Out("box1/vol3.docx"));
  EXPECT_EQ(Occurrences(vol3, "会议纪要整理"), 1) << vol3;
  EXPECT_EQ(Occurrences(vol3, "Meeting"), 1) << vol3;
}

TEST_F(WordJobTest, PerDirectoryUnreadablePageFailsWholeDirectoryAndLeavesNothingBehind) {
  WritePageJpeg(In("box2/bad/p1.jpg"), TextPage("通知", "Notice"));
  WriteSourceBytes(In("box2/bad/p2.jpg"), "\xff\xd8\xff broken");

  const RunResult result = RunPerDirectory();
  EXPECT_EQ(result.Successes, 0u);
  EXPECT_EQ(result.Failures, 1u);
  EXPECT_TRUE(fs::exists(In("box2/bad/p2.jpg")));  // copied, not moved
  // No document, no stacked TIFF, no directory made for them.
  EXPECT_EQ(TreeOf(out_), (std::vector<std::string>{"Error/", "Error/box2/", "Error/box2/bad/",
                                                    "Error/box2/bad/p1.jpg",
                                                    "Error/box2/bad/p2.jpg"}));
  // The only row failed: the failure line comes first.
  EXPECT_NE(FailureList().find("本次执行共有1个图像目录没有识别成功。"), std::string::npos);
  EXPECT_NE(SuccessList().find("本次总共识别了0个图像目录 共历时"), std::string::npos);
}

TEST_F(WordJobTest, PerDirectoryTakesEveryPageOfAMultiPageTiff) {
  WritePageTiff(In("box/doc.tif"), PageList(TextPage("土地承包合同", "Land contract"),
                                           TextPage("财务报表附件", "Annual report")));
  EXPECT_EQ(RunPerDirectory().Successes, 1u);
  EXPECT_TRUE(ShowedStatus("正在合并" + In("box") + "  第2页 共2页"));
  EXPECT_TRUE(InOrder(OfficeText(Out("box.docx")), {"土地承包合同", "财务报表附件"}));
}

// ---- Settings of the export ----

TEST(WordExportSettingsTest, RecognizeModeAndColourFlagGiveTheEngineValues) {
  struct Case {
    int16_t mode;
    LayoutRetention retention;
  };
  for (const Case& c : {Case{0, LayoutRetention::ExactCopy}, Case{1, LayoutRetention::EditableCopy},
                        Case{2, LayoutRetention::FormattedText}, Case{3, LayoutRetention::PlainText},
                        Case{7, kDefaultLayoutRetention}, Case{-1, kDefaultLayoutRetention}}) {
    Settings::OcrSection ocr;
    ocr.RecognizeMode = c.mode;
    EXPECT_EQ(WordExportOptionsOf(ocr).retention, c.retention) << c.mode;
  }
  Settings::OcrSection ocr;
  for (int16_t flag : {0, 1, 2, -1}) {
    ocr.KeepTextAndBackgroundColor = flag;
    EXPECT_EQ(WordExportOptionsOf(ocr).keepColours, flag != 0) << flag;
  }
}

}  // namespace
}  // namespace zelk
