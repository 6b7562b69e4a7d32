#pragma once
// Enlarges an 8-bit grey image by Catmull-Rom cubic interpolation, each
// axis on its own.  Recognition reads a fax's rows, doubled this way, at
// about half the errors of linear interpolation: the cubic keeps the
// strokes' edges steep where the linear blurs them over two rows.

#include "imaging/Page.h"

namespace zelk {

// `grey` (8 bits) enlarged by the factors, each at least 1; nullptr when
// the image cannot be made.
PixPtr CubicEnlarge(const Pix* grey, double xFactor, double yFactor);

}  // namespace zelk
