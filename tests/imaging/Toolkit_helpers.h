#pragma once
// Helpers for the image toolkit tests: deterministic test images, source
// files written with the libraries directly (libtiff, libjpeg, Leptonica,
// a hand-made PDF), and read-backs through libtiff and libjpeg that do not
// go through the code under test.

#include "imaging/Page.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zelk::toolkittest {

// Images with structure and noise, the same on every run.
PixPtr BitonalPix(int width, int height, unsigned seed = 1);
PixPtr GreyPix(int width, int height, int depth = 8);
PixPtr RgbPix(int width, int height);
// 8-bit (or `depth`-bit) with a colormap of coloured, or only grey, entries.
PixPtr PalettePix(int width, int height, bool colourful, int depth = 8);

Page PageOf(PixPtr pix, int dpi);

// A TIFF page described for libtiff, from a PIX: `photometric` and
// `compression` as libtiff's constants; the samples are taken from the PIX
// (1/2/4/8/16-bit grey or palette, 32-bit as RGB, or as CMYK with 4 samples).
struct TiffSource {
  uint16_t compression = 1;    // COMPRESSION_NONE
  uint16_t photometric = 0;    // PHOTOMETRIC_MINISWHITE
  uint16_t fillOrder = 1;      // FILLORDER_MSB2LSB
  uint32_t rowsPerStrip = 0;   // 0: one strip
  uint32_t tileSize = 0;       // non-zero: square tiles of this size
  bool planarSeparate = false;
  bool cmyk = false;
  uint32_t group3Options = 0;
  float dpi = 300;
};
// Appends one page to `path` (creating it for the first).
void WriteTiffPage(const std::string& path, PIX* pix, const TiffSource& how, bool append);

// What libtiff reports about one directory of a file.
struct TiffDirectory {
  uint16_t compression = 0, photometric = 0, bitsPerSample = 0, samplesPerPixel = 0;
  uint16_t subsamplingH = 0, subsamplingV = 0;
  uint32_t width = 0, height = 0, strips = 0;
  float xResolution = 0, yResolution = 0;
  uint16_t resolutionUnit = 0;
  bool hasColormap = false;
};
std::vector<TiffDirectory> ReadTiffDirectories(const std::string& path);
// Pixels of a directory as libtiff's RGBA reader gives them.
std::vector<uint32_t> ReadTiffRgba(const std::string& path, int directory);
// The same packing (R in the low byte) for a PIX.
std::vector<uint32_t> PixRgba(PIX* pix);
// The raw bytes of strip 0 of a directory, as stored.
std::vector<uint8_t> ReadTiffRawStrip(const std::string& path, int directory);

// A JPEG written by libjpeg from a PIX (8-bit grey or 32-bit RGB), or as
// Adobe CMYK from an RGB PIX (inverted ink values, as Adobe writes them).
// `lumaH` x `lumaV` other than 0 x 0 sets the luminance sampling factors
// of a colour JPEG (1 x 2: 4:4:0).
void WriteJpeg(const std::string& path, PIX* pix, int quality, int dpi, bool progressive = false,
               bool cmyk = false, int lumaH = 0, int lumaV = 0);

struct JpegHeader {
  int width = 0, height = 0, components = 0;
  int hSampling[4] = {}, vSampling[4] = {};
  int densityUnit = 0, xDensity = 0, yDensity = 0;
  bool ok = false;
};
JpegHeader ReadJpegHeader(const std::string& path);

// A PDF whose pages (`widthPt` x `heightPt` each) show an uncompressed image
// of the given pixels and colour space ("/DeviceGray" or "/DeviceRGB"), or
// no image when `imageWidth` is 0.
void WriteImagePdf(const std::string& path, int pages, double widthPt, double heightPt,
                   int imageWidth, int imageHeight, const std::string& colourSpace);

}  // namespace zelk::toolkittest
