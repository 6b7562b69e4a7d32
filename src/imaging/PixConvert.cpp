#include "imaging/PixConvert.h"


namespace zelk {
namespace {

PixPtr Checked(PIX* pix) {
  if (pix == nullptr) {
    throw ImageError(ErrorKind::OutOfMemory, "", "Leptonica cannot convert the page image");
  }
  return PixPtr(pix);
}

int Brightness(PIXCMAP* cmap, int index) {
  l_int32 r = 0, g = 0, b = 0;
  pixcmapGetColor(cmap, index, &r, &g, &b);
  return 299 * r + 587 * g + 114 * b;
}

}  // namespace

int BitsToSave(const Page& page, int requested, const std::string& path) {
  if (requested == 0) {
    const int pageBits = ProgramBitsPerPixel(page);
    return pageBits == 1 ? 1 : pageBits <= 8 ? 8 : 24;
  }
  if (requested != 1 && requested != 8 && requested != 24) {
    throw ImageError(ErrorKind::BadSetting, path,
                     "cannot save with " + std::to_string(requested) + " bits per pixel");
  }
  return requested;
}

bool IsGreyColormap(PIXCMAP* cmap) {
  const int count = pixcmapGetCount(cmap);
  for (int i = 0; i < count; ++i) {
    l_int32 r = 0, g = 0, b = 0;
    pixcmapGetColor(cmap, i, &r, &g, &b);
    if (r != g || g != b) return false;
  }
  return true;
}

PixPtr WithoutBitonalColormap(PixPtr pix) {
  PIXCMAP* cmap = pixGetColormap(pix.get());
  if (pixGetDepth(pix.get()) != 1 || cmap == nullptr) return pix;
  // Leptonica's 1 means black: index 1 must be the darker colour, else the
  // bits are flipped.
  const bool oneIsDarker =
      pixcmapGetCount(cmap) < 2 ? false : Brightness(cmap, 1) <= Brightness(cmap, 0);
  PixPtr plain = Checked(pixCopy(nullptr, pix.get()));
  pixDestroyColormap(plain.get());
  if (!oneIsDarker) pixInvert(plain.get(), plain.get());
  return plain;
}

PixPtr ToBitonal(PIX* pix) {
  if (pixGetDepth(pix) == 1 && pixGetColormap(pix) == nullptr) return Checked(pixClone(pix));
  if (pixGetDepth(pix) == 1) return WithoutBitonalColormap(Checked(pixClone(pix)));
  return Checked(pixConvertTo1(pix, 128));
}

PixPtr ToEightBit(PIX* pix, bool keepPalette) {
  const bool palette = keepPalette && pixGetColormap(pix) != nullptr;
  if (pixGetDepth(pix) == 8 && (pixGetColormap(pix) == nullptr || palette)) {
    return Checked(pixClone(pix));
  }
  return Checked(pixConvertTo8(pix, palette ? TRUE : FALSE));
}

PixPtr ToRgb(PIX* pix) {
  if (pixGetDepth(pix) == 32) return Checked(pixClone(pix));
  return Checked(pixConvertTo32(pix));
}

PixPtr ToJpegPixels(PIX* pix, int bitsPerPixel) {
  PIXCMAP* cmap = pixGetColormap(pix);
  if (bitsPerPixel == 24 || (cmap != nullptr && !IsGreyColormap(cmap))) return ToRgb(pix);
  return ToEightBit(pix, false);
}

}  // namespace zelk
