#include "documents/LayoutPictures.h"

#include <leptonica/allheaders.h>

#include <algorithm>
#include <cstdlib>

#include "documents/WordLayoutGeometry.h"

namespace zelk {
namespace {

constexpr double kSmallestPictureInches = 0.33;
constexpr int kJpegQuality = 85;

bool WorthCropping(const LayoutBlock& block, int dpi) {
  const double smallest = kSmallestPictureInches * (dpi > 0 ? dpi : kAssumedDpi);
  return block.kind == BlockKind::Image && block.box.right - block.box.left >= smallest &&
         block.box.bottom - block.box.top >= smallest;
}

LayoutPicture Encoded(Pix* pix) {
  LayoutPicture picture;
  PixPtr plain(pixGetColormap(pix) ? pixRemoveColormap(pix, REMOVE_CMAP_BASED_ON_SRC) : pixClone(pix));
  if (!plain) return picture;
  const int depth = pixGetDepth(plain.get());
  picture.jpeg = depth == 8 || depth == 32;
  l_uint8* bytes = nullptr;
  size_t size = 0;
  const int status = picture.jpeg ? pixWriteMemJpeg(&bytes, &size, plain.get(), kJpegQuality, 0)
                                  : pixWriteMemPng(&bytes, &size, plain.get(), 0);
  if (status == 0 && bytes != nullptr) picture.data.assign(reinterpret_cast<const char*>(bytes), size);
  std::free(bytes);
  return picture;
}

}  // namespace

bool HasPictureRegions(const PageLayout& layout) {
  return std::any_of(layout.blocks.begin(), layout.blocks.end(),
                     [&](const LayoutBlock& block) { return WorthCropping(block, layout.dpi); });
}

void CropLayoutPictures(const Page& image, PageLayout& layout) {
  PixPtr pixels = PixelsOf(image);
  if (!pixels) return;
  for (LayoutBlock& block : layout.blocks) {
    if (!WorthCropping(block, layout.dpi)) continue;
    BOX* box = boxCreate(block.box.left, block.box.top, block.box.right - block.box.left,
                         block.box.bottom - block.box.top);
    PixPtr crop(pixClipRectangle(pixels.get(), box, nullptr));
    boxDestroy(&box);
    if (crop) block.picture = Encoded(crop.get());
  }
}

}  // namespace zelk
