// zelk-page-diff RENDERED REFERENCE [BOX]: how far a page a reader drew lies
// from the page it should show.  Both images are made grey, the reference is
// scaled to the rendered one's size, both are reduced by BOX (default 4) in
// each direction by averaging, so that the two renderers' different edge
// smoothing of fine print does not count, and the mean absolute difference
// of the grey values (0 to 255) is printed.  Exit status 2 when an image
// cannot be read.
#include <leptonica/allheaders.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>

namespace {

PIX* Grey(const char* path) {
  PIX* pix = pixRead(path);
  if (!pix) return nullptr;
  PIX* grey = pixConvertTo8(pix, 0);
  pixDestroy(&pix);
  return grey;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: zelk-page-diff RENDERED REFERENCE [BOX]\n");
    return 2;
  }
  const int box = argc > 3 ? std::atoi(argv[3]) : 4;
  PIX* rendered = Grey(argv[1]);
  PIX* reference = Grey(argv[2]);
  if (!rendered || !reference || box < 1) return 2;
  const int w = pixGetWidth(rendered), h = pixGetHeight(rendered);
  PIX* scaled = pixScaleToSize(reference, w, h);
  PIX* a = pixScaleAreaMap(rendered, 1.0f / box, 1.0f / box);
  PIX* b = pixScaleAreaMap(scaled, 1.0f / box, 1.0f / box);
  if (!a || !b) return 2;
  const int cw = std::min(pixGetWidth(a), pixGetWidth(b)), ch = std::min(pixGetHeight(a), pixGetHeight(b));
  double sum = 0;
  for (int y = 0; y < ch; ++y) {
    for (int x = 0; x < cw; ++x) {
      l_uint32 va = 0, vb = 0;
      pixGetPixel(a, x, y, &va);
      pixGetPixel(b, x, y, &vb);
      sum += std::abs(static_cast<int>(va) - static_cast<int>(vb));
    }
  }
  std::printf("%.2f\n", sum / (static_cast<double>(cw) * ch));
  return 0;
}
