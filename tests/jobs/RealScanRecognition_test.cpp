// Recognition of pages as real scanners give them, through the jobs and
// read back as a user reads the outputs: the dual-layer PDF's text as
// pdftotext extracts it (as copy and paste does), its page rotation as
// pdfinfo reports it, and Word output as LibreOffice opens it.  Pages are
// A4 colour JPEGs at 300 dpi of known Chinese and English text: paragraphs
// on tinted boxes in coloured ink, sheets fed sideways or upside down, and
// sheets fed askew, and two columns of running text.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "imaging/PdfTest_helpers.h"
#include "jobs/ConvertFiles22PdfJob.h"
#include "jobs/ConvertFiles2WordJob.h"
#include "jobs/MergeFiles2WordJob.h"
#include "jobs/RecognitionJob_helpers.h"
#include "HardCasePages.h"
#include "ScanCasePages.h"
#include "support/CharacterErrors.h"
#include "support/OfficePrint.h"
#include "support/OfficeText.h"

namespace zelk {
namespace {

using test::PdfText;

// Most pages read at 0.2 to 1.5 % character errors; a page over this lost
// lines or read them out of order.
constexpr double kMostErrors = 0.03;

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// The pages as a list (they can only be moved into one).
template <class... Pages>
std::vector<ocrtest::ScanCasePage> PageList(Pages&&... pages) {
  std::vector<ocrtest::ScanCasePage> list;
  (list.push_back(std::forward<Pages>(pages)), ...);
  return list;
}

// The page rotation pdfinfo reports for the first page, in degrees.
int PageRotation(const std::string& pdf) {
  const pdftest::CommandResult result = pdftest::RunCommand("pdfinfo " + pdftest::Quote(pdf));
  const std::size_t at = result.out.find("Page rot:");
  return at == std::string::npos ? -1 : std::stoi(result.out.substr(at + 9));
}

class RealScanRecognitionTest : public test::RecognitionJobTest {
 protected:
  void SetUp() override {
    RecognitionJobTest::SetUp();
    test::UsePlainDualLayerPdf(settings_);
  }

  // Writes each page as <name>.jpg (or as a TIFF, as archives and fax
  // machines keep them) and converts them to one PDF each.
  void ConvertToPdfs(const std::vector<ocrtest::ScanCasePage>& pages, bool tiff = false) {
    for (const auto& page : pages) {
      if (tiff) {
        ocrtest::WriteTiffScan(page, In(page.name + ".tif"));
      } else {
        ocrtest::WriteJpegScan(page, In(page.name + ".jpg"));
      }
    }
    ConvertFiles22PdfJob job(engine_);
    ASSERT_EQ(RunJob(job).Successes, pages.size());
  }

  // The character error rate of the page's PDF text, printed for the record.
  double PdfErrors(const ocrtest::ScanCasePage& page) {
    const test::ErrorCount errors = test::CharacterErrors(PdfText(Out(page.name + ".pdf")), Joined(page.lines));
    std::printf("%-28s %5.2f %% character errors through pdftotext\n", page.name.c_str(), 100 * errors.Rate());
    return errors.Rate();
  }
};

TEST_F(RealScanRecognitionTest, TextOnTintedBoxesInColouredInkIsInTheTextLayer) {
  const auto pages = PageList(ocrtest::TintedBoxesPage(ocrtest::FullWidthLines(20, 11), 0),
                              ocrtest::TintedBoxesPage(ocrtest::FullWidthLines(20, 12), 1));
  ConvertToPdfs(pages);
  for (const auto& page : pages) EXPECT_LE(PdfErrors(page), kMostErrors) << page.name;
}

TEST_F(RealScanRecognitionTest, TurnedSheetsAreShownUprightWithTheirTextInReadingOrder) {
  const ocrtest::ScanCasePage upright = ocrtest::PlainScanPage(ocrtest::FullWidthLines(12, 21));
  const auto pages =
      PageList(ocrtest::TurnedPage(upright, 1), ocrtest::TurnedPage(upright, 2), ocrtest::TurnedPage(upright, 3));
  ConvertToPdfs(pages);
  // A sheet turned a quarter clockwise is shown turned three quarters more.
  const int shownTurned[] = {270, 180, 90};
  for (std::size_t i = 0; i < pages.size(); ++i) {
    EXPECT_EQ(PageRotation(Out(pages[i].name + ".pdf")), shownTurned[i]) << pages[i].name;
    EXPECT_LE(PdfErrors(pages[i]), kMostErrors) << pages[i].name;
  }
  // The text layer lies over the words of the page as shown: the first
  // line's box is near the top left of the upright A4 page (2 cm margins).
  const pdftest::CommandResult boxes =
      pdftest::RunCommand("pdftotext -bbox-layout " + pdftest::Quote(Out(pages[0].name + ".pdf")) + " -");
  const std::size_t line = boxes.out.find("<line xMin=\"");
  ASSERT_NE(line, std::string::npos) << boxes.out;
  double xMin = 0, yMin = 0;
  ASSERT_EQ(std::sscanf(boxes.out.c_str() + line, "<line xMin=\"%lf\" yMin=\"%lf\"", &xMin, &yMin), 2);
  EXPECT_NEAR(xMin, 57, 8);  // 2 cm
  EXPECT_NEAR(yMin, 57, 12);
}

TEST_F(RealScanRecognitionTest, SkewedSheetsKeepTheirLinesInReadingOrder) {
  const auto pages = PageList(ocrtest::SkewedPage(ocrtest::PlainScanPage(ocrtest::FullWidthLines(16, 31)), 3),
                              ocrtest::SkewedPage(ocrtest::PlainScanPage(ocrtest::FullWidthLines(16, 32)), -3));
  ConvertToPdfs(pages);
  for (const auto& page : pages) EXPECT_LE(PdfErrors(page), kMostErrors) << page.name;
}

TEST_F(RealScanRecognitionTest, TwoColumnPageIsExtractedColumnByColumn) {
  const auto pages = PageList(ocrtest::TwoColumnPage(ocrtest::ShortLines(50, 51)));
  ConvertToPdfs(pages);
  EXPECT_LE(PdfErrors(pages[0]), kMostErrors);
}

TEST_F(RealScanRecognitionTest, FaxesAndFineOrMistaggedScansAreReadAtSquarePixelsOfAbout300Dpi) {
  const auto pages = PageList(ocrtest::FaxPage(ocrtest::FullWidthLines(30, 61)),
                              ocrtest::FinePage(ocrtest::FullWidthLines(30, 62)),
                              ocrtest::MistaggedPage(ocrtest::FullWidthLines(30, 63)));
  ConvertToPdfs(pages, true);
  for (const auto& page : pages) EXPECT_LE(PdfErrors(page), kMostErrors) << page.name;
  // The fax keeps its 98 dpi rows: its page is as tall as the sheet sent.
  const std::vector<pdftest::PdfPageSize> fax = pdftest::PageSizes(Out("fax.pdf"));
  ASSERT_EQ(fax.size(), 1u);
  EXPECT_NEAR(fax[0].height, 841.9, 10);
}

TEST_F(RealScanRecognitionTest, ColumnsAreReadRightToLeftEachTopToBottom) {
  const auto pages = PageList(ocrtest::VerticalPage(ocrtest::ColumnLines(14, 40, 71)));
  ConvertToPdfs(pages, true);
  EXPECT_LE(PdfErrors(pages[0]), kMostErrors);
}

TEST_F(RealScanRecognitionTest, ColumnsReadInOrderInWordDocumentsAndRunDownThePageInTheExactCopy) {
  if (!test::HasSoffice()) GTEST_SKIP() << "soffice (LibreOffice) is not installed";
  const ocrtest::ScanCasePage page = ocrtest::VerticalPage(ocrtest::ColumnLines(12, 36, 72));
  ocrtest::WriteTiffScan(page, In("columns.tif"));
  struct Case {
    int16_t outputType;  // 1 .docx, 2 .rtf
    int16_t mode;        // 0 exact copy, 2 formatted text
    const char* file;
  };
  for (const Case& c : {Case{1, 0, "columns.docx"}, Case{2, 0, "columns.rtf"}, Case{1, 2, "columns.docx"}}) {
    SCOPED_TRACE(std::string(c.file) + " mode " + std::to_string(c.mode));
    std::filesystem::remove_all(Out(""));
    settings_.OCR.OutputType = c.outputType;
    settings_.OCR.RecognizeMode = c.mode;
    ConvertFiles2WordJob job(engine_);
    ASSERT_EQ(RunJob(job).Successes, 1u);
    const test::ErrorCount errors = test::CharacterErrors(test::OfficeDocumentText(Out(c.file)), Joined(page.lines));
    EXPECT_LE(errors.Rate(), kMostErrors);
    const std::vector<test::PrintedPage> printed = test::OfficePrintedPages(Out(c.file));
    ASSERT_EQ(printed.size(), 1u) << "one page of paper, as scanned";
    EXPECT_LT(printed[0].width, printed[0].height) << "upright A4";
    if (c.mode != 0 || printed[0].words.empty()) continue;
    // In the exact copy the first column stands at the right, running down.
    const test::PrintedWord& first = printed[0].words.front();
    EXPECT_GT(first.left, printed[0].width / 2);
    EXPECT_GT(first.bottom - first.top, first.right - first.left);
  }
}

TEST_F(RealScanRecognitionTest, SealsLeaveTheTextUnderThemAndBlankBacksHaveNoText) {
  const auto pages = PageList(ocrtest::SealPage(ocrtest::FullWidthLines(20, 81)), ocrtest::BlankBackPage());
  ConvertToPdfs(pages, true);
  EXPECT_LE(PdfErrors(pages[0]), kMostErrors);
  EXPECT_EQ(PdfText(Out("seal.pdf")).find("专用"), std::string::npos) << "the seal's own text is no text of the page";
  const std::string blank = PdfText(Out("blank-back.pdf"));
  EXPECT_EQ(blank.find_first_not_of(" \n\f"), std::string::npos) << blank;
}

TEST_F(RealScanRecognitionTest, WordDocumentOfTurnedAndTintedPagesReadsUprightInTheWordProcessor) {
  if (!test::HasSoffice()) GTEST_SKIP() << "soffice (LibreOffice) is not installed";
  settings_.OCR.OutputType = 1;
  settings_.OCR.RecognizeMode = 2;  // formatted text: paragraphs the word processor exports
  settings_.OCR.KeepTextAndBackgroundColor = 1;
  const ocrtest::ScanCasePage turned =
      ocrtest::TurnedPage(ocrtest::PlainScanPage(ocrtest::FullWidthLines(10, 41)), 3);
  const ocrtest::ScanCasePage tinted = ocrtest::TintedBoxesPage(ocrtest::FullWidthLines(15, 42), 0);
  std::filesystem::create_directories(In("doc"));
  ocrtest::WriteJpegScan(turned, In("doc/p1.jpg"));
  ocrtest::WriteJpegScan(tinted, In("doc/p2.jpg"));
  MergeFiles2WordJob job(engine_);
  ASSERT_EQ(RunJob(job).Successes, 1u);
  const std::string text = test::OfficeDocumentText(Out("doc.docx"));
  const test::ErrorCount errors = test::CharacterErrors(text, Joined(turned.lines) + Joined(tinted.lines));
  std::printf("Word document as LibreOffice reads it: %.2f %% character errors\n", 100 * errors.Rate());
  EXPECT_LE(errors.Rate(), kMostErrors) << text;
}

}  // namespace
}  // namespace zelk
