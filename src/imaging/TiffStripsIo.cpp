#include "imaging/TiffStripsIo.h"

#include "imaging/ImageLimits.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <vector>

namespace zelk {
namespace {

// Stored data of one page is held in memory whole; a page beyond this is
// decoded as before instead.
constexpr uint64_t kMostStoredBytes = uint64_t{1} << 30;

bool IsCcitt(uint16_t compression) {
  return compression == COMPRESSION_CCITTFAX3 || compression == COMPRESSION_CCITTFAX4 ||
         compression == COMPRESSION_CCITTRLE || compression == COMPRESSION_CCITTRLEW;
}

// Reads the layout tags; false when a strip copy could not reproduce the page.
bool ReadTags(TIFF* tif, TiffStrips& s) {
  if (TIFFIsTiled(tif) || !TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &s.width) ||
      !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &s.height) ||
      !TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &s.photometric)) {
    return false;
  }
  uint16_t planar = PLANARCONFIG_CONTIG, extraCount = 0;
  uint16_t* extra = nullptr;
  TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &s.compression);
  TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &s.bitsPerSample);
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &s.samplesPerPixel);
  TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
  TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &s.rowsPerStrip);
  TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &extraCount, &extra);
  if ((planar != PLANARCONFIG_CONTIG && s.samplesPerPixel > 1) || extraCount > 0 ||
      s.compression == COMPRESSION_OJPEG || s.width == 0 || s.height == 0) {
    return false;
  }
  s.rowsPerStrip = std::clamp<uint32_t>(s.rowsPerStrip, 1, s.height);
  if (s.compression == COMPRESSION_LZW || s.compression == COMPRESSION_ADOBE_DEFLATE) {
    TIFFGetFieldDefaulted(tif, TIFFTAG_PREDICTOR, &s.predictor);
  }
  if (s.compression == COMPRESSION_CCITTFAX3) {
    TIFFGetFieldDefaulted(tif, TIFFTAG_GROUP3OPTIONS, &s.group3Options);
  }
  if (s.compression == COMPRESSION_CCITTFAX4) {
    uint32_t g4Options = 0;
    TIFFGetFieldDefaulted(tif, TIFFTAG_GROUP4OPTIONS, &g4Options);
    if (g4Options & GROUP4OPT_UNCOMPRESSED) return false;
  }
  if (s.photometric == PHOTOMETRIC_YCBCR) {
    TIFFGetFieldDefaulted(tif, TIFFTAG_YCBCRSUBSAMPLING, &s.ycbcrHorizontal, &s.ycbcrVertical);
  }
  if (s.photometric == PHOTOMETRIC_PALETTE) {
    uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
    if (s.bitsPerSample > 8 || !TIFFGetField(tif, TIFFTAG_COLORMAP, &red, &green, &blue)) {
      return false;
    }
    const std::size_t count = std::size_t{1} << s.bitsPerSample;
    s.colormap.assign(red, red + count);
    s.colormap.insert(s.colormap.end(), green, green + count);
    s.colormap.insert(s.colormap.end(), blue, blue + count);
  }
  if (s.compression == COMPRESSION_JPEG) {
    uint32_t count = 0;
    void* tables = nullptr;
    if (TIFFGetField(tif, TIFFTAG_JPEGTABLES, &count, &tables) && count > 0) {
      const auto* bytes = static_cast<const uint8_t*>(tables);
      s.jpegTables.assign(bytes, bytes + count);
    }
  }
  return true;
}

bool ReadStripData(const TiffFile& file, TiffStrips& s) {
  TIFF* tif = file.get();
  const uint32_t count = TIFFNumberOfStrips(tif);
  const uint64_t expected = (static_cast<uint64_t>(s.height) + s.rowsPerStrip - 1) / s.rowsPerStrip;
  if (count == 0 || count != expected) return false;
  uint64_t total = 0;
  for (uint32_t i = 0; i < count; ++i) total += TIFFGetStrileByteCount(tif, i);
  if (total == 0 || total > kMostStoredBytes) return false;
  if (!file.path().empty()) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file.path(), error);
    if (error || total > size) return false;
  }
  s.strips.resize(count);
  for (uint32_t i = 0; i < count; ++i) {
    const uint64_t size = TIFFGetStrileByteCount(tif, i);
    if (size == 0) return false;
    s.strips[i].resize(size);
    if (TIFFReadRawStrip(tif, i, s.strips[i].data(), static_cast<tmsize_t>(size)) !=
        static_cast<tmsize_t>(size)) {
      return false;
    }
  }
  uint16_t fillOrder = FILLORDER_MSB2LSB;
  TIFFGetFieldDefaulted(tif, TIFFTAG_FILLORDER, &fillOrder);
  if (fillOrder == FILLORDER_LSB2MSB) {
    // Strips of other codecs are copied only in the usual order.
    if (!IsCcitt(s.compression)) return false;
    for (std::vector<uint8_t>& strip : s.strips) {
      TIFFReverseBits(strip.data(), static_cast<tmsize_t>(strip.size()));
    }
  }
  return true;
}

// The most bytes `stored` bytes of a strip can decode to, from the highest
// expansion each codec allows: a CCITT row takes at least one bit, an LZW
// code of at least 9 bits gives at most 4,096 bytes, a JPEG block of 64
// samples at least two bits, deflate at most 1,032 bytes a byte, PackBits
// 128 bytes for two.  A strip declaring more is damaged (or hostile: a
// header over a few hundred bytes can declare a page of gigabytes).  Other
// codecs get only the scratch limit.
uint64_t MostDecodedBytes(uint16_t compression, uint64_t stored, uint64_t rowBytes) {
  switch (compression) {
    case COMPRESSION_NONE: return stored;
    case COMPRESSION_CCITTRLE:
    case COMPRESSION_CCITTRLEW:
    case COMPRESSION_CCITTFAX3:
    case COMPRESSION_CCITTFAX4: return (stored * 8 + 1) * rowBytes;
    case COMPRESSION_LZW: return stored * 4096;
    case COMPRESSION_JPEG: return stored * 256;
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE: return stored * 1032 + rowBytes;
    case COMPRESSION_PACKBITS: return stored * 64 + rowBytes;
    default: return std::numeric_limits<uint64_t>::max();
  }
}

// The scratch buffer one strip of `tif` decodes into, or 0 when a strip
// declares more than its data can hold or than kMostScratchBytes.
constexpr uint64_t kMostScratchBytes = uint64_t{256} << 20;

uint64_t ScratchBytes(TIFF* tif, const TiffStrips& s) {
  if (!IsImageSizeAcceptable(s.width, s.height)) return 0;
  const uint64_t rowBytes = TIFFScanlineSize64(tif);
  uint64_t most = 0;
  for (uint32_t i = 0; i < TIFFNumberOfStrips(tif); ++i) {
    const uint32_t firstRow = i * s.rowsPerStrip;
    if (firstRow >= s.height) return 0;
    const uint64_t decoded = TIFFVStripSize64(tif, std::min(s.rowsPerStrip, s.height - firstRow));
    const uint64_t stored = TIFFGetStrileByteCount(tif, i);
    if (decoded == 0 || decoded > kMostScratchBytes ||
        decoded > MostDecodedBytes(s.compression, stored, rowBytes)) {
      return 0;
    }
    most = std::max(most, decoded);
  }
  return most;
}

}  // namespace

std::shared_ptr<TiffStrips> ReadTiffStrips(const TiffFile& file) {
  auto strips = std::make_shared<TiffStrips>();
  const int errorsBefore = file.errorCount();
  if (!ReadTags(file.get(), *strips) || !ReadStripData(file, *strips) ||
      file.errorCount() != errorsBefore) {
    return nullptr;
  }
  return strips;
}

std::vector<uint8_t> OnePageTiff(const TiffStrips& strips) {
  TiffFile written(TiffFile::InMemory{}, "w");
  WriteTiffStrips(written, strips, 0, 0);
  written.Close();
  return written.TakeBytes();
}

bool TiffStripsDecode(const TiffStrips& strips) {
  try {
    TiffFile file(TiffFile::InMemory{OnePageTiff(strips)}, "r");
    TIFF* tif = file.get();
    const auto size = static_cast<tmsize_t>(ScratchBytes(tif, strips));
    if (size <= 0) return false;
    std::vector<uint8_t> scratch(static_cast<std::size_t>(size));
    for (uint32_t i = 0; i < TIFFNumberOfStrips(tif); ++i) {
      if (TIFFReadEncodedStrip(tif, i, scratch.data(), size) < 0) return false;
    }
    return file.errorCount() == 0 && file.warningCount() == 0;
  } catch (const std::exception&) {
    return false;
  }
}

void WriteTiffStrips(const TiffFile& file, const TiffStrips& s, int xDpi, int yDpi) {
  TIFF* tif = file.get();
  TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, s.width);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, s.height);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, s.bitsPerSample);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, s.samplesPerPixel);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, s.compression);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, s.photometric);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, s.rowsPerStrip);
  if (s.predictor != 1) TIFFSetField(tif, TIFFTAG_PREDICTOR, s.predictor);
  if (s.compression == COMPRESSION_CCITTFAX3) {
    TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, s.group3Options);
  }
  if (s.photometric == PHOTOMETRIC_YCBCR) {
    TIFFSetField(tif, TIFFTAG_YCBCRSUBSAMPLING, s.ycbcrHorizontal, s.ycbcrVertical);
  }
  if (!s.colormap.empty()) {
    const std::size_t count = s.colormap.size() / 3;
    TIFFSetField(tif, TIFFTAG_COLORMAP, s.colormap.data(), s.colormap.data() + count,
                 s.colormap.data() + 2 * count);
  }
  if (!s.jpegTables.empty()) {
    TIFFSetField(tif, TIFFTAG_JPEGTABLES, static_cast<uint32_t>(s.jpegTables.size()),
                 s.jpegTables.data());
  }
  const int x = xDpi > 0 ? xDpi : yDpi;
  const int y = yDpi > 0 ? yDpi : xDpi;
  if (x > 0) {
    TIFFSetField(tif, TIFFTAG_XRESOLUTION, static_cast<float>(x));
    TIFFSetField(tif, TIFFTAG_YRESOLUTION, static_cast<float>(y));
    TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
  }
  for (std::size_t i = 0; i < s.strips.size(); ++i) {
    const std::vector<uint8_t>& strip = s.strips[i];
    if (TIFFWriteRawStrip(tif, static_cast<uint32_t>(i), const_cast<uint8_t*>(strip.data()),
                          static_cast<tmsize_t>(strip.size())) < 0) {
      file.Fail(ErrorKind::WriteFailed, "cannot write the page");
    }
  }
  if (!TIFFWriteDirectory(tif)) file.Fail(ErrorKind::WriteFailed, "cannot write the page directory");
}

}  // namespace zelk
