#include "BenchCorpus.h"

#include "imaging/SavePage.h"

#include <cstdio>
#include <filesystem>

namespace zelk::bench {
namespace {

uint32_t Next(uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return state >> 8;
}

}  // namespace

Page TextLikePage(unsigned seed) {
  PixPtr pix(pixCreate(kA4Width, kA4Height, 1));
  uint32_t state = seed;
  // Lines of "words": runs of glyph-sized blocks with gaps, margins of an
  // inch, 50 lines a page.
  for (int line = 0; line < 50; ++line) {
    const int top = 300 + line * 58;
    int x = 300;
    while (x < kA4Width - 400) {
      const int letters = 2 + static_cast<int>(Next(state) % 9);
      for (int i = 0; i < letters && x < kA4Width - 300; ++i) {
        const int w = 14 + static_cast<int>(Next(state) % 14);
        const int h = 22 + static_cast<int>(Next(state) % 16);
        pixRasterop(pix.get(), x, top + 38 - h, w, h, PIX_SET, nullptr, 0, 0);
        // A hole, as most letters have.
        pixRasterop(pix.get(), x + 4, top + 38 - h + 5, w - 8, h / 3, PIX_CLR, nullptr, 0, 0);
        x += w + 4;
      }
      x += 20 + static_cast<int>(Next(state) % 12);
    }
  }
  Page page;
  page.pix = std::move(pix);
  page.xDpi = page.yDpi = kA4Dpi;
  return page;
}

Page ColourPage(unsigned seed) {
  PixPtr pix(pixCreate(kA4Width, kA4Height, 32));
  uint32_t state = seed;
  l_uint32* data = pixGetData(pix.get());
  const int wpl = pixGetWpl(pix.get());
  for (int y = 0; y < kA4Height; ++y) {
    l_uint32* line = data + static_cast<long>(y) * wpl;
    for (int x = 0; x < kA4Width; ++x) {
      const int noise = static_cast<int>(Next(state) % 24);
      composeRGBPixel(200 + x * 40 / kA4Width + noise / 2, 190 + y * 50 / kA4Height + noise / 3,
                      170 + noise, line + x);
    }
  }
  for (int i = 0; i < 60; ++i) {
    const int x = static_cast<int>(Next(state) % (kA4Width - 600));
    const int y = static_cast<int>(Next(state) % (kA4Height - 400));
    BOX* box = boxCreate(x, y, 100 + static_cast<int>(Next(state) % 500),
                         40 + static_cast<int>(Next(state) % 360));
    pixSetInRectArbitrary(pix.get(), box, Next(state) << 8);
    boxDestroy(&box);
  }
  Page page;
  page.pix = std::move(pix);
  page.xDpi = page.yDpi = kA4Dpi;
  return page;
}

std::vector<std::string> WriteCorpus(const std::string& dir, int count, bool colour,
                                     int formatCode, int bitsPerPixel, int qualityFactor) {
  std::filesystem::create_directories(dir);
  std::vector<std::string> paths;
  for (int i = 0; i < count; ++i) {
    const std::string path =
        dir + "/page" + std::to_string(i) + (colour ? ".jpg" : ".tif");
    if (!std::filesystem::exists(path)) {
      const Page page = colour ? ColourPage(i + 1) : TextLikePage(i + 1);
      SavePage(page, path, {formatCode, bitsPerPixel, qualityFactor}, false);
    }
    paths.push_back(path);
  }
  return paths;
}

std::vector<std::string> LinkPages(const std::vector<std::string>& corpus, const std::string& dir,
                                   int pages, const std::string& extension) {
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  std::vector<std::string> files;
  for (int i = 0; i < pages; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "/p%04d", i + 1);
    files.push_back(dir + name + extension);
    std::filesystem::create_hard_link(corpus[static_cast<std::size_t>(i) % corpus.size()],
                                      files.back());
  }
  return files;
}

}  // namespace zelk::bench
