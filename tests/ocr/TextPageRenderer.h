#pragma once
// Renders pages of known text with a CJK font from Debian, as the
// recognition tests and benchmarks feed them to the engine.

#include <string>
#include <vector>

#include "imaging/Page.h"

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

// The page as 1-bit pixels, as a bitonal scan would give it.
PixPtr Binarize(const PixPtr& grey);

// Writes the pages as one multi-page TIFF (CCITT G4 for 1-bit pages, LZW
// for the others).
void WriteMultipageTiff(const std::string& path, const std::vector<PixPtr>& pages);

}  // namespace zelk::ocrtest
