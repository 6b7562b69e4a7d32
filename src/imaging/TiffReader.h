#pragma once
// Pages of TIFF files through libtiff: every compression libtiff decodes,
// bitonal, grey (up to 16 bits), palette, RGB, YCbCr and CMYK pages.

#include "imaging/Page.h"

#include <string>

namespace zelk {

// `pageIndex` counts from 0.  A single-strip CCITT G4 page carries its
// compressed strip in `raw` besides the decoded pixels.
Page LoadTiffPage(const std::string& path, int pageIndex);

int CountTiffPages(const std::string& path);

}  // namespace zelk
