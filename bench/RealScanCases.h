#pragma once
// The mixed set of real-scan-like pages the real-scans benchmark measures,
// each with text of its own: a plain page, five pages on tinted boxes in
// coloured ink, three plain pages fed turned (90, 180, 270 degrees
// clockwise), three fed askew (+3, -3, +2.5 degrees) and a two-column
// page, all A4 colour at 300 dpi.

#include <functional>
#include <string>
#include <vector>

#include "ScanCasePages.h"

namespace zelk::bench {

struct ScanCase {
  std::string name;                // for the report
  std::string file;                // the JPEG's file name, numbered in the order of the set
  std::vector<std::string> lines;  // the known text in reading order
  std::function<ocrtest::ScanCasePage(const std::vector<std::string>&)> render;
};

// The set, without rendering anything: the known text is all a caller
// needs to score the results.
std::vector<ScanCase> MixedScanCases();

// The hard kinds, as TIFFs: a bitonal fax at 204 x 98 dpi (G4, which
// img2pdf takes as it is), text set in columns, a red seal over the text,
// a grey page at 600 dpi and the same tagged 72 dpi.
std::vector<ScanCase> HardScanCases();

// Renders every case and writes it into `directory`, as a colour JPEG or
// as the TIFF its file name asks for; throws when a page cannot be written.
void WriteScanCases(const std::vector<ScanCase>& cases, const std::string& directory);

}  // namespace zelk::bench
