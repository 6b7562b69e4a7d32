#include "imaging/PixelRows.h"

#include "imaging/PackedRows.h"

namespace zelk {

std::vector<uint8_t> PackedImage(PIX* pix, bool invert) {
  const size_t rowBytes = static_cast<size_t>(PackedRowBytes(pix));
  const int height = pixGetHeight(pix);
  std::vector<uint8_t> rows(rowBytes * height);
  for (int y = 0; y < height; ++y) LoadPackedRow(pix, y, rows.data() + rowBytes * y, invert);
  return rows;
}

}  // namespace zelk
