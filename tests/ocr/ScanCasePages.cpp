#include "ScanCasePages.h"

#include <leptonica/allheaders.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <stdexcept>

#include "KnownTextLines.h"
#include "TextPageRenderer.h"

namespace zelk::ocrtest {
namespace {

constexpr int kA4Width = 2480;  // pixels at 300 dpi
constexpr int kA4Height = 3508;
constexpr int kMargin = 236;    // 2 cm
constexpr int kPixelSize = 44;  // 10.5 pt
constexpr double kLineSpacing = 1.8;
constexpr int kLinesPerParagraph = 5;
constexpr int kParagraphGap = 50;  // pixels between paragraphs (and boxes)
constexpr int kBoxPadding = 24;    // paper colour around a box's text

constexpr Rgb kPaleYellow{255, 236, 150};
constexpr Rgb kPaleBlue{188, 218, 245};
constexpr Rgb kPaleGreen{196, 234, 196};
constexpr Rgb kPaleGrey{204, 204, 204};
constexpr Rgb kPalePink{246, 198, 214};
constexpr Rgb kDarkRed{150, 24, 24};
constexpr Rgb kDarkBlue{24, 40, 140};

int LineAdvance() { return static_cast<int>(std::lround(kPixelSize * kLineSpacing)); }

// Splits lines into paragraphs of a few lines each: kLinesPerParagraph
// lines, or, when `lengths` is given, as many as it says in turn.
std::vector<std::vector<std::string>> Paragraphs(const std::vector<std::string>& lines,
                                                 const std::vector<std::size_t>& lengths = {}) {
  std::vector<std::vector<std::string>> paragraphs;
  for (std::size_t i = 0, n = 0; i < lines.size(); ++n) {
    const std::size_t length = lengths.empty() ? kLinesPerParagraph : lengths[n % lengths.size()];
    const std::size_t end = std::min(lines.size(), i + length);
    paragraphs.emplace_back(lines.begin() + static_cast<long>(i), lines.begin() + static_cast<long>(end));
    i = end;
  }
  return paragraphs;
}

// Sets paragraphs one below the other from `top` in a column starting at
// `left`; returns the y below the last one.
int AddParagraphs(LayoutPageSpec& spec, const std::vector<std::vector<std::string>>& paragraphs,
                  int left, int top) {
  for (const auto& paragraph : paragraphs) {
    TextBlockSpec block;
    block.left = left;
    block.top = top;
    block.pixelSize = kPixelSize;
    block.lineSpacing = kLineSpacing;
    block.lines = paragraph;
    spec.blocks.push_back(block);
    top += static_cast<int>(paragraph.size()) * LineAdvance() + kParagraphGap;
  }
  return top;
}

struct LineLengths {
  int chinese = 0;      // characters of a Chinese line
  int english = 0;      // letters and blanks of an English line
  unsigned oneIn = 0;   // one line in this many is English
};

std::vector<std::string> MixedLines(int count, unsigned seed, LineLengths lengths) {
  std::mt19937 random(seed);
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) {
    lines.push_back(random() % lengths.oneIn == 0 ? EnglishLine(random, lengths.english)
                                                  : ChineseLine(random, lengths.chinese));
  }
  return lines;
}

ScanCasePage Rendered(std::string name, const LayoutPageSpec& spec, std::vector<std::string> lines) {
  return ScanCasePage{std::move(name), RenderLayoutPage(spec), std::move(lines)};
}

}  // namespace

ScanCasePage PlainScanPage(const std::vector<std::string>& lines) {
  LayoutPageSpec spec;
  AddParagraphs(spec, Paragraphs(lines), kMargin, kMargin);
  return Rendered("plain", spec, lines);
}

ScanCasePage TintedBoxesPage(const std::vector<std::string>& lines, int variant) {
  static constexpr Rgb kBoxes[] = {kPaleYellow, kPaleBlue, kPaleGreen, kPaleGrey, kPalePink};
  static constexpr Rgb kInks[] = {kBlackInk, kDarkRed, kBlackInk, kDarkBlue, kBlackInk, kDarkRed};
  LayoutPageSpec spec;
  int top = kMargin;
  int index = variant;
  for (const auto& paragraph : Paragraphs(lines)) {
    const int height = static_cast<int>(paragraph.size()) * LineAdvance();
    // Every other paragraph sits on a box; the others stay on white paper.
    if (index % 3 != 2) {
      spec.fills.push_back({kMargin - kBoxPadding, top - kBoxPadding, kA4Width - kMargin + kBoxPadding,
                            top + height + kBoxPadding - (LineAdvance() - kPixelSize),
                            kBoxes[(index / 2) % std::size(kBoxes)]});
    }
    AddParagraphs(spec, {paragraph}, kMargin, top);
    spec.blocks.back().color = kInks[index % std::size(kInks)];
    top += height + kParagraphGap;
    ++index;
  }
  return Rendered("tinted-" + std::to_string(variant), spec, lines);
}

ScanCasePage TwoColumnPage(const std::vector<std::string>& lines) {
  const std::size_t half = (lines.size() + 1) / 2;
  const std::vector<std::string> left(lines.begin(), lines.begin() + static_cast<long>(half));
  const std::vector<std::string> right(lines.begin() + static_cast<long>(half), lines.end());
  constexpr int kGutter = 118;  // 1 cm
  const int columnWidth = (kA4Width - 2 * kMargin - kGutter) / 2;
  LayoutPageSpec spec;
  // Paragraphs of different lengths, as running text has them, so that the
  // two columns' paragraphs do not line up as the cells of a table would.
  AddParagraphs(spec, Paragraphs(left, {4, 6, 3, 7, 5}), kMargin, kMargin);
  AddParagraphs(spec, Paragraphs(right, {6, 3, 5, 4, 7}), kMargin + columnWidth + kGutter, kMargin);
  return Rendered("two-column", spec, lines);
}

ScanCasePage TurnedPage(const ScanCasePage& upright, int quarterTurns) {
  PixPtr turned(pixRotateOrth(upright.image.get(), ((quarterTurns % 4) + 4) % 4));
  if (!turned) throw std::runtime_error("cannot turn the page");
  pixCopyResolution(turned.get(), upright.image.get());
  return ScanCasePage{upright.name + "-turned-" + std::to_string(90 * quarterTurns), std::move(turned),
                      upright.lines};
}

ScanCasePage SkewedPage(const ScanCasePage& straight, double degrees) {
  const float radians = static_cast<float>(degrees * M_PI / 180.0);
  PixPtr skewed(pixRotate(straight.image.get(), radians, L_ROTATE_AREA_MAP, L_BRING_IN_WHITE, 0, 0));
  if (!skewed) throw std::runtime_error("cannot skew the page");
  pixCopyResolution(skewed.get(), straight.image.get());
  char angle[16];
  std::snprintf(angle, sizeof angle, "%+.1f", degrees);
  return ScanCasePage{straight.name + "-skewed" + angle, std::move(skewed), straight.lines};
}

void WriteJpegScan(const ScanCasePage& page, const std::string& path, int quality) {
  if (pixWriteJpeg(path.c_str(), page.image.get(), quality, 0) != 0) {
    throw std::runtime_error("cannot write " + path);
  }
}

std::vector<std::string> ShortLines(int count, unsigned seed) {
  return MixedLines(count, seed, {19, 34, 5});
}

std::vector<std::string> FullWidthLines(int count, unsigned seed) {
  return MixedLines(count, seed, {40, 72, 4});
}

}  // namespace zelk::ocrtest
