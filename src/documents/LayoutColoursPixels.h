#pragma once
// Colour samples taken from a region of a page image, whatever its pixel
// format: 1-bit (1 = black), 2/4/8/16-bit grey (0 = black), palette images
// and 32-bit RGB.

#include <vector>

#include "imaging/Page.h"
#include "imaging/PageText.h"
#include "ocr/PageLayout.h"

namespace zelk {

// The colours of pixels inside `box` (clamped to the image), on an even grid
// coarse enough that at most about `maxSamples` pixels are read.  Empty when
// the box lies outside the image or the pixel format is not supported.
std::vector<Rgb> SampleRegionColours(const PIX* image, const TextBox& box, int maxSamples);

}  // namespace zelk
