#pragma once
// Pages as real scanners and real offices give them, with known text: A4
// colour at 300 dpi with paragraphs on tinted boxes in coloured ink, sheets
// fed sideways or upside down, sheets fed askew, and two-column pages.  The
// recognition tests and benchmarks feed them to the engine and measure the
// character errors of what comes back against `lines`.

#include <string>
#include <vector>

#include "imaging/Page.h"

namespace zelk::ocrtest {

struct ScanCasePage {
  std::string name;                // short, for file names and reports
  PixPtr image;                    // 32-bit RGB, resolution set
  std::vector<std::string> lines;  // the text in reading order
};

// `lines` set as an ordinary black page with margins of 2 cm.
ScanCasePage PlainScanPage(const std::vector<std::string>& lines);

// `lines` set in paragraphs of a few lines, each on a box of a pale colour
// (yellow, blue, green, grey, pink), some in dark red or dark blue ink, one
// kind of each given by `variant`.
ScanCasePage TintedBoxesPage(const std::vector<std::string>& lines, int variant);

// `lines` in two columns: the first half on the left, the rest on the
// right, each column in paragraphs of a few lines.  Lines should be short
// enough for half the page (about 18 Chinese characters).
ScanCasePage TwoColumnPage(const std::vector<std::string>& lines);

// The page as fed turned by `quarterTurns` x 90 degrees clockwise.
ScanCasePage TurnedPage(const ScanCasePage& upright, int quarterTurns);

// The page as fed askew: rotated by `degrees` (clockwise positive), the
// corners brought in as white paper.
ScanCasePage SkewedPage(const ScanCasePage& straight, double degrees);

// Writes the page as a colour JPEG at `quality`, as a scanner saves it.
void WriteJpegScan(const ScanCasePage& page, const std::string& path, int quality = 85);

// Short Chinese-and-English lines for two-column pages, `count` of them,
// the same for every call with the same seed.
std::vector<std::string> ShortLines(int count, unsigned seed);

// Full-width lines for one A4 page, the same for every call with the same
// seed: mostly Chinese with the odd English term, some English sentences.
std::vector<std::string> FullWidthLines(int count, unsigned seed);

}  // namespace zelk::ocrtest
