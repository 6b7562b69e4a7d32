// Two A4 pages of an official notice (a title near the width of the text,
// the document number under it, the addressee, indented paragraphs that
// fill the page, numbered headings, a signature and a date set right, a
// contact line of two parts side by side), rendered at 300 dpi, recognised
// once by the real engine and exported under every layout-retention mode
// as .docx and as .rtf.  LibreOffice, the word processor of this platform,
// prints all of them in one run and reads their text in another.  Each
// printed document must have the pages of the scan, no text printed over
// other text, and the known text both in the print and in what the word
// processor exports (what select-all and copy give).
//
// With ZELK_WORD_PRINTS set to a directory, the printed PDFs are kept
// there (tests/dialogs/word-prints.sh turns their first pages into
// pictures).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "documents/WordExport.h"
#include "support/CharacterErrors.h"
#include "support/OfficePrint.h"
#include "support/TempDir.h"
#include "KnownTextLines.h"
#include "RecognisedPages.h"
#include "TextPageRenderer.h"
#include "TypesetLines.h"

namespace zelk {
namespace {

constexpr int kMargin = 236;  // 2 cm at 300 dpi
constexpr int kTextWidth = 2480 - 2 * kMargin;
constexpr int kBodySize = 44;  // 10.5 pt
constexpr int kTitleSize = 84;  // 20 pt
constexpr int kHeadingSize = 52;
constexpr double kLineSpacing = 1.8;
constexpr const char* kIndent = "\u3000\u3000";

constexpr double kMostCharacterErrors = 0.03;

int Advance(int pixelSize) { return static_cast<int>(pixelSize * kLineSpacing); }

// A page being laid out from the top down, with its text in reading order.
class NoticePage {
 public:
  explicit NoticePage(int top) : top_(top) {}

  void Centred(const std::string& line, int pixelSize, int gapAfter) {
    Add((2480 - ocrtest::LineWidth(line, pixelSize)) / 2, {line}, pixelSize, gapAfter);
  }
  void Left(const std::string& line, int pixelSize, int gapAfter) { Add(kMargin, {line}, pixelSize, gapAfter); }
  // Set so that it ends `fromRight` pixels inside the right margin.
  void Right(const std::string& line, int fromRight, int gapAfter) {
    Add(2480 - kMargin - fromRight - ocrtest::LineWidth(line, kBodySize), {line}, kBodySize, gapAfter);
  }
  void Paragraph(const std::string& text, int gapAfter) {
    Add(kMargin, ocrtest::SetLines(text, kIndent, kBodySize, kTextWidth), kBodySize, gapAfter);
  }
  // Two parts on one line, the first at the left margin, the second ending
  // at the right one.
  void SideBySide(const std::string& left, const std::string& right) {
    spec_.blocks.push_back({kMargin, top_, kBodySize, kLineSpacing, kBlackInk, {left}});
    Add(2480 - kMargin - ocrtest::LineWidth(right, kBodySize), {right}, kBodySize, 0);
    known_.insert(known_.end() - 1, left);
  }

  int Top() const { return top_; }
  PixPtr Render() const { return ocrtest::RenderLayoutPage(spec_); }
  const std::string& FirstLine() const { return known_.front(); }

  std::string Known() const {
    std::string text;
    for (const std::string& line : known_) text += line + "\n";
    return text;
  }

 private:
  void Add(int left, const std::vector<std::string>& lines, int pixelSize, int gapAfter) {
    spec_.blocks.push_back({left, top_, pixelSize, kLineSpacing, kBlackInk, lines});
    top_ += static_cast<int>(lines.size()) * Advance(pixelSize) + gapAfter;
    for (std::string line : lines) {
      if (line.rfind(kIndent, 0) == 0) line.erase(0, std::string(kIndent).size());
      known_.push_back(line);
    }
  }

  int top_;
  ocrtest::LayoutPageSpec spec_;
  std::vector<std::string> known_;
};

// Body paragraphs down to `bottom` pixels.
void FillWithParagraphs(NoticePage& page, std::mt19937& random, int bottom) {
  while (page.Top() + 4 * Advance(kBodySize) < bottom) {
    const bool english = random() % 4 == 0;
    page.Paragraph(english ? ocrtest::EnglishLine(random, 150 + static_cast<int>(random() % 150))
                           : ocrtest::ChineseLine(random, 60 + static_cast<int>(random() % 80)),
                   0);
  }
}

std::vector<NoticePage> NoticePages() {
  std::mt19937 random(7);
  NoticePage first(300);
  first.Centred("关于印发《重点工作计划管理办法（试行）》的通知", kTitleSize, 30);
  first.Centred("市府办发〔2023〕15号", kBodySize, 80);
  first.Left("各区人民政府，市政府各部门：", kBodySize, 0);
  FillWithParagraphs(first, random, 2750);
  first.Right("市人民政府办公室", 176, 0);
  first.Right("2023年3月15日", 200, 60);
  first.SideBySide("联系人：王明", "联系电话：0571-8765 4321");

  NoticePage second(300);
  second.Left(std::string(kIndent) + "一、工作目标", kHeadingSize, 20);
  FillWithParagraphs(second, random, 1500);
  second.Left(std::string(kIndent) + "二、主要任务", kHeadingSize, 20);
  FillWithParagraphs(second, random, 3000);
  return {std::move(first), std::move(second)};
}

struct ModeCase {
  LayoutRetention retention;
  const char* name;
};

constexpr ModeCase kModes[] = {{LayoutRetention::ExactCopy, "exact"},
                               {LayoutRetention::EditableCopy, "editable"},
                               {LayoutRetention::FormattedText, "formatted"},
                               {LayoutRetention::PlainText, "plain"}};

std::string WithoutBlanks(std::string text) {
  std::erase_if(text, [](char c) { return c == ' ' || c == '\n'; });
  return text;
}

std::string PrintedText(const std::vector<test::PrintedPage>& pages) {
  std::string text;
  for (const test::PrintedPage& page : pages) {
    int line = -1;
    for (const test::PrintedWord& word : page.words) {
      text += (word.line != line ? "\n" : " ") + word.text;
      line = word.line;
    }
  }
  return text;
}

TEST(WordModesOffice, EveryModePrintsThePagesOfTheScanWithoutTextOverTextAndWithTextThatCopies) {
  if (!test::HasSoffice()) GTEST_SKIP() << "soffice (LibreOffice) is not installed";
  if (!test::HasPdftotext()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  const std::vector<NoticePage> pages = NoticePages();
  std::vector<PixPtr> images;
  std::string known;
  for (const NoticePage& page : pages) {
    images.push_back(page.Render());
    known += page.Known();
  }
  test::TempDir directory;
  const std::vector<PageLayout> layouts = ocrtest::RecognisePages(images, directory);

  std::vector<std::string> documents;
  for (const ModeCase& mode : kModes) {
    for (const char* extension : {"docx", "rtf"}) {
      documents.push_back(directory.File(std::string(mode.name) + "-" + extension + "." + extension));
      ExportWordDocument(layouts, WordExportOptions{mode.retention, false}, documents.back());
    }
  }
  const std::string printedDirectory = directory.File("printed");
  const std::vector<std::string> pdfs = test::OfficeConvertedFiles(documents, "pdf", ".pdf", printedDirectory);
  const std::vector<std::string> texts =
      test::OfficeConvertedFiles(documents, "txt:Text", ".txt", directory.File("text"));
  test::KeepPrints(pdfs);

  for (std::size_t i = 0; i < documents.size(); ++i) {
    const std::string name = std::filesystem::path(documents[i]).filename().string();
    SCOPED_TRACE(name);
    const std::vector<test::PrintedPage> printed = test::PrintedPdfPages(pdfs[i]);
    std::size_t words = 0, overlapping = 0;
    std::string overlaps;
    for (const test::PrintedPage& page : printed) {
      words += page.words.size();
      for (const test::PrintedWord& word : test::OverlappingWords(page)) {
        ++overlapping;
        overlaps += word.text + "\n";
      }
    }
    const test::ErrorCount print = test::CharacterErrors(PrintedText(printed), known);
    const test::ErrorCount exported = test::CharacterErrors(test::WithoutByteOrderMark(test::ReadBytes(texts[i])), known);
    std::printf("%-16s pages %zu of %zu, %zu of %zu words over other text, character errors: print %.2f %%, "
                "text export %.2f %%\n",
                name.c_str(), printed.size(), pages.size(), overlapping, words, 100 * print.Rate(),
                100 * exported.Rate());
    EXPECT_EQ(printed.size(), pages.size());
    // Each page starts where the scan's page starts: nothing of one page
    // has flowed onto the page before.
    for (std::size_t page = 0; page < std::min(printed.size(), pages.size()); ++page) {
      const std::string first = WithoutBlanks(pages[page].FirstLine());
      const std::string text = WithoutBlanks(PrintedText({printed[page]}));
      EXPECT_LE(test::CharacterErrors(text.substr(0, first.size()), first).Rate(), 0.34)
          << "page " << page + 1 << " begins: " << text.substr(0, 120);
    }
    EXPECT_EQ(overlapping, 0u) << overlaps;
    EXPECT_LE(print.Rate(), kMostCharacterErrors) << PrintedText(printed);
    EXPECT_LE(exported.Rate(), kMostCharacterErrors);
  }
}

}  // namespace
}  // namespace zelk
