#pragma once
// Renders pages of known text with a CJK font from Debian, as the
// recognition tests and benchmarks feed them to the engine: plain pages of
// black lines, and laid-out colour pages with text blocks at chosen places
// and ruling lines.

#include <string>
#include <vector>

#include "imaging/Page.h"
#include "ocr/PageLayout.h"

namespace zelk::ocrtest {

inline constexpr const char* kCjkFontPath = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";

struct TextPageSpec {
  int width = 1240;   // pixels
  int height = 600;
  int dpi = 300;
  int margin = 60;        // left and top margin, pixels
  int pixelSize = 44;     // em size of the type, pixels (44 px is 10.5 pt at 300 dpi)
  double lineSpacing = 1.8;  // baseline to baseline, in ems
  std::vector<std::string> lines;  // UTF-8
};

// An 8-bit grey page, black text on white, resolution set to spec.dpi.
// Raises std::runtime_error when the font cannot be loaded.
PixPtr RenderTextPage(const TextPageSpec& spec);

// Lines of one look set from a top left corner.
struct TextBlockSpec {
  int left = 60;   // pixels: left edge of the lines
  int top = 60;    // pixels: top of the first line's em box
  int pixelSize = 44;
  double lineSpacing = 1.8;  // baseline to baseline, in ems
  Rgb color = kBlackInk;
  std::vector<std::string> lines;  // UTF-8
  // Set in columns, as traditional Chinese is: each line a column read top
  // to bottom, the first at `left`, the next ones to its left.
  bool vertical = false;
};

// A round official seal: a ring with a star and a line of text inside,
// in a translucent ink that darkens what lies under it without hiding it.
struct SealSpec {
  int centerX = 0;
  int centerY = 0;
  int radius = 240;
  int ring = 14;  // thickness of the ring, pixels
  Rgb color{214, 38, 38};
  std::string text;  // set across the seal under its star
};

// A filled rectangle behind the text (a shaded box), drawn before the text.
struct FillSpec {
  int left = 0;
  int top = 0;
  int right = 0;   // exclusive
  int bottom = 0;  // exclusive
  Rgb color = kWhitePaper;
};

// A straight ruling line from (x0, y0) to (x1, y1), horizontal or vertical,
// `thickness` pixels wide, drawn in black over the text.
struct RuleSpec {
  int x0 = 0;
  int y0 = 0;
  int x1 = 0;
  int y1 = 0;
  int thickness = 3;
};

struct LayoutPageSpec {
  int width = 2480;  // pixels (A4 at 300 dpi)
  int height = 3508;
  int dpi = 300;
  Rgb paper = kWhitePaper;
  std::vector<FillSpec> fills;
  std::vector<TextBlockSpec> blocks;
  std::vector<RuleSpec> rules;
  std::vector<SealSpec> seals;  // stamped last, over everything
};

// The four rules framing the box from (left, top) to (right, bottom), as
// a ruled table's cell has them.
void AddFrame(LayoutPageSpec& spec, int left, int top, int right, int bottom);

// A 32-bit RGB page with the fills, text blocks and rules drawn in that
// order, resolution set to spec.dpi.  Raises std::runtime_error when the
// font cannot be loaded.
PixPtr RenderLayoutPage(const LayoutPageSpec& spec);

// The advance width in pixels of one line set at `pixelSize`, as the
// renderers set it: for tests that must know where their lines end.
int LineWidth(const std::string& line, int pixelSize);

// The page (grey or RGB) as 1-bit pixels, as a bitonal scan would give it.
PixPtr Binarize(const PixPtr& grey);

// Writes the pages as one multi-page TIFF (CCITT G4 for 1-bit pages, LZW
// for the others).
void WriteMultipageTiff(const std::string& path, const std::vector<PixPtr>& pages);

}  // namespace zelk::ocrtest
