// zelk-page-diff RENDERED REFERENCE [WIDTH HEIGHT]: how far a page a reader
// drew lies from the page it should show.  The rendered picture is cut to
// WIDTH x HEIGHT pixels from its top left corner where given (a browser
// window can be larger than the page), both images are made grey, the
// reference is scaled to the rendered one's size (by area mapping where it
// is larger, as a reader smooths a scan onto the screen), both are reduced
// by 4 in each direction by averaging, so that the two renderers' different
// edge smoothing of fine print does not count, and two numbers are printed:
// the mean absolute difference of the grey values (0 to 255), and the same
// for an empty white page against the reference, the yardstick a judge
// needs on pages that are mostly white.  Exit status 2 when an image cannot
// be read.
#include <leptonica/allheaders.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kCell = 4;

PIX* Grey(const char* path) {
  PIX* pix = pixRead(path);
  if (!pix) return nullptr;
  PIX* grey = pixConvertTo8(pix, 0);
  pixDestroy(&pix);
  return grey;
}

PIX* TopLeft(PIX* pix, int width, int height) {
  if (width <= 0 || height <= 0) return pixClone(pix);
  BOX* box = boxCreate(0, 0, width, height);
  PIX* cut = pixClipRectangle(pix, box, nullptr);
  boxDestroy(&box);
  return cut;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 5) {
    std::fprintf(stderr, "usage: zelk-page-diff RENDERED REFERENCE [WIDTH HEIGHT]\n");
    return 2;
  }
  PIX* drawn = Grey(argv[1]);
  PIX* reference = Grey(argv[2]);
  if (!drawn || !reference) return 2;
  PIX* rendered = TopLeft(drawn, argc == 5 ? std::atoi(argv[3]) : 0,
                          argc == 5 ? std::atoi(argv[4]) : 0);
  if (!rendered) return 2;
  const int w = pixGetWidth(rendered), h = pixGetHeight(rendered);
  const float sx = static_cast<float>(w) / pixGetWidth(reference);
  const float sy = static_cast<float>(h) / pixGetHeight(reference);
  PIX* scaled =
      sx < 1 && sy < 1 ? pixScaleAreaMap(reference, sx, sy) : pixScaleToSize(reference, w, h);
  PIX* a = pixScaleAreaMap(rendered, 1.0f / kCell, 1.0f / kCell);
  PIX* b = scaled ? pixScaleAreaMap(scaled, 1.0f / kCell, 1.0f / kCell) : nullptr;
  if (!a || !b) return 2;
  const int cw = std::min(pixGetWidth(a), pixGetWidth(b));
  const int ch = std::min(pixGetHeight(a), pixGetHeight(b));
  double sum = 0, blank = 0;
  for (int y = 0; y < ch; ++y) {
    for (int x = 0; x < cw; ++x) {
      l_uint32 va = 0, vb = 0;
      pixGetPixel(a, x, y, &va);
      pixGetPixel(b, x, y, &vb);
      sum += std::abs(static_cast<int>(va) - static_cast<int>(vb));
      blank += 255 - static_cast<int>(vb);
    }
  }
  const double cells = static_cast<double>(cw) * ch;
  std::printf("%.2f %.2f\n", sum / cells, blank / cells);
  for (PIX* pix : {drawn, reference, rendered, scaled, a, b}) pixDestroy(&pix);
  return 0;
}
