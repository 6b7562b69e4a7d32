#include "imaging/PdfTextLayer.h"

#include "imaging/GlyphlessFont.h"
#include "imaging/PdfNumber.h"
#include "imaging/PlaneAffine.h"
#include "imaging/TextLayerLines.h"
#include "platform/Utf16.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace zelk {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr uint16_t kFirstSupplementaryCode = 0xD800;
constexpr uint16_t kLastSupplementaryCode = 0xDFFF;
constexpr int kEntriesPerBlock = 100;  // CMap operators take at most 100 entries

std::string Hex4(uint32_t value) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%04X", static_cast<unsigned>(value & 0xFFFF));
  return buffer;
}

// UTF-16BE of a code point, as hex digits.
std::string Utf16Hex(char32_t codePoint) {
  std::string hex;
  for (char16_t unit : Utf16Units(codePoint)) hex += Hex4(unit);
  return hex;
}

// The code of a character; a character beyond the Basic Multilingual
// Plane gets the next free code of D800..DFFF, recorded in `supplementary`.
uint16_t CodeOf(char32_t codePoint, std::map<char32_t, uint16_t>& supplementary) {
  if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return kReplacement;
  if (codePoint < 0x10000) return static_cast<uint16_t>(codePoint);
  if (codePoint > 0x10FFFF) return kReplacement;
  auto found = supplementary.find(codePoint);
  if (found != supplementary.end()) return found->second;
  const size_t next = kFirstSupplementaryCode + supplementary.size();
  if (next > kLastSupplementaryCode) return kReplacement;
  const auto code = static_cast<uint16_t>(next);
  supplementary.emplace(codePoint, code);
  return code;
}


// Maps the upright frame's pixel space onto the stored image's, both with
// y growing upwards: the quarter turns undone.
Affine TurnedBack(const TextFrame& frame, int imageWidth, int imageHeight) {
  const int turns = frame.Turns();
  const double w = imageWidth, h = imageHeight;
  static constexpr Affine kTurnsBack[] = {{1, 0, 0, 1, 0, 0}, {0, -1, 1, 0, 1, 0},
                                          {-1, 0, 0, -1, 1, 1}, {0, 1, -1, 0, 0, 1}};
  Affine back = kTurnsBack[turns];
  back.x0 *= w;
  back.y0 *= h;
  return back;
}

// The same with y growing upwards in a frame `height` pixels high.
Affine UnstraightenedUpwards(double skewDegrees, int width, int height) {
  const Affine flip{1, 0, 0, -1, 0, static_cast<double>(height)};
  return Then(Then(flip, Unstraightened(skewDegrees, width, height)), flip);
}

// Maps the frame of text set in columns (the straightened image turned a
// quarter counter-clockwise) back onto the straightened image, y growing
// upwards; `height` is that image's height.
Affine ColumnsTurnedBack(int height) { return {0, 1, -1, 0, 0, static_cast<double>(height)}; }

// Everything the quarter turns, the resampling and, for text in columns,
// the straightening and the turn of the columns' frame did, undone: from
// the text's space to the stored image's, y growing upwards.
Affine TextSpaceBack(const TextFrame& frame, int imageWidth, int imageHeight) {
  // The recognised image's size: the columns' frame turned back.
  const TextFrameSize text = TextFrameSizeOf(frame, imageWidth, imageHeight);
  const int width = frame.columns ? text.height : text.width;
  const int height = frame.columns ? text.width : text.height;
  Affine back;
  if (frame.columns) {
    back = Then(ColumnsTurnedBack(height), UnstraightenedUpwards(frame.skewDegrees, width, height));
  }
  back = Then(back, Affine{1 / frame.xScale, 0, 0, 1 / frame.yScale, 0, 0});
  return Then(back, TurnedBack(frame, imageWidth, imageHeight));
}

std::string ConcatMatrix(const Affine& m) {
  return PdfNumber(m.xx) + " " + PdfNumber(m.yx) + " " + PdfNumber(m.xy) + " " + PdfNumber(m.yy) +
         " " + PdfNumber(m.x0) + " " + PdfNumber(m.y0) + " cm\n";
}

}  // namespace

uint16_t TextLayerEncoding::CodeFor(char32_t codePoint) {
  const uint16_t code = CodeOf(codePoint, supplementary_);
  used_.emplace(code, code == kReplacement ? kReplacement : codePoint);
  return code;
}

std::string TextLayerEncoding::ToUnicodeCMap() const {
  std::string cmap =
      "/CIDInit /ProcSet findresource begin\n"
      "12 dict begin\n"
      "begincmap\n"
      "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
      "/CMapName /Adobe-Identity-UCS def\n"
      "/CMapType 2 def\n"
      "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
  std::vector<std::string> chars;
  for (const auto& [code, codePoint] : used_) {
    chars.push_back("<" + Hex4(code) + "> <" + Utf16Hex(codePoint) + ">\n");
  }
  for (size_t i = 0; i < chars.size(); i += kEntriesPerBlock) {
    const size_t n = std::min<size_t>(kEntriesPerBlock, chars.size() - i);
    cmap += std::to_string(n) + " beginbfchar\n";
    for (size_t k = i; k < i + n; ++k) cmap += chars[k];
    cmap += "endbfchar\n";
  }
  cmap +=
      "endcmap\n"
      "CMapName currentdict /CMap defineresource pop\n"
      "end\n"
      "end\n";
  return cmap;
}

std::string TextLayerOperators(const PageText& text, int imageWidth, int imageHeight,
                               const std::string& fontName, TextLayerEncoding& encoding) {
  // The text's coordinates are those of its frame, y growing downwards.
  const int frameHeight = TextFrameSizeOf(text.frame, imageWidth, imageHeight).height;
  std::string ops;
  const double advance = static_cast<double>(kGlyphlessAdvance) / kGlyphlessUnitsPerEm;
  for (const PlacedTextLine& line : PlaceTextLines(text, imageWidth, imageHeight)) {
    if (ops.empty()) ops = "BT\n3 Tr\n";
    ops += "/" + fontName + " " + std::to_string(line.size) + " Tf\n";
    ops += "1 0 0 1 " + PdfNumber(line.x) + " " + PdfNumber(frameHeight - line.baseline) +
           " Tm\n";
    for (const TextSpan& span : line.spans) {
      const double natural = span.text.size() * line.size * advance;
      ops += PdfNumber(100.0 * (span.end - span.start) / natural) + " Tz <";
      for (char32_t c : span.text) ops += Hex4(encoding.CodeFor(c));
      ops += "> Tj\n";
    }
  }
  if (ops.empty()) return ops;
  ops += "ET\n";
  if (text.frame.Turns() == 0 && !text.frame.Resampled() && !text.frame.columns) return ops;
  return "q\n" + ConcatMatrix(TextSpaceBack(text.frame, imageWidth, imageHeight)) + ops + "Q\n";
}

}  // namespace zelk
