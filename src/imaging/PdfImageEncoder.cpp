#include "imaging/PdfImageEncoder.h"

#include "imaging/CcittEncoder.h"
#include "imaging/FlateData.h"
#include "imaging/JpegEncoder.h"
#include "imaging/JpegQuality.h"
#include "imaging/PixConvert.h"
#include "imaging/PixelRows.h"
#include "imaging/SaveFormat.h"

#include <string>

namespace zelk {
namespace {

bool IsCcittCode(int code) { return code >= kPdfCcittG3OneD && code <= kPdfCcittG4; }

ChromaSubsampling SubsamplingOf(int code) {
  if (code == kPdfJpeg422) return ChromaSubsampling::S422;
  if (code == kPdfJpeg411) return ChromaSubsampling::S411;
  return ChromaSubsampling::S444;
}

// A bitonal page without a colormap (1 = black); nothing else is turned
// into one silently.
PixPtr BitonalPixels(PIX* pix) {
  if (pixGetDepth(pix) != 1) throw ImageError("1 bit per pixel needs a bitonal page");
  return WithoutBitonalColormap(PixPtr(pixClone(pix)));
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
  const CcittScheme scheme = code == kPdfCcittG4       ? CcittScheme::Group4
                             : code == kPdfCcittG3TwoD ? CcittScheme::Group3TwoD
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
  image.bitsPerComponent = depth == 1 ? 1 : 8;
  image.rgb = depth == 32;
  // DeviceGray takes 0 as black, Leptonica's 1 bit is black.
  const std::vector<uint8_t> rows = PackedImage(prepared, depth == 1);
  image.data = FlateCompress(rows.data(), rows.size());
  return image;
}

PdfImage DctImage(PIX* prepared, int code, int qualityFactor) {
  PdfImage image;
  image.width = pixGetWidth(prepared);
  image.height = pixGetHeight(prepared);
  image.rgb = pixGetDepth(prepared) == 32;
  image.filter = PdfImageFilter::Dct;
  image.data = EncodeJpeg(prepared, SubsamplingOf(code), JpegQualityFromFactor(qualityFactor));
  return image;
}

PdfImage CopiedJpeg(const RawPageData& raw) {
  PdfImage image;
  image.width = raw.width;
  image.height = raw.height;
  image.rgb = raw.components == 3;
  image.filter = PdfImageFilter::Dct;
  image.data = raw.bytes;
  image.copiedFromSource = true;
  return image;
}

}  // namespace

PdfImage EncodePdfImage(const Page& page, int formatCode, int bitsPerPixel, int qualityFactor) {
  if (!IsPdfFormat(formatCode)) {
    throw ImageError("format code " + std::to_string(formatCode) + " is not a PDF format");
  }
  const int bits = BitsToSave(page, bitsPerPixel, "PDF page");
  const std::optional<RawPageData>& raw = page.raw;
  if (formatCode == kPdfCcittG4 && raw && raw->codec == RawPageData::Codec::CcittG4 &&
      FitsPage(*raw, page)) {
    return CopiedG4(*raw);
  }
  if (!page.pix) throw ImageError("the page has no pixels");
  PIX* pix = page.pix.get();

  if (IsCcittCode(formatCode)) {
    if (pixGetDepth(pix) != 1) throw ImageError("CCITT compression needs a bitonal page");
    return CcittImage(BitonalPixels(pix).get(), formatCode);
  }
  if (formatCode == kPdfUncompressed) {
    return FlateImage((bits == 1 ? BitonalPixels(pix) : ToJpegPixels(pix, bits)).get());
  }
  const PixPtr prepared = ToJpegPixels(pix, bits);
  const int components = pixGetDepth(prepared.get()) == 32 ? 3 : 1;
  const int quality = JpegQualityFromFactor(qualityFactor);
  if (raw && raw->codec == RawPageData::Codec::Jpeg && FitsPage(*raw, page) &&
      raw->components == components &&
      JpegMatchesEncoding(raw->bytes, components, raw->width, raw->height,
                          SubsamplingOf(formatCode), quality)) {
    return CopiedJpeg(*raw);
  }
  return DctImage(prepared.get(), formatCode, qualityFactor);
}

}  // namespace zelk
