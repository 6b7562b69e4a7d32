#include "ofd/OfdImageFile.h"

#include "imaging/PixConvert.h"

#include <leptonica/allheaders.h>

#include <cstdlib>

namespace zelk {

OfdImageFile OfdImageFileOf(const Page& page, const PdfImage& image) {
  if (image.filter == PdfImageFilter::Dct) return {"jpg", "JPEG", image.data};
  PixPtr pixels = PixelsOf(page);
  if (image.bitsPerComponent == 1) {
    pixels = WithoutBitonalColormap(std::move(pixels));
    if (pixGetDepth(pixels.get()) != 1) throw ImageError(ErrorKind::EncodeFailed, "", "the bitonal page has grey pixels");
  } else {
    pixels = ToJpegPixels(pixels.get(), image.rgb ? 24 : 8);
  }
  if (!pixels || pixGetWidth(pixels.get()) != image.width ||
      pixGetHeight(pixels.get()) != image.height) {
    throw ImageError(ErrorKind::EncodeFailed, "", "the page image does not match its PDF image");
  }
  l_uint8* data = nullptr;
  size_t size = 0;
  if (pixWriteMemPng(&data, &size, pixels.get(), 0.0f) != 0 || !data) {
    throw ImageError(ErrorKind::EncodeFailed, "", "the page image could not be encoded as PNG");
  }
  OfdImageFile file{"png", "PNG", std::vector<uint8_t>(data, data + size)};
  lept_free(data);
  return file;
}

}  // namespace zelk
