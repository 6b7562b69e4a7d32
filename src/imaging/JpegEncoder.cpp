#include "imaging/JpegEncoder.h"

#include "imaging/JpegErrors.h"
#include "imaging/JpegStandardTables.h"
#include "imaging/Page.h"
#include "imaging/PixelRows.h"

#include <turbojpeg.h>

#include <bit>
#include <cstring>
#include <memory>

namespace zelk {
namespace {

struct TjDeleter {
  void operator()(void* handle) const { tjDestroy(handle); }
};

int TjSampling(ChromaSubsampling subsampling) {
  switch (subsampling) {
    case ChromaSubsampling::S444: return TJSAMP_444;
    case ChromaSubsampling::S422: return TJSAMP_422;
    case ChromaSubsampling::S411: return TJSAMP_411;
  }
  return TJSAMP_444;
}

}  // namespace

int LumaSamplesPerChroma(ChromaSubsampling subsampling) {
  switch (subsampling) {
    case ChromaSubsampling::S444: return 1;
    case ChromaSubsampling::S422: return 2;
    case ChromaSubsampling::S411: return 4;
  }
  return 1;
}

std::vector<uint8_t> EncodeJpeg(PIX* pix, ChromaSubsampling subsampling, int quality) {
  std::unique_ptr<void, TjDeleter> handle(tjInitCompress());
  if (!handle) throw ImageError(ErrorKind::OutOfMemory, "", "cannot start the JPEG encoder");
  const int width = pixGetWidth(pix);
  const int height = pixGetHeight(pix);
  const bool rgb = pixGetDepth(pix) == 32;
  if (!rgb && (pixGetDepth(pix) != 8 || pixGetColormap(pix))) {
    throw ImageError(ErrorKind::BadSetting, "", "JPEG encoding needs a grey or colour page");
  }
  // Colour is compressed straight from the PIX's words (0xRRGGBBxx, whose
  // bytes lie in memory as the machine orders them); grey samples are
  // packed into rows first, as Leptonica orders a word's bytes its own way.
  std::vector<uint8_t> rows;
  const unsigned char* source = nullptr;
  int pitch = 0;
  int pixelFormat = TJPF_GRAY;
  if (rgb) {
    source = reinterpret_cast<const unsigned char*>(pixGetData(pix));
    pitch = pixGetWpl(pix) * 4;
    pixelFormat = std::endian::native == std::endian::little ? TJPF_XBGR : TJPF_RGBX;
  } else {
    rows = PackedImage(pix, false);
    source = rows.data();
  }
  const int sampling = rgb ? TjSampling(subsampling) : TJSAMP_GRAY;
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  const int status = tjCompress2(handle.get(), source, width, pitch, height, pixelFormat, &out,
                                 &outSize, sampling, quality, TJFLAG_ACCURATEDCT);
  std::unique_ptr<unsigned char, decltype(&tjFree)> owned(out, &tjFree);
  if (status != 0) {
    throw ImageError(ErrorKind::EncodeFailed, "",
                     std::string("JPEG encoding failed: ") + tjGetErrorStr2(handle.get()));
  }
  return std::vector<uint8_t>(out, out + outSize);
}

}  // namespace zelk
