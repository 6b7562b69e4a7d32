#include "imaging/TiffPassThrough.h"

#include "imaging/JpegEncoder.h"
#include "imaging/JpegStreamInfo.h"
#include "imaging/SaveFormat.h"
#include "imaging/StoredFormCheck.h"

#include <tiffio.h>

#include <optional>

namespace zelk {
namespace {

bool IsBitonal(const TiffStrips& s) {
  return s.bitsPerSample == 1 && s.samplesPerPixel == 1 &&
         (s.photometric == PHOTOMETRIC_MINISWHITE || s.photometric == PHOTOMETRIC_MINISBLACK);
}

// Whether the strips hold samples as the lossless codes store them at `bits`.
bool HoldsSamplesFor(const TiffStrips& s, int bits) {
  switch (bits) {
    case 1: return IsBitonal(s);
    case 8:
      return s.bitsPerSample == 8 && s.samplesPerPixel == 1 &&
             (s.photometric == PHOTOMETRIC_MINISBLACK || s.photometric == PHOTOMETRIC_MINISWHITE ||
              s.photometric == PHOTOMETRIC_PALETTE);
    default:
      return s.bitsPerSample == 8 && s.samplesPerPixel == 3 && s.photometric == PHOTOMETRIC_RGB;
  }
}

bool SameCcittScheme(const TiffStrips& s, int formatCode) {
  if (!IsBitonal(s) || (s.group3Options & GROUP3OPT_UNCOMPRESSED)) return false;
  const bool twoD = (s.group3Options & GROUP3OPT_2DENCODING) != 0;
  switch (formatCode) {
    case kTiffCcittG4: return s.compression == COMPRESSION_CCITTFAX4;
    case kTiffCcittG3TwoD: return s.compression == COMPRESSION_CCITTFAX3 && twoD;
    case kTiffCcittG3OneD: return s.compression == COMPRESSION_CCITTFAX3 && !twoD;
    case kTiffCcittRle: return s.compression == COMPRESSION_CCITTRLE;
    default: return false;
  }
}

ChromaSubsampling SubsamplingOf(int formatCode) {
  if (formatCode == kTiffJpeg422) return ChromaSubsampling::S422;
  if (formatCode == kTiffJpeg411) return ChromaSubsampling::S411;
  return ChromaSubsampling::S444;
}

bool IsJpegCode(int formatCode) {
  return formatCode == kTiffJpeg444 || formatCode == kTiffJpeg422 || formatCode == kTiffJpeg411;
}

// Whether a TIFF may say that its YCbCr data has this subsampling: 1, 2 or
// 4 each way, and no more rows than columns share a chroma sample (a 4:4:0
// JPEG's 1 x 2 is not allowed, and readers do not expect it).
bool TiffAllowsSubsampling(int horizontal, int vertical) {
  const auto allowed = [](int factor) { return factor == 1 || factor == 2 || factor == 4; };
  return allowed(horizontal) && allowed(vertical) && vertical <= horizontal;
}

// JPEG strips of a TIFF page: YCbCr colour at 24 bits, grey at 8.
bool JpegStripsServe(const TiffStrips& s, int formatCode, int bits, int quality) {
  if (s.compression != COMPRESSION_JPEG || s.bitsPerSample != 8) return false;
  const bool colour = s.samplesPerPixel == 3 && s.photometric == PHOTOMETRIC_YCBCR;
  const bool grey = s.samplesPerPixel == 1 && s.photometric == PHOTOMETRIC_MINISBLACK;
  if (!(colour && bits == 24) && !(grey && bits == 8)) return false;
  // Every strip is encoded with the same tables; the first one speaks for all.
  const std::vector<uint8_t>& first = s.strips.front();
  const std::optional<JpegStreamInfo> info =
      ReadJpegStreamInfo(first.data(), first.size(), s.jpegTables.data(), s.jpegTables.size());
  return info && info->components == s.samplesPerPixel &&
         (!colour || (info->lumaH == s.ycbcrHorizontal && info->lumaV == s.ycbcrVertical &&
                      TiffAllowsSubsampling(info->lumaH, info->lumaV))) &&
         JpegCopyServes(*info, SubsamplingOf(formatCode), quality);
}

// A whole JPEG file as the one strip of a JPEG-compressed TIFF page.
std::shared_ptr<const TiffStrips> JpegFileAsStrip(const Page& page, int formatCode, int bits,
                                                  int quality) {
  const std::optional<JpegStreamInfo> info =
      JpegFileToCopy(page, bits, SubsamplingOf(formatCode), quality);
  if (!info) return nullptr;
  if (info->components == 3 && !TiffAllowsSubsampling(info->lumaH, info->lumaV)) return nullptr;
  auto strips = std::make_shared<TiffStrips>();
  strips->compression = COMPRESSION_JPEG;
  strips->photometric = info->components == 3 ? PHOTOMETRIC_YCBCR : PHOTOMETRIC_MINISBLACK;
  strips->bitsPerSample = 8;
  strips->samplesPerPixel = static_cast<uint16_t>(info->components);
  strips->ycbcrHorizontal = static_cast<uint16_t>(info->lumaH);
  strips->ycbcrVertical = static_cast<uint16_t>(info->lumaV);
  strips->width = static_cast<uint32_t>(info->width);
  strips->height = static_cast<uint32_t>(info->height);
  strips->rowsPerStrip = strips->height;
  strips->strips.push_back(page.raw->bytes);
  return strips;
}

}  // namespace

std::shared_ptr<const TiffStrips> CopiedStrips(const Page& page, int formatCode, int bits,
                                               int quality) {
  if (page.strips) {
    const TiffStrips& s = *page.strips;
    const bool copy =
        IsJpegCode(formatCode) ? JpegStripsServe(s, formatCode, bits, quality)
        : formatCode == kTiffLzw ? s.compression == COMPRESSION_LZW && HoldsSamplesFor(s, bits)
        : formatCode == kTiffUncompressed
            ? s.compression == COMPRESSION_NONE && HoldsSamplesFor(s, bits)
            : bits == 1 && SameCcittScheme(s, formatCode);
    return copy && StoredFormDecodes(page) ? page.strips : nullptr;
  }
  return IsJpegCode(formatCode) ? JpegFileAsStrip(page, formatCode, bits, quality) : nullptr;
}

}  // namespace zelk
