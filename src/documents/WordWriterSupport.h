#pragma once
// What the RTF and DOCX writers share: lengths in the units the formats
// take, page geometry kept inside what word processors accept, and the
// characters of a run cleaned of what a document cannot hold.

#include <string>
#include <string_view>

#include "documents/WordDocument.h"
#include "ocr/PageLayout.h"

namespace zelk {

// Twentieths of a point, rounded.
int Twips(double points);

// Half-points of a font size, within what word processors accept (1 to
// 1638 points); a size of 0 or less gives the fallback.
int HalfPoints(double points, double fallbackPoints);

// A section's page in twips.  Word accepts pages of 0.1 to 22 inches and
// at most 45 columns; margins are cut back so that at least a tenth of the
// page stays for text, and nothing is negative.
struct PageGeometry {
  int width = 0;
  int height = 0;
  int marginLeft = 0;
  int marginRight = 0;
  int marginTop = 0;
  int marginBottom = 0;
  int columns = 1;
  int columnGap = 0;
};
PageGeometry PageGeometryOf(const WordSection& section);

// A frame's place and size in twips, on the page and at least a point large.
struct FrameGeometry {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};
FrameGeometry FrameGeometryOf(const WordFrame& frame);

// The code points of a run's UTF-8 text as a document holds them: a line
// break, tab or other control character becomes a blank (a run has no hard
// breaks), a surrogate or a value beyond Unicode the replacement character,
// and the non-characters U+FFFE and U+FFFF are dropped.
std::u32string DocumentCharacters(std::string_view utf8);

// "RRGGBB" in upper-case hex.
std::string HexColour(Rgb colour);

}  // namespace zelk
