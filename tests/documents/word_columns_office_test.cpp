// Two-column A4 pages of known Chinese and English text, rendered at
// 300 dpi, recognised by the real engine and exported in the editable-copy
// mode, then printed by LibreOffice as a word processor lays them out.  The
// printed pages must keep the columns of the scans: each page on one page,
// each paragraph in the column it came from, and no line wrapped earlier
// than on the scan.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "documents/WordExport.h"
#include "platform/Utf8.h"
#include "support/CharacterErrors.h"
#include "support/OfficePrint.h"
#include "support/TempDir.h"
#include "KnownTextLines.h"
#include "RecognisedPages.h"
#include "TextPageRenderer.h"
#include "TypesetLines.h"

namespace zelk {
namespace {

// The pages: A4 at 300 dpi, two columns of 960 px with a 100 px gutter,
// type of 44 px (10.5 pt) on a 1.8 em pitch, a blank line between
// paragraphs, Chinese paragraphs indented by two characters.
constexpr int kDpi = 300;
constexpr int kLeftColumn = 236;
constexpr int kColumnWidth = 960;
constexpr int kGutter = 100;
constexpr int kRightColumn = kLeftColumn + kColumnWidth + kGutter;
constexpr int kPixelSize = 44;
constexpr double kLineSpacing = 1.8;
constexpr const char* kIndent = "\u3000\u3000";

// Character errors allowed against the known text.
constexpr double kMostCharacterErrors = 0.03;

// One column's text: paragraphs of lines as a typesetter breaks them.
using Paragraphs = std::vector<std::vector<std::string>>;

// `lineCount` lines, blank lines between paragraphs included; the last
// paragraph ends where the column does.
Paragraphs ColumnText(unsigned seed, int lineCount) {
  std::mt19937 random(seed);
  Paragraphs paragraphs;
  for (int linesLeft = lineCount; linesLeft > 0;) {
    const bool english = random() % 3 == 0;
    const int length = 30 + static_cast<int>(random() % 110);
    std::vector<std::string> paragraph =
        english ? ocrtest::SetLines(ocrtest::EnglishLine(random, length * 2), "", kPixelSize, kColumnWidth)
                : ocrtest::SetLines(ocrtest::ChineseLine(random, length), kIndent, kPixelSize, kColumnWidth);
    paragraph.resize(std::min<std::size_t>(paragraph.size(), linesLeft));
    linesLeft -= static_cast<int>(paragraph.size()) + 1;
    paragraphs.push_back(std::move(paragraph));
  }
  return paragraphs;
}

// The column as one block of lines, a blank line between paragraphs.
std::vector<std::string> BlockLines(const Paragraphs& column) {
  std::vector<std::string> lines;
  for (const auto& paragraph : column) {
    if (!lines.empty()) lines.push_back("");
    lines.insert(lines.end(), paragraph.begin(), paragraph.end());
  }
  return lines;
}

// The text as printed: the indent is blank space.
std::string Text(const Paragraphs& column) {
  std::string text;
  for (const auto& paragraph : column) {
    for (std::string line : paragraph) {
      if (line.rfind(kIndent, 0) == 0) line.erase(0, std::string(kIndent).size());
      text += line + "\n";
    }
  }
  return text;
}

struct TwoColumnPage {
  std::string heading;  // centred above the columns; may be empty
  Paragraphs left;
  Paragraphs right;

  std::string Known() const { return (heading.empty() ? "" : heading + "\n") + Text(left) + Text(right); }
  // Where the columns start, in pixels.
  int ColumnsTop() const { return heading.empty() ? 300 : 440; }
};

constexpr int kHeadingPixelSize = 80;

PixPtr Render(const TwoColumnPage& page) {
  ocrtest::LayoutPageSpec spec;
  spec.dpi = kDpi;
  if (!page.heading.empty()) {
    const int left = (spec.width - ocrtest::LineWidth(page.heading, kHeadingPixelSize)) / 2;
    spec.blocks.push_back({left, 200, kHeadingPixelSize, 1.5, kBlackInk, {page.heading}});
  }
  spec.blocks.push_back({kLeftColumn, page.ColumnsTop(), kPixelSize, kLineSpacing, kBlackInk, BlockLines(page.left)});
  spec.blocks.push_back({kRightColumn, page.ColumnsTop(), kPixelSize, kLineSpacing, kBlackInk, BlockLines(page.right)});
  return ocrtest::RenderLayoutPage(spec);
}

// The blank strip between the columns on the page: the run of columns of
// pixels without ink, below `top`, around the middle of the gutter as set.
std::pair<int, int> BlankStrip(PIX* page, int top) {
  auto blank = [&](int x) {
    for (int y = top; y < static_cast<int>(pixGetHeight(page)); ++y) {
      l_int32 red = 0, green = 0, blue = 0;
      pixGetRGBPixel(page, x, y, &red, &green, &blue);
      if (red + green + blue < 3 * 200) return false;
    }
    return true;
  };
  int left = kLeftColumn + kColumnWidth + kGutter / 2;
  int right = left;
  while (blank(left - 1)) --left;
  while (blank(right)) ++right;
  return {left, right};
}

double Points(double pixels) { return pixels * 72.0 / kDpi; }

// Printed lines: words grouped by height, top to bottom, each line's words
// left to right.
using PrintedLines = std::vector<std::vector<test::PrintedWord>>;

PrintedLines LinesOf(std::vector<test::PrintedWord> words) {
  auto middle = [](const test::PrintedWord& word) { return (word.top + word.bottom) / 2; };
  std::sort(words.begin(), words.end(),
            [&](const test::PrintedWord& a, const test::PrintedWord& b) { return middle(a) < middle(b); });
  PrintedLines lines;
  for (const test::PrintedWord& word : words) {
    if (lines.empty() || middle(word) > lines.back().front().bottom) lines.push_back({});
    lines.back().push_back(word);
  }
  for (auto& line : lines) {
    std::sort(line.begin(), line.end(),
              [](const test::PrintedWord& a, const test::PrintedWord& b) { return a.left < b.left; });
  }
  return lines;
}

std::string TextOf(const PrintedLines& lines) {
  std::string text;
  for (const auto& line : lines) {
    for (const test::PrintedWord& word : line) text += word.text + " ";
    text += "\n";
  }
  return text;
}

// One printed page: the words above the columns, and each column's lines,
// split at the middle of the scan's gutter.
struct PrintedColumns {
  PrintedLines above;
  PrintedLines left;
  PrintedLines right;
};

PrintedColumns Columns(const test::PrintedPage& page, double columnsTop) {
  const double split = Points(kLeftColumn + kColumnWidth + kGutter / 2.0);
  std::vector<test::PrintedWord> above, left, right;
  for (const test::PrintedWord& word : page.words) {
    if (word.bottom < columnsTop) {
      above.push_back(word);
    } else {
      ((word.left + word.right) / 2 < split ? left : right).push_back(word);
    }
  }
  return {LinesOf(above), LinesOf(left), LinesOf(right)};
}

// How many lines the engine found in one column (below `top` pixels).
std::size_t RecognisedLines(const PageLayout& page, bool leftColumn, int top) {
  const int split = kLeftColumn + kColumnWidth + kGutter / 2;
  std::size_t lines = 0;
  for (const LayoutBlock& block : page.blocks) {
    for (const LayoutParagraph& paragraph : block.paragraphs) {
      for (const LayoutLine& line : paragraph.lines) {
        const bool left = (line.box.left + line.box.right) / 2 < split;
        if (line.box.top >= top && left == leftColumn) ++lines;
      }
    }
  }
  return lines;
}

// The known text of a column and what was printed of it: at most the
// allowed share of character errors, and no more lines than the engine
// found in the column, so that no recognised line wrapped early.
void ExpectColumn(const PrintedLines& printed, const Paragraphs& known, std::size_t recognisedLines,
                  const char* column) {
  SCOPED_TRACE(column);
  const test::ErrorCount errors = test::CharacterErrors(TextOf(printed), Text(known));
  EXPECT_LE(errors.Rate(), kMostCharacterErrors)
      << errors.errors << " of " << errors.characters << " characters wrong; printed:\n" << TextOf(printed);
  EXPECT_LE(printed.size(), recognisedLines) << "printed:\n" << TextOf(printed);
}

TEST(WordColumnsOffice, EditableCopyPrintsTheColumnsOfTheScannedPages) {
  if (!test::HasSoffice()) GTEST_SKIP() << "soffice (LibreOffice) is not installed";
  if (!test::HasPdftotext()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  // Columns down to about 2.5 cm above the foot of the page.
  const std::vector<TwoColumnPage> pages{{"", ColumnText(11, 37), ColumnText(12, 37)},
                                         {"双栏页面的标题", ColumnText(21, 35), ColumnText(23, 35)}};
  std::vector<PixPtr> images;
  for (const TwoColumnPage& page : pages) {
    // The known text fits its columns as set on the scans.
    for (const Paragraphs* column : {&page.left, &page.right}) {
      for (const std::string& line : BlockLines(*column)) {
        ASSERT_LE(ocrtest::LineWidth(line, kPixelSize), kColumnWidth) << line;
      }
    }
    images.push_back(Render(page));
  }
  test::TempDir directory;
  const std::vector<PageLayout> layouts = ocrtest::RecognisePages(images, directory);
  const WordExportOptions options{LayoutRetention::EditableCopy, false};

  // The columns' gap is the blank strip between them on the scan, to what
  // the recogniser's boxes give (a few pixels).
  for (std::size_t i = 0; i < pages.size(); ++i) {
    const auto [stripLeft, stripRight] = BlankStrip(images[i].get(), pages[i].ColumnsTop());
    const WordSection columns = BuildWordDocument({layouts[i]}, options).sections.back();
    ASSERT_EQ(columns.columnWidths.size(), 2u) << "page " << i + 1;
    EXPECT_NEAR(columns.columnWidths[0].gapAfter, Points(stripRight - stripLeft), 1) << "page " << i + 1;
  }

  std::string known;
  for (const TwoColumnPage& page : pages) known += page.Known();
  for (const char* name : {"columns.docx", "columns.rtf"}) {
    SCOPED_TRACE(name);
    const std::string path = directory.File(name);
    ExportWordDocument(layouts, options, path);

    // The text a word processor reads, in reading order: each page's left
    // column entirely before its right one.
    const test::ErrorCount read = test::CharacterErrors(test::OfficeDocumentText(path), known);
    EXPECT_LE(read.Rate(), kMostCharacterErrors) << read.errors << " of " << read.characters;

    const std::vector<test::PrintedPage> printed = test::OfficePrintedPages(path);
    ASSERT_EQ(printed.size(), pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
      SCOPED_TRACE("page " + std::to_string(i + 1));
      // The heading stands above the columns.
      const int top = pages[i].ColumnsTop();
      const PrintedColumns columns = Columns(printed[i], pages[i].heading.empty() ? 0 : Points(top - 40));
      EXPECT_LE(test::CharacterErrors(TextOf(columns.above), pages[i].heading).errors, 1) << TextOf(columns.above);
      ExpectColumn(columns.left, pages[i].left, RecognisedLines(layouts[i], true, top - 40), "left column");
      ExpectColumn(columns.right, pages[i].right, RecognisedLines(layouts[i], false, top - 40), "right column");
    }
  }
}

}  // namespace
}  // namespace zelk
