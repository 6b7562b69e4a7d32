#include "documents/WordLayoutText.h"

#include <algorithm>
#include <cmath>

#include "ocr/WordSpacing.h"
#include "platform/Utf8.h"

namespace zelk {
namespace {

// Type sizes outside this range are estimates gone wrong.
constexpr double kSmallestFontSize = 4;
constexpr double kLargestFontSize = 200;
// A line's size within this share of the paragraph's is taken as the same.
constexpr double kSameSizeShare = 1.0 / 6;
// Words of a table row further apart than this share of the line height
// lie in different cells.
constexpr double kCellGapShare = 1.0;

bool IsLatin(char32_t c) { return c > 0x20 && !IsCjkCharacter(c); }

bool IsLatinLetter(char32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

double RoundToHalfPoint(double size) { return std::round(size * 2) / 2; }

// Appends text in a look, extending the last run while the look stays.
class RunCollector {
 public:
  void Append(const std::string& text, double fontSize, Rgb color) {
    if (runs_.empty() || runs_.back().fontSize != fontSize || !(runs_.back().color == color)) {
      runs_.push_back(WordRun{text, fontSize, color});
    } else {
      runs_.back().text += text;
    }
  }
  // A blank between words goes with the text before it.
  void AppendBlank() {
    if (!runs_.empty()) runs_.back().text += ' ';
  }
  std::vector<WordRun> Take() { return std::move(runs_); }

 private:
  std::vector<WordRun> runs_;
};

}  // namespace

bool BlankBetweenLines(const std::string& previous, const std::string& next) {
  const std::u32string before = DecodeUtf8(previous);
  const std::u32string after = DecodeUtf8(next);
  if (before.empty() || after.empty()) return false;
  const char32_t last = before.back();
  const char32_t first = after.front();
  if (!IsLatin(last) || !IsLatin(first)) return false;
  // "inter-" + "national": one word broken over the lines.
  const bool brokenWord = last == '-' && before.size() >= 2 && IsLatinLetter(before[before.size() - 2]) &&
                          first >= 'a' && first <= 'z';
  return !brokenWord;
}

double LineFontSize(const LayoutParagraph& paragraph, std::size_t line) {
  const double own = paragraph.lines[line].fontSize;
  if (!(own > 0)) return 0;
  std::vector<double> sizes;
  for (const LayoutLine& each : paragraph.lines) {
    if (each.fontSize > 0) sizes.push_back(each.fontSize);
  }
  auto middle = sizes.begin() + static_cast<std::ptrdiff_t>(sizes.size() / 2);
  std::nth_element(sizes.begin(), middle, sizes.end());
  const double usual = *middle;
  const double size = std::abs(own - usual) <= usual * kSameSizeShare ? usual : own;
  return RoundToHalfPoint(std::clamp(size, kSmallestFontSize, kLargestFontSize));
}

std::vector<WordRun> ParagraphRuns(const LayoutParagraph& paragraph, std::size_t firstLine,
                                   std::size_t endLine, const RunLook& look, bool tableRow) {
  RunCollector runs;
  std::string previousWord;
  endLine = std::min(endLine, paragraph.lines.size());
  for (std::size_t lineIndex = firstLine; lineIndex < endLine; ++lineIndex) {
    const LayoutLine& line = paragraph.lines[lineIndex];
    const double fontSize = look.fontSizes ? LineFontSize(paragraph, lineIndex) : 0;
    const int lineHeight = std::max(line.box.bottom - line.box.top, 1);
    for (std::size_t i = 0; i < line.words.size(); ++i) {
      const LayoutWord& word = line.words[i];
      if (word.text.empty()) continue;
      if (!previousWord.empty()) {
        const bool lineStart = i == 0;
        const bool blank = lineStart ? BlankBetweenLines(previousWord, word.text)
                                     : line.words[i - 1].spaceAfter ||
                                           (tableRow && word.box.left - line.words[i - 1].box.right >
                                                            lineHeight * kCellGapShare);
        if (blank) runs.AppendBlank();
      }
      runs.Append(word.text, fontSize, look.colours ? word.color : kBlackInk);
      previousWord = word.text;
    }
  }
  return runs.Take();
}

}  // namespace zelk
