#include "documents/WordWriterSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/Utf8.h"

namespace zelk {
namespace {

constexpr int kTwipsPerInch = 1440;
constexpr int kSmallestPage = kTwipsPerInch / 10;
constexpr int kLargestPage = 22 * kTwipsPerInch;
constexpr int kMostColumns = 45;

// Margins of one direction cut back in proportion so that at least a tenth
// of the page length stays between them.
void FitMargins(int pageLength, int& before, int& after) {
  before = std::max(before, 0);
  after = std::max(after, 0);
  const int allowed = pageLength - pageLength / 10;
  const long long total = static_cast<long long>(before) + after;
  if (total <= allowed) return;
  before = static_cast<int>(static_cast<long long>(before) * allowed / total);
  after = allowed - before;
}

int ClampedTwips(double points, int lowest, int highest) {
  if (!std::isfinite(points)) return lowest;
  return static_cast<int>(std::clamp<double>(std::lround(std::clamp(points, -1e7, 1e7) * 20),
                                             lowest, highest));
}

// The section's own column widths in twips, filling `textWidth` exactly:
// the column edges, each rounded from its place along the text width, so
// that rounding does not add up.  Empty when the columns are not usable.
std::vector<ColumnGeometry> ColumnWidthsOf(const WordSection& section, int columns, int textWidth) {
  if (static_cast<int>(section.columnWidths.size()) != columns || columns < 2) return {};
  std::vector<double> edges{0};  // left edge, right edge, next left edge, ...
  for (const WordColumn& column : section.columnWidths) {
    if (!std::isfinite(column.width) || !std::isfinite(column.gapAfter) || column.width <= 0 ||
        column.gapAfter < 0) {
      return {};
    }
    edges.push_back(edges.back() + column.width);
    edges.push_back(edges.back() + column.gapAfter);
  }
  edges.pop_back();  // no gap after the last column
  const double scale = textWidth / edges.back();
  std::vector<ColumnGeometry> widths;
  for (std::size_t i = 0; i + 1 < edges.size(); i += 2) {
    const long left = std::lround(edges[i] * scale);
    const long right = std::lround(edges[i + 1] * scale);
    const long next = i + 2 < edges.size() ? std::lround(edges[i + 2] * scale) : right;
    if (right <= left) return {};
    widths.push_back({static_cast<int>(right - left), static_cast<int>(next - right)});
  }
  return widths;
}

}  // namespace

int Twips(double points) { return ClampedTwips(points, -kLargestPage, kLargestPage); }

int HalfPoints(double points, double fallbackPoints) {
  if (!(points > 0)) points = fallbackPoints > 0 ? fallbackPoints : 10.5;
  return static_cast<int>(std::clamp<long>(std::lround(std::min(points, 1e4) * 2), 2, 3276));
}

PageGeometry PageGeometryOf(const WordSection& section) {
  PageGeometry page;
  page.width = ClampedTwips(section.pageWidth, kSmallestPage, kLargestPage);
  page.height = ClampedTwips(section.pageHeight, kSmallestPage, kLargestPage);
  page.marginLeft = ClampedTwips(section.marginLeft, 0, kLargestPage);
  page.marginRight = ClampedTwips(section.marginRight, 0, kLargestPage);
  page.marginTop = ClampedTwips(section.marginTop, 0, kLargestPage);
  page.marginBottom = ClampedTwips(section.marginBottom, 0, kLargestPage);
  FitMargins(page.width, page.marginLeft, page.marginRight);
  FitMargins(page.height, page.marginTop, page.marginBottom);
  page.columns = std::clamp(section.columns, 1, kMostColumns);
  page.columnGap = ClampedTwips(section.columnGap, 0, kLargestPage);
  // The gaps may not eat the text width: each column keeps at least a tenth
  // of its share.
  const int textWidth = page.width - page.marginLeft - page.marginRight;
  if (page.columns > 1) {
    const int widestGap = textWidth * 9 / 10 / (page.columns - 1);
    page.columnGap = std::min(page.columnGap, widestGap);
  }
  page.columnWidths = ColumnWidthsOf(section, page.columns, textWidth);
  return page;
}

ParagraphIndents IndentsOf(const WordParagraph& paragraph) {
  const int firstLine = Twips(paragraph.firstLineIndent);
  return ParagraphIndents{Twips(paragraph.leftIndent) + std::max(-firstLine, 0), Twips(paragraph.rightIndent),
                          firstLine};
}

std::u32string DocumentCharacters(std::string_view utf8) {
  std::u32string characters;
  for (char32_t c : DecodeUtf8(utf8)) {
    if (c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0x2028 || c == 0x2029) {
      characters += U' ';
    } else if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
      characters += U'\uFFFD';
    } else if (c != 0xFFFE && c != 0xFFFF) {
      characters += c;
    }
  }
  return characters;
}

std::string HexColour(Rgb colour) {
  char hex[7];
  std::snprintf(hex, sizeof hex, "%02X%02X%02X", colour.red, colour.green, colour.blue);
  return hex;
}

}  // namespace zelk
