#pragma once
// Where an invisible text layer puts each recognised line: the PDF text
// layer and the OFD twin place the same characters in the same places, so
// a reader's search and copy find the same text in both.
//
// Each line is one run on one baseline.  Its words are laid out as gapless
// spans from left to right: a Chinese character reaches to where the next
// one begins, and between Latin words a blank fills the space.  On a
// straightened page the line is moved, still level, to where its middle
// lies on the image before straightening: text extraction reads level
// lines, one baseline each, in their order, where glyphs turned by the skew
// or stepping along it get split and interleaved.  The ends of a long line
// then lie off its slanted image by up to half the line's length times the
// skew.

#include "imaging/PageText.h"

#include <string>
#include <vector>

namespace zelk {

// Text stretched over [start, end) in pixels.
struct TextSpan {
  std::u32string text;
  double start = 0;
  double end = 0;
};

struct PlacedTextLine {
  int size = 1;         // type size in pixels
  double x = 0;         // where the run starts
  double baseline = 0;  // y of the baseline, growing downwards
  std::vector<TextSpan> spans;  // x of the spans before the line was moved
};

// The size in pixels of the frame the text's coordinates lie in: the image
// of `imageWidth` x `imageHeight` pixels turned by the frame's quarter
// turns and resampled by its factors, and for text set in columns turned a
// further quarter.
struct TextFrameSize {
  int width = 0;
  int height = 0;
};
TextFrameSize TextFrameSizeOf(const TextFrame& frame, int imageWidth, int imageHeight);

// The lines of `text` that have something to draw, in reading order, in
// the pixel space of the text's frame (TextFrameSizeOf).  Lines across the
// page are moved level one by one; columns are left as they are, turned
// back with their frame as a whole.  Control characters are left out.
std::vector<PlacedTextLine> PlaceTextLines(const PageText& text, int imageWidth, int imageHeight);

}  // namespace zelk
