#pragma once
// Plane affine maps, for placing recognised text back on the page image:
// composing them, applying them, and the rotation that undoes the
// straightening of a page.

#include <cmath>

namespace zelk {

// x' = xx x + xy y + x0, y' = yx x + yy y + y0.
struct Affine {
  double xx = 1, xy = 0, yx = 0, yy = 1, x0 = 0, y0 = 0;

  double X(double x, double y) const { return xx * x + xy * y + x0; }
  double Y(double x, double y) const { return yx * x + yy * y + y0; }
};

// The map that applies `second` after `first`.
inline Affine Then(const Affine& first, const Affine& second) {
  return {second.xx * first.xx + second.xy * first.yx, second.xx * first.xy + second.xy * first.yy,
          second.yx * first.xx + second.yy * first.yx, second.yx * first.xy + second.yy * first.yy,
          second.xx * first.x0 + second.xy * first.y0 + second.x0,
          second.yx * first.x0 + second.yy * first.y0 + second.y0};
}

// Maps a point of the straightened image (`width` x `height`) back onto the
// image before it was straightened (y growing downwards): rotated back
// about the centre.
inline Affine Unstraightened(double skewDegrees, int width, int height) {
  const double radians = skewDegrees * M_PI / 180.0;
  const double c = std::cos(radians), s = std::sin(radians);
  const double cx = width / 2.0, cy = height / 2.0;
  return {c, s, -s, c, cx - c * cx - s * cy, cy + s * cx - c * cy};
}

}  // namespace zelk
