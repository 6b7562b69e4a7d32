#pragma once
// What the RTF and DOCX writers share: lengths in the units the formats
// take, page geometry kept inside what word processors accept, and the
// characters of a run cleaned of what a document cannot hold.

#include <string>
#include <string_view>
#include <vector>

#include "documents/WordDocument.h"
#include "ocr/PageLayout.h"

namespace zelk {

// The paragraph that holds a column break: one point high, its type one
// point large, so that it takes next to no room at the foot of the column
// it ends nor at the head of the one it starts.
inline constexpr int kColumnBreakLineTwips = 20;
inline constexpr int kColumnBreakHalfPoints = 2;

// Twentieths of a point, rounded.
int Twips(double points);

// Half-points of a font size, within what word processors accept (1 to
// 1638 points); a size of 0 or less gives the fallback.
int HalfPoints(double points, double fallbackPoints);

// One column of a section in twips: its width and the gap to its right.
struct ColumnGeometry {
  int width = 0;
  int gapAfter = 0;
};

// A section's page in twips.  Word accepts pages of 0.1 to 22 inches and
// at most 45 columns; margins are cut back so that at least a tenth of the
// page stays for text, and nothing is negative.  Columns of their own
// widths fill the text width exactly (scaled to it where the margins were
// cut back); where they cannot, the columns are of equal width.
struct PageGeometry {
  int width = 0;
  int height = 0;
  int marginLeft = 0;
  int marginRight = 0;
  int marginTop = 0;
  int marginBottom = 0;
  int columns = 1;
  int columnGap = 0;
  std::vector<ColumnGeometry> columnWidths;  // empty: equal columns
};
PageGeometry PageGeometryOf(const WordSection& section);

// A paragraph's indents in twips: the left one from the column's or cell's
// edge to the lines after the first (a hanging first line starts further
// left by its hang), the right one, and the first line's own (negative for
// a hanging indent).
struct ParagraphIndents {
  int left = 0;
  int right = 0;
  int firstLine = 0;
};
ParagraphIndents IndentsOf(const WordParagraph& paragraph);

// The code points of a run's UTF-8 text as a document holds them: a line
// break, tab or other control character becomes a blank (a run has no hard
// breaks), a surrogate or a value beyond Unicode the replacement character,
// and the non-characters U+FFFE and U+FFFF are dropped.
std::u32string DocumentCharacters(std::string_view utf8);

// "RRGGBB" in upper-case hex.
std::string HexColour(Rgb colour);

}  // namespace zelk
