#include "TextPageRenderer.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>

#include "ocr/Utf8.h"

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

// Darkens the page under one glyph's coverage bitmap.
void DrawGlyph(PIX* page, const FT_Bitmap& bitmap, int left, int top) {
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
      const int ink = std::min<int>(GET_DATA_BYTE(line, x), 255 - coverage);
      SET_DATA_BYTE(line, x, ink);
    }
  }
}

}  // namespace

PixPtr RenderTextPage(const TextPageSpec& spec) {
  FreeTypeLibrary freeType;
  FT_Set_Pixel_Sizes(freeType.face, 0, spec.pixelSize);
  PixPtr page(pixCreate(spec.width, spec.height, 8));
  pixSetAllArbitrary(page.get(), 255);
  pixSetResolution(page.get(), spec.dpi, spec.dpi);
  const int lineAdvance = static_cast<int>(std::lround(spec.pixelSize * spec.lineSpacing));
  int baseline = spec.margin + spec.pixelSize;
  for (const std::string& line : spec.lines) {
    int pen = spec.margin;
    for (char32_t c : DecodeUtf8(line)) {
      if (FT_Load_Char(freeType.face, c, FT_LOAD_RENDER) != 0) continue;
      const FT_GlyphSlot glyph = freeType.face->glyph;
      DrawGlyph(page.get(), glyph->bitmap, pen + glyph->bitmap_left, baseline - glyph->bitmap_top);
      pen += static_cast<int>(glyph->advance.x >> 6);
    }
    baseline += lineAdvance;
  }
  return page;
}

PixPtr Binarize(const PixPtr& grey) {
  PixPtr bitonal(pixThresholdToBinary(grey.get(), 128));
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
