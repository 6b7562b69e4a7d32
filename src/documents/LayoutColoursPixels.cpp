#include "documents/LayoutColoursPixels.h"

#include <algorithm>
#include <cmath>

namespace zelk {
namespace {

std::uint8_t Byte(int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); }

Rgb Grey(int level) { return Rgb{Byte(level), Byte(level), Byte(level)}; }

// The colour every pixel value stands for, for formats up to 8 bits a
// pixel: the palette's entries, or grey levels spread over 0 to 255 (1-bit
// pages keep Leptonica's 1 = black).
std::vector<Rgb> ValueColours(const PIX* image) {
  const int depth = pixGetDepth(const_cast<PIX*>(image));
  const int count = 1 << depth;
  std::vector<Rgb> colours(count, kWhitePaper);
  PIXCMAP* palette = pixGetColormap(const_cast<PIX*>(image));
  for (int value = 0; value < count; ++value) {
    if (palette != nullptr) {
      l_int32 red = 255, green = 255, blue = 255;
      if (value < pixcmapGetCount(palette)) pixcmapGetColor(palette, value, &red, &green, &blue);
      colours[value] = Rgb{Byte(red), Byte(green), Byte(blue)};
    } else if (depth == 1) {
      colours[value] = value == 1 ? kBlackInk : kWhitePaper;
    } else {
      colours[value] = Grey(value * 255 / (count - 1));
    }
  }
  return colours;
}

}  // namespace

std::vector<Rgb> SampleRegionColours(const PIX* image, const TextBox& box, int maxSamples) {
  PIX* pix = const_cast<PIX*>(image);
  if (pix == nullptr) return {};
  const int depth = pixGetDepth(pix);
  const int left = std::max(box.left, 0);
  const int top = std::max(box.top, 0);
  const int right = std::min<int>(box.right, pixGetWidth(pix));
  const int bottom = std::min<int>(box.bottom, pixGetHeight(pix));
  if (left >= right || top >= bottom) return {};
  const double area = static_cast<double>(right - left) * (bottom - top);
  const int step = std::max(1, static_cast<int>(std::ceil(std::sqrt(area / std::max(maxSamples, 1)))));

  const bool small = depth <= 8;
  const std::vector<Rgb> valueColours = small ? ValueColours(pix) : std::vector<Rgb>{};
  if (!small && depth != 16 && depth != 32) return {};

  std::vector<Rgb> samples;
  samples.reserve(static_cast<std::size_t>(((right - left + step - 1) / step)) *
                  ((bottom - top + step - 1) / step));
  l_uint32* data = pixGetData(pix);
  const int wordsPerLine = pixGetWpl(pix);
  for (int y = top; y < bottom; y += step) {
    l_uint32* line = data + static_cast<std::ptrdiff_t>(y) * wordsPerLine;
    for (int x = left; x < right; x += step) {
      switch (depth) {
        case 1: samples.push_back(valueColours[GET_DATA_BIT(line, x)]); break;
        case 2: samples.push_back(valueColours[GET_DATA_DIBIT(line, x)]); break;
        case 4: samples.push_back(valueColours[GET_DATA_QBIT(line, x)]); break;
        case 8: samples.push_back(valueColours[GET_DATA_BYTE(line, x)]); break;
        case 16: samples.push_back(Grey(GET_DATA_TWO_BYTES(line, x) >> 8)); break;
        default: {
          l_int32 red = 0, green = 0, blue = 0;
          extractRGBValues(line[x], &red, &green, &blue);
          samples.push_back(Rgb{Byte(red), Byte(green), Byte(blue)});
        }
      }
    }
  }
  return samples;
}

}  // namespace zelk
