#include "imaging/Page.h"

namespace zelk {

PixPtr PixelsOf(const Page& page) {
  if (page.pix) return PixPtr(pixClone(page.pix.get()));
  if (!page.decode) throw ImageError(ErrorKind::Damaged, "", "the page has no pixels");
  PixPtr pix = page.decode();
  if (!pix) throw ImageError(ErrorKind::Damaged, "", "the page has no pixels");
  pixSetResolution(pix.get(), page.xDpi, page.yDpi);
  return pix;
}

void DropStoredForms(Page& page) {
  page.raw.reset();
  page.strips.reset();
  page.decode = nullptr;
  if (page.pix) {
    page.width = pixGetWidth(page.pix.get());
    page.height = pixGetHeight(page.pix.get());
    page.depth = pixGetDepth(page.pix.get());
  }
}

int ProgramBitsPerPixel(const Page& page) {
  const int depth = page.pix ? pixGetDepth(page.pix.get()) : page.depth;
  return depth > 16 ? 24 : depth;
}

}  // namespace zelk
