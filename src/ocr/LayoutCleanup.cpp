#include "ocr/LayoutCleanup.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "ocr/Median.h"
#include "ocr/WordSpacing.h"
#include "platform/Utf8.h"

namespace zelk {
namespace {

// Boxes may touch or overlap by this many pixels without being suspect.
constexpr int kOverlapTolerance = 2;
// A word wider than this many line heights per character width is suspect.
constexpr double kMaxWidthPerUnit = 2.0;
// Width of a character relative to a Chinese one.
constexpr double kLatinUnit = 0.6;
// A fragment line is lower than this share of the median line height...
constexpr double kFragmentHeightShare = 0.5;
// ...and recognised with a mean confidence below this.
constexpr double kFragmentConfidence = 60;

double WidthUnits(const std::string& text) {
  double units = 0;
  for (char32_t c : DecodeUtf8(text)) units += IsCjkCharacter(c) ? 1.0 : kLatinUnit;
  return std::max(units, kLatinUnit);
}

int Height(const TextBox& box) { return box.bottom - box.top; }

void ClampInto(TextBox& box, const TextBox& outer) {
  box.left = std::clamp(box.left, outer.left, outer.right);
  box.right = std::clamp(box.right, box.left, outer.right);
  box.top = std::clamp(box.top, outer.top, outer.bottom);
  box.bottom = std::clamp(box.bottom, box.top, outer.bottom);
}

std::vector<bool> SuspectWords(const LayoutLine& line) {
  const auto& words = line.words;
  const double height = std::max(1, Height(line.box));
  std::vector<bool> suspect(words.size(), false);
  for (std::size_t i = 0; i < words.size(); ++i) {
    const int width = words[i].box.right - words[i].box.left;
    if (width <= 0 || width > kMaxWidthPerUnit * WidthUnits(words[i].text) * height) suspect[i] = true;
    if (i + 1 < words.size() && words[i].box.right > words[i + 1].box.left + kOverlapTolerance) {
      suspect[i] = suspect[i + 1] = true;
    }
  }
  return suspect;
}

// Spreads words [first, last) over [left, right) by their width units.
void Spread(std::vector<LayoutWord>& words, std::size_t first, std::size_t last, int left, int right) {
  double total = 0;
  for (std::size_t i = first; i < last; ++i) total += WidthUnits(words[i].text);
  double x = left;
  for (std::size_t i = first; i < last; ++i) {
    const double width = (right - left) * WidthUnits(words[i].text) / total;
    words[i].box.left = static_cast<int>(std::lround(x));
    x += width;
    words[i].box.right = static_cast<int>(std::lround(x));
  }
}

}  // namespace

void RepairWordBoxes(LayoutLine& line) {
  auto& words = line.words;
  for (LayoutWord& word : words) ClampInto(word.box, line.box);
  const std::vector<bool> suspect = SuspectWords(line);
  for (std::size_t first = 0; first < words.size();) {
    if (!suspect[first]) {
      ++first;
      continue;
    }
    std::size_t last = first;
    while (last < words.size() && suspect[last]) ++last;
    const int roomLeft = first > 0 ? words[first - 1].box.right : line.box.left;
    const int roomRight = std::max(roomLeft, last < words.size() ? words[last].box.left : line.box.right);
    int left = roomRight, right = roomLeft;
    for (std::size_t i = first; i < last; ++i) {
      left = std::min(left, words[i].box.left);
      right = std::max(right, words[i].box.right);
    }
    left = std::max(left, roomLeft);
    right = std::min(right, roomRight);
    if (right - left < static_cast<int>(last - first)) {
      left = roomLeft;
      right = roomRight;
    }
    Spread(words, first, last, left, right);
    first = last;
  }
}

void RemoveFragmentLines(PageLayout& layout) {
  std::vector<TextBox> boxes;
  for (const LayoutBlock& block : layout.blocks) {
    for (const LayoutParagraph& paragraph : block.paragraphs) {
      for (const LayoutLine& line : paragraph.lines) boxes.push_back(line.box);
    }
  }
  if (boxes.empty()) return;
  std::vector<int> heights;
  for (const TextBox& box : boxes) heights.push_back(Height(box));
  const double minimumHeight = kFragmentHeightShare * Median(std::move(heights));
  // A fragment overlaps a line at least twice its height; a line of small
  // print standing on its own (a footnote, a page number) is never dropped.
  const auto touchesTallerLine = [&boxes](const TextBox& box) {
    return std::any_of(boxes.begin(), boxes.end(), [&box](const TextBox& other) {
      return Height(other) >= 2 * Height(box) && other.left < box.right && box.left < other.right &&
             other.top <= box.bottom && box.top <= other.bottom;
    });
  };
  const auto isFragment = [&](const LayoutLine& line) {
    const double confidence =
        std::accumulate(line.words.begin(), line.words.end(), 0.0,
                        [](double sum, const LayoutWord& word) { return sum + word.confidence; }) /
        static_cast<double>(std::max<std::size_t>(1, line.words.size()));
    return Height(line.box) < minimumHeight && confidence < kFragmentConfidence &&
           touchesTallerLine(line.box);
  };
  for (LayoutBlock& block : layout.blocks) {
    for (LayoutParagraph& paragraph : block.paragraphs) std::erase_if(paragraph.lines, isFragment);
    std::erase_if(block.paragraphs, [](const LayoutParagraph& p) { return p.lines.empty(); });
  }
  std::erase_if(layout.blocks, [](const LayoutBlock& block) {
    const bool holdsText = block.kind != BlockKind::Image && block.kind != BlockKind::Separator;
    return holdsText && block.paragraphs.empty();
  });
}

}  // namespace zelk
