#pragma once
// Pages of TIFF files through libtiff: every compression libtiff decodes,
// bitonal, grey (up to 16 bits), palette, RGB, YCbCr and CMYK pages.

#include "imaging/Page.h"

#include <string>

namespace zelk {

// `pageIndex` counts from 0.  A page stored in strips carries them in
// `strips` besides the decoded pixels, a single-strip CCITT G4 page its
// strip in `raw` too.
Page LoadTiffPage(const std::string& path, int pageIndex);

// The same without decoding where the strips can stand for the page (the
// pixels are decoded from the strips held in memory when asked for).
Page ReadTiffPage(const std::string& path, int pageIndex);

int CountTiffPages(const std::string& path);

}  // namespace zelk
