#pragma once
// Where a page's image lies on its OFD page.  Lengths are millimetres, the
// origin is the page's top left corner and y grows downwards.
//
// The PDF shows a page recognised after turning it upright with /Rotate;
// OFD has no such page attribute, so the OFD page is the upright page
// itself and the image is drawn turned onto it.

#include "imaging/PdfPageGeometry.h"

#include <array>

namespace zelk {

struct OfdRect {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;
};

struct OfdPageLayout {
  double width = 0;   // the page area
  double height = 0;
  OfdRect image;      // the rectangle the image covers, as the page shows it
  // Maps the image's unit square (its top left corner at 0,0) onto
  // `image`'s own coordinates: a b c d e f.
  std::array<double, 6> imageCtm{};
};

// The PDF page `placement` (points, y upwards) shown turned clockwise by
// `quarterTurns` quarter turns, in millimetres.
OfdPageLayout OfdLayoutOf(const PdfPagePlacement& placement, int quarterTurns);

}  // namespace zelk
