#pragma once
// The boxes of the connected pieces of a 1-bit image, for the finders of
// rules and pictures.

#include <vector>

#include "imaging/Page.h"
#include "imaging/PageText.h"

namespace zelk {

// The bounding boxes of the image's 8-connected pieces of set pixels;
// none when Leptonica cannot take the image apart.
std::vector<TextBox> ConnectedBoxes(Pix* binary);

}  // namespace zelk
