#pragma once
// A word-processor document as LibreOffice prints it: converted headless to
// PDF (OfficeText.h), then the words of every page with their boxes, as
// poppler's `pdftotext -bbox-layout` finds them.  For tests of where text
// lands on the page: which column, how many lines, how many pages.

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "support/OfficeText.h"
#include "support/TempDir.h"

namespace zelk::test {

// Lengths in points from the page's top left corner.
struct PrintedWord {
  std::string text;  // UTF-8
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
  int line = 0;  // which of the page's printed lines it stands in, counted from 0
};

struct PrintedPage {
  double width = 0;
  double height = 0;
  std::vector<PrintedWord> words;  // in poppler's reading order
};

// True when poppler's pdftotext is on PATH.
// Copies the printed documents into $ZELK_WORD_PRINTS, when it is set,
// each name preceded by `prefix`: tests/dialogs/word-prints.sh turns them
// into pictures.
inline void KeepPrints(const std::vector<std::string>& pdfs, const std::string& prefix = {}) {
  const char* keep = std::getenv("ZELK_WORD_PRINTS");
  if (keep == nullptr) return;
  std::filesystem::create_directories(keep);
  for (const std::string& pdf : pdfs) {
    std::filesystem::copy_file(pdf, std::filesystem::path(keep) / (prefix + std::filesystem::path(pdf).filename().string()),
                               std::filesystem::copy_options::overwrite_existing);
  }
}

inline bool HasPdftotext() { return !office_detail::FindOnPath("pdftotext").empty(); }

// The pages of a printed PDF with the words of each, as pdftotext finds
// them.  Raises std::runtime_error when pdftotext is missing or fails.
inline std::vector<PrintedPage> PrintedPdfPages(const std::string& pdf) {
  const std::string pdftotext = office_detail::FindOnPath("pdftotext");
  if (pdftotext.empty()) throw std::runtime_error("pdftotext not found on PATH; install poppler-utils");
  TempDir scratch;
  const std::string boxes = scratch.File("printed.html");
  const int status =
      office_detail::RunProgram({pdftotext, "-bbox-layout", pdf, boxes}, scratch.File("pdftotext.log"));
  pugi::xml_document xml;
  if (status != 0 || !xml.load_file(boxes.c_str())) {
    throw std::runtime_error("pdftotext could not read " + pdf + ": " + ReadBytes(scratch.File("pdftotext.log")));
  }
  std::vector<PrintedPage> pages;
  for (const pugi::xpath_node& pageNode : xml.select_nodes("//page")) {
    PrintedPage page;
    page.width = pageNode.node().attribute("width").as_double();
    page.height = pageNode.node().attribute("height").as_double();
    int line = 0;
    for (const pugi::xpath_node& lineNode : pageNode.node().select_nodes(".//line")) {
      for (const pugi::xpath_node& wordNode : lineNode.node().select_nodes(".//word")) {
        const pugi::xml_node word = wordNode.node();
        page.words.push_back(PrintedWord{word.text().get(), word.attribute("xMin").as_double(),
                                         word.attribute("yMin").as_double(), word.attribute("xMax").as_double(),
                                         word.attribute("yMax").as_double(), line});
      }
      ++line;
    }
    pages.push_back(std::move(page));
  }
  return pages;
}

// The pages of the document as LibreOffice prints them.  Raises
// std::runtime_error when soffice or pdftotext is missing or fails.
inline std::vector<PrintedPage> OfficePrintedPages(const std::string& documentPath) {
  TempDir scratch;
  const std::string pdf = scratch.File("printed.pdf");
  WriteBytes(pdf, OfficeConvertedBytes(documentPath, "pdf", ".pdf"));
  return PrintedPdfPages(pdf);
}

// Words whose ink overlaps a word of another printed line on the same
// page, text printed over text.  Poppler's boxes run from the face's
// ascent to its descent, about 1.3 em, so the boxes of lines set at single
// spacing overlap without their ink meeting; the ink is taken as the box
// without the top and bottom sixths of its height (about the em).
inline std::vector<PrintedWord> OverlappingWords(const PrintedPage& page) {
  auto inkTop = [](const PrintedWord& word) { return word.top + (word.bottom - word.top) / 6; };
  auto inkBottom = [](const PrintedWord& word) { return word.bottom - (word.bottom - word.top) / 6; };
  std::vector<PrintedWord> overlapping;
  for (const PrintedWord& a : page.words) {
    for (const PrintedWord& b : page.words) {
      if (a.line == b.line) continue;
      const double across = std::min(a.right, b.right) - std::max(a.left, b.left);
      const double down = std::min(inkBottom(a), inkBottom(b)) - std::max(inkTop(a), inkTop(b));
      if (across > 1 && down > 0.5) {
        overlapping.push_back(a);
        break;
      }
    }
  }
  return overlapping;
}

}  // namespace zelk::test
