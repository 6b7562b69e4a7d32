#include "TextPageRenderer.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <stdexcept>

#include "platform/Utf8.h"

namespace zelk::ocrtest {
namespace {

struct FreeTypeLibrary {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  FreeTypeLibrary() {
    if (FT_Init_FreeType(&library) != 0) throw std::runtime_error("FreeType unavailable");
    if (FT_New_Face(library, kCjkFontPath, 0, &face) != 0) {
      FT_Done_FreeType(library);
      throw std::runtime_error(std::string("cannot load font ") + kCjkFontPath);
    }
  }
  ~FreeTypeLibrary() {
    FT_Done_Face(face);
    FT_Done_FreeType(library);
  }
};

// Lays ink of the given coverage (0 to 255) on one pixel already known to
// be inside the page.
using InkPlotter = std::function<void(l_uint32* line, int x, int coverage)>;

// Lays one glyph's coverage bitmap on the page.
void DrawGlyph(PIX* page, const FT_Bitmap& bitmap, int left, int top, const InkPlotter& plot) {
  const int width = pixGetWidth(page);
  const int height = pixGetHeight(page);
  for (unsigned row = 0; row < bitmap.rows; ++row) {
    const int y = top + static_cast<int>(row);
    if (y < 0 || y >= height) continue;
    l_uint32* line = pixGetData(page) + y * pixGetWpl(page);
    for (unsigned column = 0; column < bitmap.width; ++column) {
      const int x = left + static_cast<int>(column);
      if (x < 0 || x >= width) continue;
      const int coverage = bitmap.buffer[row * bitmap.pitch + column];
      if (coverage > 0) plot(line, x, coverage);
    }
  }
}

// Sets one line from `left` on `baseline` (nothing drawn without a page);
// the pen's position after it.
int DrawLine(FreeTypeLibrary& freeType, PIX* page, int left, int baseline, const std::string& line,
             const InkPlotter& plot) {
  int pen = left;
  for (char32_t c : DecodeUtf8(line)) {
    if (FT_Load_Char(freeType.face, c, page ? FT_LOAD_RENDER : FT_LOAD_DEFAULT) != 0) continue;
    const FT_GlyphSlot glyph = freeType.face->glyph;
    if (page) DrawGlyph(page, glyph->bitmap, pen + glyph->bitmap_left, baseline - glyph->bitmap_top, plot);
    pen += static_cast<int>(glyph->advance.x >> 6);
  }
  return pen;
}

// Sets lines of text from (left, top): the first baseline one em below top.
void DrawLines(FreeTypeLibrary& freeType, PIX* page, int left, int top, int pixelSize,
               double lineSpacing, const std::vector<std::string>& lines, const InkPlotter& plot) {
  FT_Set_Pixel_Sizes(freeType.face, 0, pixelSize);
  const int lineAdvance = static_cast<int>(std::lround(pixelSize * lineSpacing));
  int baseline = top + pixelSize;
  for (const std::string& line : lines) {
    DrawLine(freeType, page, left, baseline, line, plot);
    baseline += lineAdvance;
  }
}

// Sets columns of text: each line from `top` downwards one character an
// em, the first column at `left` and the next ones further left.
void DrawColumns(FreeTypeLibrary& freeType, PIX* page, int left, int top, int pixelSize,
                 double lineSpacing, const std::vector<std::string>& lines, const InkPlotter& plot) {
  FT_Set_Pixel_Sizes(freeType.face, 0, pixelSize);
  const int columnAdvance = static_cast<int>(std::lround(pixelSize * lineSpacing));
  const int characterAdvance = static_cast<int>(std::lround(pixelSize * 1.08));
  for (const std::string& line : lines) {
    int baseline = top + pixelSize * 7 / 8;
    for (char32_t c : DecodeUtf8(line)) {
      DrawLine(freeType, page, left, baseline, EncodeUtf8(std::u32string(1, c)), plot);
      baseline += characterAdvance;
    }
    left -= columnAdvance;
  }
}

// Darkens an 8-bit grey page: black ink of the given coverage.
void PlotGrey(l_uint32* line, int x, int coverage) {
  const int ink = std::min<int>(GET_DATA_BYTE(line, x), 255 - coverage);
  SET_DATA_BYTE(line, x, ink);
}

int Blend(int under, int over, int coverage) {
  return (under * (255 - coverage) + over * coverage + 127) / 255;
}

// Mixes the ink colour into a 32-bit RGB page by coverage, as anti-aliased
// type lies on coloured paper.
InkPlotter ColourPlotter(Rgb ink) {
  return [ink](l_uint32* line, int x, int coverage) {
    l_int32 red = 0, green = 0, blue = 0;
    extractRGBValues(line[x], &red, &green, &blue);
    composeRGBPixel(Blend(red, ink.red, coverage), Blend(green, ink.green, coverage),
                    Blend(blue, ink.blue, coverage), &line[x]);
  };
}

l_uint32 PixelOf(Rgb colour) {
  l_uint32 pixel = 0;
  composeRGBPixel(colour.red, colour.green, colour.blue, &pixel);
  return pixel;
}

// Multiplies the ink colour into a 32-bit RGB page by coverage, as a
// stamp's ink darkens the print under it.
InkPlotter StampPlotter(Rgb ink) {
  return [ink](l_uint32* line, int x, int coverage) {
    l_int32 red = 0, green = 0, blue = 0;
    extractRGBValues(line[x], &red, &green, &blue);
    composeRGBPixel(Blend(red, red * ink.red / 255, coverage), Blend(green, green * ink.green / 255, coverage),
                    Blend(blue, blue * ink.blue / 255, coverage), &line[x]);
  };
}

// Plots every pixel for which `inside(dx, dy)` holds, (dx, dy) taken from
// the centre, within `reach` of it.
void StampShape(PIX* page, int cx, int cy, int reach, const InkPlotter& plot,
                const std::function<bool(int, int)>& inside) {
  for (int y = std::max(0, cy - reach); y < std::min<int>(pixGetHeight(page), cy + reach); ++y) {
    l_uint32* line = pixGetData(page) + y * pixGetWpl(page);
    for (int x = std::max(0, cx - reach); x < std::min<int>(pixGetWidth(page), cx + reach); ++x) {
      if (inside(x - cx, y - cy)) plot(line, x, 255);
    }
  }
}

void DrawSeal(FreeTypeLibrary& freeType, PIX* page, const SealSpec& seal) {
  const InkPlotter plot = StampPlotter(seal.color);
  const long outer = static_cast<long>(seal.radius) * seal.radius;
  const long inner = static_cast<long>(seal.radius - seal.ring) * (seal.radius - seal.ring);
  StampShape(page, seal.centerX, seal.centerY, seal.radius, plot, [&](int dx, int dy) {
    const long d = static_cast<long>(dx) * dx + static_cast<long>(dy) * dy;
    return d <= outer && d >= inner;
  });
  // A five-pointed star: inside when the point's radius is under the
  // star's outline at its angle.
  const int star = seal.radius / 4;
  StampShape(page, seal.centerX, seal.centerY - seal.radius / 4, star, plot, [&](int dx, int dy) {
    const double angle = std::atan2(dx, -dy);
    const double spoke = std::fmod(std::abs(angle) + M_PI / 5, 2 * M_PI / 5) - M_PI / 5;
    const double reach = star * (0.4 + 0.6 * (1 - std::abs(spoke) / (M_PI / 5)));
    return std::hypot(dx, dy) <= reach;
  });
  const int pixelSize = seal.radius / 4;
  FT_Set_Pixel_Sizes(freeType.face, 0, pixelSize);
  const int width = DrawLine(freeType, nullptr, 0, 0, seal.text, plot);
  DrawLine(freeType, page, seal.centerX - width / 2, seal.centerY + seal.radius / 3, seal.text, plot);
}

void FillRectangle(PIX* page, int left, int top, int right, int bottom, Rgb colour) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min<int>(right, pixGetWidth(page));
  bottom = std::min<int>(bottom, pixGetHeight(page));
  if (left >= right || top >= bottom) return;
  BOX* box = boxCreate(left, top, right - left, bottom - top);
  pixSetInRectArbitrary(page, box, PixelOf(colour));
  boxDestroy(&box);
}

void DrawRule(PIX* page, const RuleSpec& rule) {
  const int half = rule.thickness / 2;
  const int left = std::min(rule.x0, rule.x1) - half;
  const int top = std::min(rule.y0, rule.y1) - half;
  const int right = std::max(rule.x0, rule.x1) - half + rule.thickness;
  const int bottom = std::max(rule.y0, rule.y1) - half + rule.thickness;
  FillRectangle(page, left, top, right, bottom, kBlackInk);
}

}  // namespace

PixPtr RenderTextPage(const TextPageSpec& spec) {
  FreeTypeLibrary freeType;
  PixPtr page(pixCreate(spec.width, spec.height, 8));
  pixSetAllArbitrary(page.get(), 255);
  pixSetResolution(page.get(), spec.dpi, spec.dpi);
  DrawLines(freeType, page.get(), spec.margin, spec.margin, spec.pixelSize, spec.lineSpacing,
            spec.lines, PlotGrey);
  return page;
}

void AddFrame(LayoutPageSpec& spec, int left, int top, int right, int bottom) {
  spec.rules.push_back({left, top, right, top});
  spec.rules.push_back({left, bottom, right, bottom});
  spec.rules.push_back({left, top, left, bottom});
  spec.rules.push_back({right, top, right, bottom});
}

PixPtr RenderLayoutPage(const LayoutPageSpec& spec) {
  FreeTypeLibrary freeType;
  PixPtr page(pixCreate(spec.width, spec.height, 32));
  pixSetAllArbitrary(page.get(), PixelOf(spec.paper));
  pixSetResolution(page.get(), spec.dpi, spec.dpi);
  for (const FillSpec& fill : spec.fills) {
    FillRectangle(page.get(), fill.left, fill.top, fill.right, fill.bottom, fill.color);
  }
  for (const TextBlockSpec& block : spec.blocks) {
    (block.vertical ? DrawColumns : DrawLines)(freeType, page.get(), block.left, block.top, block.pixelSize,
                                               block.lineSpacing, block.lines, ColourPlotter(block.color));
  }
  for (const RuleSpec& rule : spec.rules) DrawRule(page.get(), rule);
  for (const SealSpec& seal : spec.seals) DrawSeal(freeType, page.get(), seal);
  return page;
}

int LineWidth(const std::string& line, int pixelSize) {
  FreeTypeLibrary freeType;
  FT_Set_Pixel_Sizes(freeType.face, 0, pixelSize);
  return DrawLine(freeType, nullptr, 0, 0, line, PlotGrey);
}

PixPtr Binarize(const PixPtr& grey) {
  PixPtr luminance;
  if (pixGetDepth(grey.get()) == 32) luminance.reset(pixConvertRGBToLuminance(grey.get()));
  PixPtr bitonal(pixThresholdToBinary(luminance ? luminance.get() : grey.get(), 128));
  pixCopyResolution(bitonal.get(), grey.get());
  return bitonal;
}

void WriteMultipageTiff(const std::string& path, const std::vector<PixPtr>& pages) {
  for (std::size_t i = 0; i < pages.size(); ++i) {
    const l_int32 format = pixGetDepth(pages[i].get()) == 1 ? IFF_TIFF_G4 : IFF_TIFF_LZW;
    if (pixWriteTiff(path.c_str(), pages[i].get(), format, i == 0 ? "w" : "a") != 0) {
      throw std::runtime_error("cannot write " + path);
    }
  }
}

}  // namespace zelk::ocrtest
