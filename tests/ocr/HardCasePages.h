#pragma once
// Pages of the kinds archives hold that plain recognition reads badly,
// with known text: a fax, text set in columns, a red seal over the text,
// a page scanned at 600 dpi, one whose resolution tag cannot be true, and
// the blank back of a duplex scan.

#include <string>
#include <vector>

#include "ScanCasePages.h"

namespace zelk::ocrtest {

// A bitonal fax page at 204 x 98 dpi: pixels twice as tall as wide.
ScanCasePage FaxPage(const std::vector<std::string>& lines);

// Columns read top to bottom, right to left; `columns` in reading order.
ScanCasePage VerticalPage(const std::vector<std::string>& columns);

// An ordinary page with a red seal stamped over its last lines.
ScanCasePage SealPage(const std::vector<std::string>& lines);

// A grey A4 page at 600 dpi.
ScanCasePage FinePage(const std::vector<std::string>& lines);

// The same pixels as FinePage, tagged 72 dpi as some software saves them.
ScanCasePage MistaggedPage(const std::vector<std::string>& lines);

// An A4 back with no print: off-white paper with scanner specks.
ScanCasePage BlankBackPage();

// Chinese-only lines for columns, `count` of about `characters` each.
std::vector<std::string> ColumnLines(int count, int characters, unsigned seed);

// Writes the page as a TIFF: CCITT G3 for a bitonal page (as a fax
// arrives), LZW otherwise.
void WriteTiffScan(const ScanCasePage& page, const std::string& path);

}  // namespace zelk::ocrtest
