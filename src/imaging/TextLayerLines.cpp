#include "imaging/TextLayerLines.h"

#include "imaging/PlaneAffine.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace zelk {
namespace {

bool IsDrawable(char32_t c) { return c >= 0x20 && c != 0x7F; }

// The narrowest a character is drawn, in ems.  Text extraction takes a
// character that advances less than a tenth of an em for a duplicate and
// moves it out of its line; a recogniser's box can be that narrow when it
// covers only part of a word.
constexpr double kNarrowestCharacter = 0.25;
// The widest a blank is drawn, in ems: the word before a wider gap reaches
// into it.  Text extraction starts a new line (and block) after a gap of
// more than one and a half ems, which a recogniser's box that falls short
// of its word would otherwise open inside a line.
constexpr double kWidestBlank = 0.5;

// Lays the words of a line out as gapless spans from left to right, each
// at least kNarrowestCharacter ems a character and each blank at most
// kWidestBlank ems, for type `size` high.
std::vector<TextSpan> LineSpans(const TextLine& line, int size) {
  std::vector<TextSpan> spans;
  std::vector<std::pair<std::u32string, const TextWord*>> words;
  for (const TextWord& word : line.words) {
    std::u32string text;
    for (char32_t c : DecodeUtf8(word.text, Utf8Decoding::Strict)) {
      if (IsDrawable(c)) text.push_back(c);
    }
    if (!text.empty()) words.emplace_back(std::move(text), &word);
  }
  double pen = words.empty() ? 0 : words.front().second->box.left;
  for (size_t i = 0; i < words.size(); ++i) {
    const TextWord& word = *words[i].second;
    const bool last = i + 1 == words.size();
    const double nextLeft = last ? word.box.right : words[i + 1].second->box.left;
    const bool blank = word.spaceAfter && !last;
    // A word without a following blank reaches to the next word, so no gap
    // is left that a reader could take for a blank.
    const double narrowest = pen + kNarrowestCharacter * size * static_cast<double>(words[i].first.size());
    double end = std::max<double>(narrowest, blank || last ? word.box.right : nextLeft);
    if (blank) end = std::max(end, nextLeft - kWidestBlank * size);
    spans.push_back({std::move(words[i].first), pen, end});
    pen = end;
    if (blank) {
      const double blankEnd = std::max<double>(pen + 1, nextLeft);
      spans.push_back({U" ", pen, blankEnd});
      pen = blankEnd;
    }
  }
  return spans;
}

}  // namespace

TextFrameSize TextFrameSizeOf(const TextFrame& frame, int imageWidth, int imageHeight) {
  const int width = frame.Sideways() ? imageHeight : imageWidth;
  const int height = frame.Sideways() ? imageWidth : imageHeight;
  const TextFrameSize recognised{static_cast<int>(std::lround(width * frame.xScale)),
                                 static_cast<int>(std::lround(height * frame.yScale))};
  return frame.columns ? TextFrameSize{recognised.height, recognised.width} : recognised;
}

std::vector<PlacedTextLine> PlaceTextLines(const PageText& text, int imageWidth, int imageHeight) {
  const TextFrameSize size = TextFrameSizeOf(text.frame, imageWidth, imageHeight);
  const int frameWidth = size.width, frameHeight = size.height;
  const bool straight = text.frame.skewDegrees == 0 || text.frame.columns;
  const Affine back = Unstraightened(text.frame.skewDegrees, frameWidth, frameHeight);
  std::vector<PlacedTextLine> placed;
  for (const TextLine& line : text.lines) {
    PlacedTextLine out;
    out.size = std::max(1, line.fontSize > 0 ? line.fontSize : line.box.bottom - line.box.top);
    out.spans = LineSpans(line, out.size);
    if (out.spans.empty()) continue;
    out.x = out.spans.front().start;
    out.baseline = line.baseline > line.box.top ? line.baseline : line.box.bottom;
    if (!straight) {
      const double middle = (out.spans.front().start + out.spans.back().end) / 2;
      out.x += back.X(middle, out.baseline) - middle;
      out.baseline = back.Y(middle, out.baseline);
    }
    placed.push_back(std::move(out));
  }
  return placed;
}

}  // namespace zelk
