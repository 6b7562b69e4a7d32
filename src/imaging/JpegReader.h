#pragma once
// JPEG files through libjpeg: grey, YCbCr and (Adobe) CMYK images.

#include "imaging/Page.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zelk {

// A baseline 8-bit grey or YCbCr file also carries its bytes in `raw`.
// Damaged entropy data is an error, not a page with grey blocks.
Page LoadJpegPage(const std::string& path);

// The same without decoding a whole baseline grey or YCbCr file: `raw`
// holds its bytes, and the pixels are decoded from them when asked for.
Page ReadJpegPage(const std::string& path);

// Whether the whole stream decodes without damage.  Every entropy code is
// read, but at an eighth of the size, so the check costs a fraction of a
// full decode: it lets damaged data fail its page rather than be copied.
bool JpegStreamDecodes(const std::vector<uint8_t>& bytes);

}  // namespace zelk
