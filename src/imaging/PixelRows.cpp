#include "imaging/PixelRows.h"

#include <leptonica/arrayaccess.h>

namespace zelk {

std::vector<uint8_t> BitonalRows(PIX* pix, bool invert) {
  const int width = pixGetWidth(pix);
  const int height = pixGetHeight(pix);
  const int wpl = pixGetWpl(pix);
  const size_t rowBytes = (static_cast<size_t>(width) + 7) / 8;
  const uint8_t flip = invert ? 0xFF : 0x00;
  std::vector<uint8_t> rows(rowBytes * height);
  const l_uint32* data = pixGetData(pix);
  for (int y = 0; y < height; ++y) {
    const l_uint32* line = data + static_cast<size_t>(y) * wpl;
    uint8_t* out = rows.data() + rowBytes * y;
    for (size_t i = 0; i < rowBytes; ++i) {
      out[i] = static_cast<uint8_t>((line[i / 4] >> (24 - 8 * (i % 4))) & 0xFF) ^ flip;
    }
  }
  return rows;
}

std::vector<uint8_t> GreyRows(PIX* pix) {
  const int width = pixGetWidth(pix);
  const int height = pixGetHeight(pix);
  const int wpl = pixGetWpl(pix);
  std::vector<uint8_t> rows(static_cast<size_t>(width) * height);
  const l_uint32* data = pixGetData(pix);
  for (int y = 0; y < height; ++y) {
    const l_uint32* line = data + static_cast<size_t>(y) * wpl;
    uint8_t* out = rows.data() + static_cast<size_t>(width) * y;
    for (int x = 0; x < width; ++x) out[x] = static_cast<uint8_t>(GET_DATA_BYTE(line, x));
  }
  return rows;
}

std::vector<uint8_t> RgbRows(PIX* pix) {
  const int width = pixGetWidth(pix);
  const int height = pixGetHeight(pix);
  const int wpl = pixGetWpl(pix);
  std::vector<uint8_t> rows(static_cast<size_t>(width) * height * 3);
  const l_uint32* data = pixGetData(pix);
  uint8_t* out = rows.data();
  for (int y = 0; y < height; ++y) {
    const l_uint32* line = data + static_cast<size_t>(y) * wpl;
    for (int x = 0; x < width; ++x) {
      const l_uint32 pixel = line[x];
      *out++ = static_cast<uint8_t>(pixel >> L_RED_SHIFT);
      *out++ = static_cast<uint8_t>(pixel >> L_GREEN_SHIFT);
      *out++ = static_cast<uint8_t>(pixel >> L_BLUE_SHIFT);
    }
  }
  return rows;
}

}  // namespace zelk
