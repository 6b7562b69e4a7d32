#include "imaging/PdfImageEncoder.h"

#include "imaging/CcittEncoder.h"
#include "imaging/FlateData.h"
#include "imaging/JpegEncoder.h"
#include "imaging/JpegQuality.h"
#include "imaging/PixConvert.h"
#include "imaging/PixelRows.h"
#include "imaging/SaveFormat.h"
#include "imaging/StoredFormCheck.h"

#include <tiffio.h>

#include <optional>
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
  if (pixGetDepth(pix) != 1) throw ImageError(ErrorKind::BadSetting, "", "1 bit per pixel needs a bitonal page");
  return WithoutBitonalColormap(PixPtr(pixClone(pix)));
}

bool FitsPage(const RawPageData& raw, const Page& page) {
  return !page.pix || (pixGetWidth(page.pix.get()) == raw.width &&
                       pixGetHeight(page.pix.get()) == raw.height);
}

// libtiff's two-dimensional run at the resolutions scans are made at.
constexpr int kStoredTwoDimensionalK = 4;

// Single-strip Group 3 data of a TIFF page, copied for the same scheme.
// Rows byte-aligned by fill bits or stored uncompressed are encoded anew.
std::optional<PdfImage> CopiedG3(const Page& page, int code) {
  if (!page.strips) return std::nullopt;
  const TiffStrips& s = *page.strips;
  const bool twoD = (s.group3Options & GROUP3OPT_2DENCODING) != 0;
  if (s.compression != COMPRESSION_CCITTFAX3 || s.strips.size() != 1 || s.bitsPerSample != 1 ||
      s.samplesPerPixel != 1 || (s.group3Options & ~GROUP3OPT_2DENCODING) != 0 ||
      (s.photometric != PHOTOMETRIC_MINISWHITE && s.photometric != PHOTOMETRIC_MINISBLACK) ||
      twoD != (code == kPdfCcittG3TwoD)) {
    return std::nullopt;
  }
  PdfImage image;
  image.width = static_cast<int>(s.width);
  image.height = static_cast<int>(s.height);
  image.bitsPerComponent = 1;
  image.filter = PdfImageFilter::Ccitt;
  image.ccittK = twoD ? kStoredTwoDimensionalK : 0;
  image.ccittEndOfLine = true;
  image.ccittBlackIs1 = s.photometric == PHOTOMETRIC_MINISBLACK;
  image.data = s.strips.front();
  image.copiedFromSource = true;
  return image;
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

PdfImage EncodePdfImage(const Page& page, const SaveSpec& spec) {
  const int formatCode = spec.code;
  if (!IsPdfFormat(formatCode)) {
    throw ImageError(ErrorKind::BadSetting, "",
                     "format code " + std::to_string(formatCode) + " is not a PDF format");
  }
  const int bits = BitsToSave(page, spec.bitsPerPixel, "PDF page");
  const std::optional<RawPageData>& raw = page.raw;
  if (IsCcittCode(formatCode) && ProgramBitsPerPixel(page) != 1) {
    throw ImageError(ErrorKind::BadSetting, "", "CCITT compression needs a bitonal page");
  }
  if (formatCode == kPdfCcittG4 && raw && raw->codec == RawPageData::Codec::CcittG4 &&
      FitsPage(*raw, page) && StoredFormDecodes(page)) {
    return CopiedG4(*raw);
  }
  if (formatCode == kPdfCcittG3OneD || formatCode == kPdfCcittG3TwoD) {
    std::optional<PdfImage> copied = CopiedG3(page, formatCode);
    if (copied && StoredFormDecodes(page)) return std::move(*copied);
  }
  const int quality = JpegQualityFromFactor(spec.qualityFactor);
  const bool dct = formatCode >= kPdfJpeg444;
  if (dct && JpegFileToCopy(page, bits, SubsamplingOf(formatCode), quality)) {
    return CopiedJpeg(*raw);
  }
  const PixPtr pix = PixelsOf(page);
  if (IsCcittCode(formatCode)) return CcittImage(BitonalPixels(pix.get()).get(), formatCode);
  if (formatCode == kPdfUncompressed) {
    return FlateImage(
        (bits == 1 ? BitonalPixels(pix.get()) : ToJpegPixels(pix.get(), bits)).get());
  }
  return DctImage(ToJpegPixels(pix.get(), bits).get(), formatCode, spec.qualityFactor);
}

}  // namespace zelk
