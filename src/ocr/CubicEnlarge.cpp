#include "ocr/CubicEnlarge.h"

#include <leptonica/allheaders.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace zelk {
namespace {

// Catmull-Rom weights of the four source samples around position t
// (0 <= t < 1) past the second one.
std::array<float, 4> Weights(double t) {
  const double t2 = t * t, t3 = t2 * t;
  return {static_cast<float>(-0.5 * t3 + t2 - 0.5 * t), static_cast<float>(1.5 * t3 - 2.5 * t2 + 1),
          static_cast<float>(-1.5 * t3 + 2 * t2 + 0.5 * t), static_cast<float>(0.5 * t3 - 0.5 * t2)};
}

// Where each of `to` samples takes its four sources (first index) and
// their weights, from `from` samples.
struct Taps {
  std::vector<int> first;
  std::vector<std::array<float, 4>> weights;
};

Taps TapsFor(int from, int to) {
  Taps taps;
  const double step = static_cast<double>(from) / to;
  for (int i = 0; i < to; ++i) {
    const double position = (i + 0.5) * step - 0.5;
    const double floor = std::floor(position);
    taps.first.push_back(static_cast<int>(floor) - 1);
    taps.weights.push_back(Weights(position - floor));
  }
  return taps;
}

float Sample(const std::vector<float>& values, int index, int count, int stride, int offset) {
  return values[static_cast<std::size_t>(std::clamp(index, 0, count - 1)) * stride + offset];
}

}  // namespace

PixPtr CubicEnlarge(const Pix* grey, double xFactor, double yFactor) {
  PIX* source = const_cast<PIX*>(grey);
  if (source == nullptr || pixGetDepth(source) != 8) return nullptr;
  const int width = pixGetWidth(source), height = pixGetHeight(source);
  const int newWidth = static_cast<int>(std::lround(width * std::max(1.0, xFactor)));
  const int newHeight = static_cast<int>(std::lround(height * std::max(1.0, yFactor)));
  PixPtr result(pixCreate(newWidth, newHeight, 8));
  if (!result) return result;
  // Rows first, into floats; then columns, into the result.
  const Taps across = TapsFor(width, newWidth);
  std::vector<float> rows(static_cast<std::size_t>(newWidth) * height);
  std::vector<float> line(width);
  for (int y = 0; y < height; ++y) {
    const l_uint32* data = pixGetData(source) + y * pixGetWpl(source);
    for (int x = 0; x < width; ++x) line[x] = static_cast<float>(GET_DATA_BYTE(data, x));
    for (int x = 0; x < newWidth; ++x) {
      float value = 0;
      for (int k = 0; k < 4; ++k) value += across.weights[x][k] * Sample(line, across.first[x] + k, width, 1, 0);
      rows[static_cast<std::size_t>(y) * newWidth + x] = value;
    }
  }
  const Taps down = TapsFor(height, newHeight);
  for (int y = 0; y < newHeight; ++y) {
    l_uint32* data = pixGetData(result.get()) + y * pixGetWpl(result.get());
    for (int x = 0; x < newWidth; ++x) {
      float value = 0;
      for (int k = 0; k < 4; ++k) value += down.weights[y][k] * Sample(rows, down.first[y] + k, height, newWidth, x);
      SET_DATA_BYTE(data, x, static_cast<int>(std::clamp(std::lround(value), 0L, 255L)));
    }
  }
  return result;
}

}  // namespace zelk
