#include "ofd/OfdPageLayout.h"

namespace zelk {
namespace {

constexpr double kMillimetresPerPoint = 25.4 / 72.0;

}  // namespace

OfdPageLayout OfdLayoutOf(const PdfPagePlacement& placement, int quarterTurns) {
  const double k = kMillimetresPerPoint;
  const double pageWidth = placement.pageWidth * k, pageHeight = placement.pageHeight * k;
  // The image on the unturned page, y downwards.
  const OfdRect r{placement.imageX * k,
                  pageHeight - (placement.imageY + placement.imageHeight) * k,
                  placement.imageWidth * k, placement.imageHeight * k};
  OfdPageLayout layout;
  switch (((quarterTurns % 4) + 4) % 4) {
    case 0:
      layout = {pageWidth, pageHeight, r, {r.width, 0, 0, r.height, 0, 0}};
      break;
    case 1: {  // (x, y) -> (pageHeight - y, x)
      const OfdRect t{pageHeight - (r.y + r.height), r.x, r.height, r.width};
      layout = {pageHeight, pageWidth, t, {0, t.height, -t.width, 0, t.width, 0}};
      break;
    }
    case 2: {  // (x, y) -> (pageWidth - x, pageHeight - y)
      const OfdRect t{pageWidth - (r.x + r.width), pageHeight - (r.y + r.height), r.width,
                      r.height};
      layout = {pageWidth, pageHeight, t, {-t.width, 0, 0, -t.height, t.width, t.height}};
      break;
    }
    default: {  // three turns: (x, y) -> (y, pageWidth - x)
      const OfdRect t{r.y, pageWidth - (r.x + r.width), r.height, r.width};
      layout = {pageHeight, pageWidth, t, {0, -t.height, t.width, 0, 0, t.height}};
      break;
    }
  }
  return layout;
}

}  // namespace zelk
