#pragma once
// Real image files for tests, written with Leptonica (not with the
// program's own writers).

#include <leptonica/allheaders.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace zelk::test {

// A TIFF of `pages` small grey pages (uncompressed).
inline void WriteTiffPages(const std::string& path, int pages) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  for (int page = 0; page < pages; ++page) {
    PIX* pix = pixCreate(16, 8, 8);
    pixSetAllArbitrary(pix, 40 * page);
    const int failed = pixWriteTiff(path.c_str(), pix, IFF_TIFF, page == 0 ? "w" : "a");
    pixDestroy(&pix);
    if (failed != 0) throw std::runtime_error("cannot write " + path);
  }
}

// A single-page colour JPEG.
inline void WriteJpeg(const std::string& path) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  PIX* pix = pixCreate(16, 8, 32);
  pixSetAllArbitrary(pix, 0x80402000);
  const int failed = pixWrite(path.c_str(), pix, IFF_JFIF_JPEG);
  pixDestroy(&pix);
  if (failed != 0) throw std::runtime_error("cannot write " + path);
}

}  // namespace zelk::test
