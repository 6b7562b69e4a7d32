#include "documents/WordLayoutFit.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "ocr/WordSpacing.h"
#include "platform/Utf8.h"

namespace zelk {
namespace {

// Advance widths of Times New Roman's printable ASCII characters (U+0020 to
// U+007E), in thousandths of an em; the apostrophe at the width of the
// typographic one, the wider of the two.
constexpr std::array<int, 95> kTimesWidths{
    250, 333, 408, 500, 500, 833, 778, 333, 333, 333, 500, 564, 250, 333, 250, 278,  // ' ' to '/'
    500, 500, 500, 500, 500, 500, 500, 500, 500, 500, 278, 278, 564, 564, 564, 444,  // '0' to '?'
    921, 722, 667, 667, 722, 611, 556, 722, 722, 333, 389, 722, 611, 889, 722, 722,  // '@' to 'O'
    556, 722, 667, 556, 611, 722, 722, 944, 722, 722, 611, 333, 278, 333, 469, 500,  // 'P' to '_'
    333, 444, 500, 444, 500, 444, 333, 500, 500, 278, 278, 500, 278, 778, 500, 500,  // '`' to 'o'
    500, 500, 333, 389, 278, 500, 500, 722, 500, 500, 444, 480, 200, 480, 541};      // 'p' to '~'

// Latin letters beyond ASCII (accented letters): the widest capital.
constexpr double kLatinLetterEms = 0.722;
// Space a word processor sets between Chinese text and Latin letters or
// digits beside it, in ems.
constexpr double kScriptChangeEms = 0.25;
// Room a line leaves at its end, in points: word processors round lengths
// to twips and their own device units.
constexpr double kRoundingRoom = 0.5;
constexpr double kSmallestFontSize = 4;

bool IsLatinLetterOrDigit(char32_t c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
         (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7);
}

double CharacterEms(char32_t c) {
  if (c >= 0x20 && c <= 0x7E) return kTimesWidths[c - 0x20] / 1000.0;
  if (c >= 0xC0 && c <= 0x24F) return kLatinLetterEms;
  return 1;  // East Asian characters, and marks of unknown width
}

double SizeOf(const WordRun& run, double defaultSize) { return run.fontSize > 0 ? run.fontSize : defaultSize; }

// Width of one line of runs, in points.
double LineWidth(const std::vector<WordRun>& runs, double defaultSize) {
  double width = 0;
  for (const WordRun& run : runs) width += SetTextWidth(DecodeUtf8(run.text), SizeOf(run, defaultSize));
  return width;
}

double FloorToHalfPoint(double size) { return std::floor(size * 2 + 1e-9) / 2; }

}  // namespace

double SetTextWidth(std::u32string_view text, double size) {
  double ems = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    ems += CharacterEms(text[i]);
    if (i == 0) continue;
    const char32_t before = text[i - 1];
    const char32_t c = text[i];
    if ((IsCjkCharacter(before) && IsLatinLetterOrDigit(c)) ||
        (IsLatinLetterOrDigit(before) && IsCjkCharacter(c))) {
      ems += kScriptChangeEms;
    }
  }
  return ems * size;
}

void FitTypeToWidth(PlacedParagraph& placed, double width, double defaultSize) {
  WordParagraph& paragraph = placed.paragraph;
  const double indent = paragraph.firstLineIndent;
  // How many times too wide the widest line is for the room it gets.
  double excess = 0;
  for (std::size_t i = 0; i < placed.lines.size(); ++i) {
    const double room = width - (i == 0 ? std::max(indent, 0.0) : std::max(-indent, 0.0)) - kRoundingRoom;
    if (room <= 0) continue;
    excess = std::max(excess, LineWidth(placed.lines[i], defaultSize) / room);
  }
  if (excess <= 1) return;
  for (WordRun& run : paragraph.runs) {
    run.fontSize = std::max(kSmallestFontSize, FloorToHalfPoint(SizeOf(run, defaultSize) / excess));
  }
}

}  // namespace zelk
