#pragma once
// The boxes of the connected pieces of a 1-bit image and the set pixels in
// a box, for the finders of rules, pictures and seals.

#include <vector>

#include "imaging/Page.h"
#include "imaging/PageText.h"

namespace zelk {

// The bounding boxes of the image's 8-connected pieces of set pixels;
// none when Leptonica cannot take the image apart.
std::vector<TextBox> ConnectedBoxes(Pix* binary);

// How many pixels of the 1-bit image are set within `box` (0 when
// Leptonica cannot count them).
long SetPixelsIn(Pix* binary, const TextBox& box);

}  // namespace zelk
