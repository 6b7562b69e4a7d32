#pragma once
// JPEG files through libjpeg: grey, YCbCr and (Adobe) CMYK images.

#include "imaging/Page.h"

#include <string>

namespace zelk {

// A baseline 8-bit grey or YCbCr file also carries its bytes in `raw`.
// Damaged entropy data is an error, not a page with grey blocks.
Page LoadJpegPage(const std::string& path);

}  // namespace zelk
