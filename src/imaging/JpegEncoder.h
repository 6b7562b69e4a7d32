#pragma once
// Baseline JPEG encoding through TurboJPEG, and the check whether an
// existing JPEG stream is what that encoding would give.

#include <leptonica/allheaders.h>

#include <cstdint>
#include <vector>

namespace zelk {

enum class ChromaSubsampling { S444, S422, S411 };

// Luminance samples per chroma sample: 1, 2 or 4, all across (EncodeJpeg
// samples chroma on every row).
int LumaSamplesPerChroma(ChromaSubsampling subsampling);

// Encodes an 8-bit grey (no colormap) or 32-bit RGB PIX.  Grey pages give a
// one-component JPEG whatever the subsampling.  `quality` is 1..100.
// Throws ImageError when the codec fails.
std::vector<uint8_t> EncodeJpeg(PIX* pix, ChromaSubsampling subsampling, int quality);

// True when `jpeg` is a baseline 8-bit stream with `components` components
// (1 grey, 3 YCbCr) of width x height, whose sampling factors and
// quantisation tables are exactly those EncodeJpeg uses for `subsampling`
// and `quality`: embedding it then gives what decoding and re-encoding
// would.  Any doubt (unreadable header, other markers of colour) is false.
bool JpegMatchesEncoding(const std::vector<uint8_t>& jpeg, int components, int width,
                         int height, ChromaSubsampling subsampling, int quality);

}  // namespace zelk
