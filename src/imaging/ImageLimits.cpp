#include "imaging/ImageLimits.h"

#include "imaging/Page.h"

namespace zelk {

bool IsImageSizeAcceptable(long long width, long long height) {
  return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
         width * height <= kMaxImagePixels;
}

void CheckImageSize(long long width, long long height, const std::string& what) {
  if (width <= 0 || height <= 0) {
    throw ImageError(ErrorKind::Damaged, what,
                     "the image has no pixels (" + std::to_string(width) + " x " +
                         std::to_string(height) + ")");
  }
  if (!IsImageSizeAcceptable(width, height)) {
    throw ImageError(ErrorKind::TooLarge, what,
                     "the image is too large (" + std::to_string(width) + " x " +
                         std::to_string(height) + " pixels)");
  }
}

}  // namespace zelk
