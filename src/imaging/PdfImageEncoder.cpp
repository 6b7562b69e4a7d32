#include "imaging/PdfImageEncoder.h"

#include "imaging/CcittEncoder.h"
#include "imaging/FlateData.h"
#include "imaging/JpegEncoder.h"
#include "imaging/JpegQuality.h"
#include "imaging/PixelRows.h"

#include <string>

namespace zelk {
namespace {

constexpr int kFlate = 146;
constexpr int kG3OneD = 147;
constexpr int kG3TwoD = 148;
constexpr int kG4 = 149;
constexpr int kDct444 = 150;
constexpr int kDct422 = 151;
constexpr int kDct411 = 152;

bool IsCcittCode(int code) { return code >= kG3OneD && code <= kG4; }
bool IsDctCode(int code) { return code >= kDct444 && code <= kDct411; }

ChromaSubsampling SubsamplingOf(int code) {
  if (code == kDct422) return ChromaSubsampling::S422;
  if (code == kDct411) return ChromaSubsampling::S411;
  return ChromaSubsampling::S444;
}

PixPtr Clone(PIX* pix) { return PixPtr(pixClone(pix)); }

PixPtr Checked(PIX* converted) {
  if (!converted) throw ImageError("cannot convert the page's pixels");
  return PixPtr(converted);
}

// Pixels at the depth the PDF image gets: 1 (1 = black), 8 grey or 32 RGB,
// never with a colormap.  A palette with colours gives RGB even at 8 bits.
PixPtr PreparePixels(PIX* pix, int bitsPerPixel) {
  if (PIXCMAP* cmap = pixGetColormap(pix)) {
    if (pixGetDepth(pix) == 1 && bitsPerPixel == 1) {
      return Checked(pixRemoveColormap(pix, REMOVE_CMAP_TO_BINARY));
    }
    l_int32 hasColour = 0;
    pixcmapHasColor(cmap, &hasColour);
    const bool colour = hasColour || bitsPerPixel == 24;
    PixPtr plain = Checked(pixRemoveColormap(
        pix, colour ? REMOVE_CMAP_TO_FULL_COLOR : REMOVE_CMAP_TO_GRAYSCALE));
    if (colour) {
      return pixGetDepth(plain.get()) == 32 ? std::move(plain) : Checked(pixConvertTo32(plain.get()));
    }
    return PreparePixels(plain.get(), bitsPerPixel);
  }
  const int depth = pixGetDepth(pix);
  if (bitsPerPixel == 1) {
    if (depth != 1) throw ImageError("1 bit per pixel needs a bitonal page");
    return Clone(pix);
  }
  if (bitsPerPixel == 8) {
    if (depth == 8) return Clone(pix);
    if (depth == 32) return Checked(pixConvertRGBToLuminance(pix));
    if (depth == 24) return Checked(pixConvertRGBToLuminance(Checked(pixConvert24To32(pix)).get()));
    return Checked(pixConvertTo8(pix, 0));
  }
  if (depth == 32) {
    if (pixGetSpp(pix) == 4) return Checked(pixRemoveAlpha(pix));
    return Clone(pix);
  }
  if (depth == 24) return Checked(pixConvert24To32(pix));
  return Checked(pixConvertTo32(pix));
}

bool FitsPage(const RawPageData& raw, const Page& page) {
  return !page.pix || (pixGetWidth(page.pix.get()) == raw.width &&
                       pixGetHeight(page.pix.get()) == raw.height);
}

PdfImage CopiedG4(const RawPageData& raw) {
  PdfImage image;
  image.width = raw.width;
  image.height = raw.height;
  image.bitsPerComponent = 1;
  image.filter = PdfImageFilter::Ccitt;
  image.ccittK = -1;
  image.ccittBlackIs1 = raw.blackIsZero;
  image.data = raw.bytes;
  image.copiedFromSource = true;
  return image;
}

PdfImage CcittImage(PIX* bitonal, int code) {
  const CcittScheme scheme = code == kG4       ? CcittScheme::Group4
                             : code == kG3TwoD ? CcittScheme::Group3TwoD
                                               : CcittScheme::Group3OneD;
  CcittData encoded = EncodeCcitt(bitonal, scheme);
  PdfImage image;
  image.width = pixGetWidth(bitonal);
  image.height = pixGetHeight(bitonal);
  image.bitsPerComponent = 1;
  image.filter = PdfImageFilter::Ccitt;
  image.ccittK = encoded.k;
  image.ccittEndOfLine = encoded.endOfLine;
  image.data = std::move(encoded.bytes);
  return image;
}

PdfImage FlateImage(PIX* prepared) {
  PdfImage image;
  image.width = pixGetWidth(prepared);
  image.height = pixGetHeight(prepared);
  const int depth = pixGetDepth(prepared);
  std::vector<uint8_t> rows;
  if (depth == 1) {
    image.bitsPerComponent = 1;
    rows = BitonalRows(prepared, true);  // DeviceGray: 0 is black
  } else if (depth == 8) {
    rows = GreyRows(prepared);
  } else {
    image.rgb = true;
    rows = RgbRows(prepared);
  }
  image.data = FlateCompress(rows.data(), rows.size());
  return image;
}

PdfImage DctImage(PIX* prepared, int code, int qualityFactor) {
  PIX* source = prepared;
  PixPtr grey;
  if (pixGetDepth(prepared) == 1) {
    grey = Checked(pixConvertTo8(prepared, 0));
    source = grey.get();
  }
  PdfImage image;
  image.width = pixGetWidth(source);
  image.height = pixGetHeight(source);
  image.rgb = pixGetDepth(source) == 32;
  image.filter = PdfImageFilter::Dct;
  image.data = EncodeJpeg(source, SubsamplingOf(code), JpegQualityFromFactor(qualityFactor));
  return image;
}

// Components the DCT image of this page gets, judged without converting.
int DctComponents(PIX* pix, int bitsPerPixel) {
  if (bitsPerPixel == 24) return 3;
  if (PIXCMAP* cmap = pixGetColormap(pix)) {
    l_int32 hasColour = 0;
    pixcmapHasColor(cmap, &hasColour);
    return hasColour ? 3 : 1;
  }
  return 1;
}

}  // namespace

bool IsPdfFormatCode(int formatCode) { return formatCode >= kFlate && formatCode <= kDct411; }

PdfImage EncodePdfImage(const Page& page, int formatCode, int bitsPerPixel, int qualityFactor) {
  if (!IsPdfFormatCode(formatCode)) {
    throw ImageError("format code " + std::to_string(formatCode) + " is not a PDF format");
  }
  if (bitsPerPixel != 1 && bitsPerPixel != 8 && bitsPerPixel != 24) {
    throw ImageError("cannot write " + std::to_string(bitsPerPixel) + " bits per pixel");
  }
  const std::optional<RawPageData>& raw = page.raw;
  if (formatCode == kG4 && raw && raw->codec == RawPageData::Codec::CcittG4 &&
      FitsPage(*raw, page)) {
    return CopiedG4(*raw);
  }
  if (!page.pix) throw ImageError("the page has no pixels");
  PIX* pix = page.pix.get();

  if (IsDctCode(formatCode) && raw && raw->codec == RawPageData::Codec::Jpeg &&
      FitsPage(*raw, page) && raw->components == DctComponents(pix, bitsPerPixel) &&
      JpegMatchesEncoding(raw->bytes, raw->components, raw->width, raw->height,
                          SubsamplingOf(formatCode), JpegQualityFromFactor(qualityFactor))) {
    PdfImage image;
    image.width = raw->width;
    image.height = raw->height;
    image.rgb = raw->components == 3;
    image.filter = PdfImageFilter::Dct;
    image.data = raw->bytes;
    image.copiedFromSource = true;
    return image;
  }

  if (IsCcittCode(formatCode)) {
    if (pixGetDepth(pix) != 1) throw ImageError("CCITT compression needs a bitonal page");
    PixPtr bitonal = PreparePixels(pix, 1);
    return CcittImage(bitonal.get(), formatCode);
  }
  PixPtr prepared = PreparePixels(pix, bitsPerPixel);
  if (formatCode == kFlate) return FlateImage(prepared.get());
  return DctImage(prepared.get(), formatCode, qualityFactor);
}

}  // namespace zelk
