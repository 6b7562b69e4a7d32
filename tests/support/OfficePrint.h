#pragma once
// A word-processor document as LibreOffice prints it: converted headless to
// PDF (OfficeText.h), then the words of every page with their boxes, as
// poppler's `pdftotext -bbox-layout` finds them.  For tests of where text
// lands on the page: which column, how many lines, how many pages.

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
};

struct PrintedPage {
  double width = 0;
  double height = 0;
  std::vector<PrintedWord> words;  // in poppler's reading order
};

// True when poppler's pdftotext is on PATH.
inline bool HasPdftotext() { return !office_detail::FindOnPath("pdftotext").empty(); }

// The pages of the document as LibreOffice prints them.  Raises
// std::runtime_error when soffice or pdftotext is missing or fails.
inline std::vector<PrintedPage> OfficePrintedPages(const std::string& documentPath) {
  const std::string pdftotext = office_detail::FindOnPath("pdftotext");
  if (pdftotext.empty()) throw std::runtime_error("pdftotext not found on PATH; install poppler-utils");
  TempDir scratch;
  const std::string pdf = scratch.File("printed.pdf");
  const std::string boxes = scratch.File("printed.html");
  WriteBytes(pdf, OfficeConvertedBytes(documentPath, "pdf", ".pdf"));
  const int status =
      office_detail::RunProgram({pdftotext, "-bbox-layout", pdf, boxes}, scratch.File("pdftotext.log"));
  pugi::xml_document xml;
  if (status != 0 || !xml.load_file(boxes.c_str())) {
    throw std::runtime_error("pdftotext could not read the printed " + documentPath + ": " +
                             ReadBytes(scratch.File("pdftotext.log")));
  }
  std::vector<PrintedPage> pages;
  for (const pugi::xpath_node& pageNode : xml.select_nodes("//page")) {
    PrintedPage page;
    page.width = pageNode.node().attribute("width").as_double();
    page.height = pageNode.node().attribute("height").as_double();
    for (const pugi::xpath_node& wordNode : pageNode.node().select_nodes(".//word")) {
      const pugi::xml_node word = wordNode.node();
      page.words.push_back(PrintedWord{word.text().get(), word.attribute("xMin").as_double(),
                                       word.attribute("yMin").as_double(),
                                       word.attribute("xMax").as_double(),
                                       word.attribute("yMax").as_double()});
    }
    pages.push_back(std::move(page));
  }
  return pages;
}

}  // namespace zelk::test
