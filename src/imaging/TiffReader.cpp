#include "imaging/TiffReader.h"

#include "imaging/ImageLimits.h"
#include "imaging/PackedRows.h"
#include "imaging/PageRange.h"
#include "imaging/PixConvert.h"
#include "imaging/TiffFile.h"
#include "imaging/TiffPageCursor.h"
#include "imaging/TiffStripsIo.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zelk {
namespace {

struct Layout {
  uint32_t width = 0;
  uint32_t height = 0;
  uint16_t bitsPerSample = 1;
  uint16_t samplesPerPixel = 1;
  uint16_t photometric = PHOTOMETRIC_MINISWHITE;
  uint16_t planar = PLANARCONFIG_CONTIG;
  uint16_t compression = COMPRESSION_NONE;
};

Layout ReadLayout(const TiffFile& file) {
  TIFF* tif = file.get();
  Layout layout;
  if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &layout.width) ||
      !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &layout.height)) {
    file.Fail(ErrorKind::Damaged, "the page has no image size");
  }
  CheckImageSize(layout.width, layout.height, file.path());
  TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &layout.bitsPerSample);
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &layout.samplesPerPixel);
  TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &layout.planar);
  TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &layout.compression);
  if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &layout.photometric)) {
    // Old writers leave the tag out; libtiff's own default is min-is-white
    // for one sample, and RGB is the only sensible reading of three.
    layout.photometric = layout.samplesPerPixel >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISWHITE;
  }
  return layout;
}

int DotsPerInch(float value, uint16_t unit) {
  if (!std::isfinite(value) || value <= 0 || unit == RESUNIT_NONE) return 0;
  const double dpi = unit == RESUNIT_CENTIMETER ? value * 2.54 : value;
  return static_cast<int>(std::lround(std::min(dpi, 65535.0)));
}

void ReadResolution(TIFF* tif, Page& page) {
  float x = 0, y = 0;
  uint16_t unit = RESUNIT_INCH;
  TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
  if (TIFFGetField(tif, TIFFTAG_XRESOLUTION, &x)) page.xDpi = DotsPerInch(x, unit);
  if (TIFFGetField(tif, TIFFTAG_YRESOLUTION, &y)) page.yDpi = DotsPerInch(y, unit);
}

// Grey, bitonal, palette and 8-bit contiguous RGB pages are decoded row by
// row into a PIX of the same depth; every other layout goes through
// libtiff's RGBA reader.
bool IsDirectLayout(const Layout& l) {
  const bool oneSample = l.samplesPerPixel == 1;
  if (oneSample && (l.photometric == PHOTOMETRIC_MINISWHITE ||
                    l.photometric == PHOTOMETRIC_MINISBLACK)) {
    return l.bitsPerSample == 1 || l.bitsPerSample == 2 || l.bitsPerSample == 4 ||
           l.bitsPerSample == 8 || l.bitsPerSample == 16;
  }
  if (oneSample && l.photometric == PHOTOMETRIC_PALETTE) {
    return l.bitsPerSample == 1 || l.bitsPerSample == 2 || l.bitsPerSample == 4 ||
           l.bitsPerSample == 8;
  }
  return l.photometric == PHOTOMETRIC_RGB && l.bitsPerSample == 8 && l.samplesPerPixel >= 3 &&
         l.planar == PLANARCONFIG_CONTIG;
}

// Whether stored samples must be flipped into Leptonica's convention
// (1-bit: 1 = black; grey: 0 = black).
bool NeedsInversion(const Layout& l) {
  if (l.photometric == PHOTOMETRIC_MINISWHITE) return l.bitsPerSample != 1;
  if (l.photometric == PHOTOMETRIC_MINISBLACK) return l.bitsPerSample == 1;
  return false;
}

void AttachColormap(const TiffFile& file, const Layout& l, PIX* pix) {
  uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
  if (!TIFFGetField(file.get(), TIFFTAG_COLORMAP, &red, &green, &blue)) {
    file.Fail(ErrorKind::Damaged, "the palette page has no colormap");
  }
  const int count = 1 << l.bitsPerSample;
  // Some writers store 8-bit values in the 16-bit fields.
  bool eightBitValues = true;
  for (int i = 0; i < count && eightBitValues; ++i) {
    eightBitValues = red[i] < 256 && green[i] < 256 && blue[i] < 256;
  }
  const int shift = eightBitValues ? 0 : 8;
  PIXCMAP* cmap = pixcmapCreate(l.bitsPerSample);
  for (int i = 0; i < count; ++i) {
    pixcmapAddColor(cmap, red[i] >> shift, green[i] >> shift, blue[i] >> shift);
  }
  pixSetColormap(pix, cmap);
}

void DecodeStrips(const TiffFile& file, const Layout& l, PIX* pix) {
  TIFF* tif = file.get();
  uint32_t rowsPerStrip = l.height;
  TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
  rowsPerStrip = std::clamp<uint32_t>(rowsPerStrip, 1, l.height);
  const tmsize_t scanline = TIFFScanlineSize(tif);
  if (scanline <= 0) file.Fail(ErrorKind::Damaged, "cannot work out the row size");
  std::vector<uint8_t> strip(static_cast<size_t>(scanline) * rowsPerStrip);
  const bool invert = NeedsInversion(l);
  for (uint32_t first = 0; first < l.height; first += rowsPerStrip) {
    const uint32_t rows = std::min(rowsPerStrip, l.height - first);
    const uint32_t index = TIFFComputeStrip(tif, first, 0);
    if (TIFFReadEncodedStrip(tif, index, strip.data(), static_cast<tmsize_t>(rows) * scanline) < 0) {
      file.Fail(ErrorKind::Damaged, "cannot decode the page");
    }
    for (uint32_t r = 0; r < rows; ++r) {
      StorePackedRow(pix, static_cast<int>(first + r), strip.data() + r * scanline,
                     l.bitsPerSample, l.samplesPerPixel, invert);
    }
  }
}

void DecodeTiles(const TiffFile& file, const Layout& l, PIX* pix) {
  TIFF* tif = file.get();
  uint32_t tileWidth = 0, tileHeight = 0;
  TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tileWidth);
  TIFFGetField(tif, TIFFTAG_TILELENGTH, &tileHeight);
  const tmsize_t scanline = TIFFScanlineSize(tif);
  const tmsize_t tileRow = TIFFTileRowSize(tif);
  const tmsize_t tileSize = TIFFTileSize(tif);
  if (tileWidth == 0 || tileHeight == 0 || scanline <= 0 || tileRow <= 0 || tileSize <= 0 ||
      tileHeight > static_cast<uint32_t>(kMaxImageSide)) {
    file.Fail(ErrorKind::Damaged, "the tile layout is invalid");
  }
  const long long bitsPerPixel = static_cast<long long>(l.bitsPerSample) * l.samplesPerPixel;
  std::vector<uint8_t> tile(static_cast<size_t>(tileSize));
  std::vector<uint8_t> band(static_cast<size_t>(scanline) * tileHeight);
  const bool invert = NeedsInversion(l);
  for (uint32_t top = 0; top < l.height; top += tileHeight) {
    const uint32_t rows = std::min(tileHeight, l.height - top);
    for (uint32_t left = 0; left < l.width; left += tileWidth) {
      if (TIFFReadTile(tif, tile.data(), left, top, 0, 0) < 0) file.Fail(ErrorKind::Damaged, "cannot decode the page");
      // Tile widths are multiples of 16 pixels, so a tile starts on a byte.
      const tmsize_t offset = static_cast<tmsize_t>(left * bitsPerPixel / 8);
      const tmsize_t bytes = std::min(tileRow, scanline - offset);
      for (uint32_t r = 0; r < rows; ++r) {
        std::copy_n(tile.data() + r * tileRow, bytes, band.data() + r * scanline + offset);
      }
    }
    for (uint32_t r = 0; r < rows; ++r) {
      StorePackedRow(pix, static_cast<int>(top + r), band.data() + r * scanline, l.bitsPerSample,
                     l.samplesPerPixel, invert);
    }
  }
}

PixPtr DecodeDirect(const TiffFile& file, const Layout& l) {
  const int depth = l.photometric == PHOTOMETRIC_RGB ? 32 : l.bitsPerSample;
  PixPtr pix(pixCreate(static_cast<int>(l.width), static_cast<int>(l.height), depth));
  if (!pix) throw ImageError(ErrorKind::OutOfMemory, file.path(), "no memory for the page");
  if (TIFFIsTiled(file.get())) {
    DecodeTiles(file, l, pix.get());
  } else {
    DecodeStrips(file, l, pix.get());
  }
  if (l.photometric == PHOTOMETRIC_PALETTE) {
    AttachColormap(file, l, pix.get());
    pix = WithoutBitonalColormap(std::move(pix));
  }
  return pix;
}

PixPtr DecodeThroughRgba(const TiffFile& file, const Layout& l) {
  char reason[1024] = "";
  if (!TIFFRGBAImageOK(file.get(), reason)) {
    throw ImageError(ErrorKind::Unsupported, file.path(),
                     std::string("unsupported TIFF page layout: ") + reason);
  }
  PixPtr pix(pixCreate(static_cast<int>(l.width), static_cast<int>(l.height), 32));
  if (!pix) throw ImageError(ErrorKind::OutOfMemory, file.path(), "no memory for the page");
  // A 32-bit PIX has exactly `width` words a row, the raster libtiff fills.
  auto* raster = reinterpret_cast<uint32_t*>(pixGetData(pix.get()));
  if (!TIFFReadRGBAImageOriented(file.get(), l.width, l.height, raster, ORIENTATION_TOPLEFT, 0)) {
    file.Fail(ErrorKind::Damaged, "cannot decode the page");
  }
  const size_t count = static_cast<size_t>(l.width) * l.height;
  for (size_t i = 0; i < count; ++i) {
    const uint32_t abgr = raster[i];
    l_uint32 rgb;
    composeRGBPixel(TIFFGetR(abgr), TIFFGetG(abgr), TIFFGetB(abgr), &rgb);
    raster[i] = rgb;
  }
  pixSetSpp(pix.get(), 3);
  return pix;
}

// The single-strip G4 data of a page, for writers that embed it whole.
std::optional<RawPageData> G4Data(const TiffStrips& s) {
  if (s.compression != COMPRESSION_CCITTFAX4 || s.strips.size() != 1 || s.bitsPerSample != 1 ||
      s.samplesPerPixel != 1 ||
      (s.photometric != PHOTOMETRIC_MINISWHITE && s.photometric != PHOTOMETRIC_MINISBLACK)) {
    return std::nullopt;
  }
  return RawPageData{RawPageData::Codec::CcittG4, s.strips.front(), static_cast<int>(s.width),
                     static_cast<int>(s.height), 1, s.photometric == PHOTOMETRIC_MINISBLACK};
}

// The depth of the PIX the decoder makes for this layout.
int DecodedDepth(const Layout& l) {
  if (!IsDirectLayout(l) || l.photometric == PHOTOMETRIC_RGB) return 32;
  return l.bitsPerSample;
}


// Decodes the current directory of `file`.
Page DecodeCurrentPage(const TiffFile& file) {
  const Layout layout = ReadLayout(file);
  Page page;
  ReadResolution(file.get(), page);
  std::shared_ptr<TiffStrips> strips = ReadTiffStrips(file);
  const int warningsBefore = file.warningCount();
  const int errorsBefore = file.errorCount();
  page.pix = IsDirectLayout(layout) ? DecodeDirect(file, layout) : DecodeThroughRgba(file, layout);
  if (file.errorCount() != errorsBefore) file.Fail(ErrorKind::Damaged, "cannot decode the page");
  // Data libtiff had to repair is not copied as it stands: the writer
  // encodes the repaired pixels instead.
  if (strips && file.warningCount() == warningsBefore) {
    page.raw = G4Data(*strips);
    page.strips = std::move(strips);
  }
  pixSetResolution(page.pix.get(), page.xDpi, page.yDpi);
  page.width = pixGetWidth(page.pix.get());
  page.height = pixGetHeight(page.pix.get());
  page.depth = pixGetDepth(page.pix.get());
  return page;
}

// Decodes stored strips through a one-page TIFF in memory.
PixPtr DecodeStrips(const TiffStrips& strips) {
  TiffFile file(TiffFile::InMemory{OnePageTiff(strips)}, "r");
  return std::move(DecodeCurrentPage(file).pix);
}

}  // namespace

Page LoadTiffPage(const std::string& path, int pageIndex) {
  return DecodeCurrentPage(OpenTiffAtPage(path, pageIndex));
}

Page ReadTiffPage(const std::string& path, int pageIndex) {
  const TiffFile& file = OpenTiffAtPage(path, pageIndex);
  const Layout layout = ReadLayout(file);
  std::shared_ptr<const TiffStrips> strips = ReadTiffStrips(file);
  if (!strips) return DecodeCurrentPage(file);
  Page page;
  ReadResolution(file.get(), page);
  page.raw = G4Data(*strips);
  page.strips = strips;
  page.width = static_cast<int>(layout.width);
  page.height = static_cast<int>(layout.height);
  page.depth = DecodedDepth(layout);
  page.decode = [strips, path] {
    try {
      return DecodeStrips(*strips);
    } catch (const ImageError& e) {
      throw ImageError(e.Kind(), path, e.Detail());
    }
  };
  return page;
}

int CountTiffPages(const std::string& path) {
  TiffFile file(path, "rhm");
  const int count = TiffPageCount(file);
  if (count == 0) file.Fail(ErrorKind::NoPage, "the file holds no readable page");
  return count;
}

}  // namespace zelk
