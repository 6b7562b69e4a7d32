#include "imaging/CcittEncoder.h"

#include "imaging/Page.h"
#include "imaging/PixelRows.h"
#include "imaging/TiffFile.h"

namespace zelk {
namespace {

// libtiff chooses the two-dimensional run length from the vertical
// resolution: 4 above 150 dpi, 2 otherwise.  The strip is written at this
// resolution so that K is known; the PDF carries its own page size.
constexpr float kEncodingResolution = 300.0f;
constexpr int kTwoDimensionalK = 4;

std::vector<uint8_t> WriteOneStripTiff(PIX* bitonal, CcittScheme scheme) {
  const uint32_t width = pixGetWidth(bitonal);
  const uint32_t height = pixGetHeight(bitonal);
  std::vector<uint8_t> rows = PackedImage(bitonal, false);

  TiffFile file(TiffFile::InMemory{}, "w");
  TIFF* tif = file.get();
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
  TIFFSetField(tif, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, height);
  TIFFSetField(tif, TIFFTAG_XRESOLUTION, kEncodingResolution);
  TIFFSetField(tif, TIFFTAG_YRESOLUTION, kEncodingResolution);
  TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
  if (scheme == CcittScheme::Group4) {
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
  } else {
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX3);
    TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS,
                 scheme == CcittScheme::Group3TwoD ? GROUP3OPT_2DENCODING : 0);
    // No return-to-control sequence after the last row: the PDF filter
    // does not need it.
    TIFFSetField(tif, TIFFTAG_FAXMODE, FAXMODE_NORTC);
  }
  if (TIFFWriteEncodedStrip(tif, 0, rows.data(), static_cast<tmsize_t>(rows.size())) < 0 ||
      !TIFFWriteDirectory(tif)) {
    file.Fail(ErrorKind::EncodeFailed, "CCITT encoding failed");
  }
  file.Close();
  return file.TakeBytes();
}

std::vector<uint8_t> TakeStrip(std::vector<uint8_t> tiffBytes) {
  TiffFile file(TiffFile::InMemory{std::move(tiffBytes)}, "r");
  TIFF* tif = file.get();
  const tmsize_t size = TIFFRawStripSize(tif, 0);
  if (size <= 0) file.Fail(ErrorKind::EncodeFailed, "CCITT encoding produced no data");
  std::vector<uint8_t> strip(static_cast<size_t>(size));
  if (TIFFReadRawStrip(tif, 0, strip.data(), size) != size) {
    file.Fail(ErrorKind::EncodeFailed, "CCITT encoding produced a short strip");
  }
  return strip;
}

}  // namespace

CcittData EncodeCcitt(PIX* bitonal, CcittScheme scheme) {
  if (pixGetDepth(bitonal) != 1) throw ImageError(ErrorKind::BadSetting, "", "CCITT encoding needs a bitonal page");
  CcittData data;
  data.bytes = TakeStrip(WriteOneStripTiff(bitonal, scheme));
  switch (scheme) {
    case CcittScheme::Group3OneD: data.k = 0; data.endOfLine = true; break;
    case CcittScheme::Group3TwoD: data.k = kTwoDimensionalK; data.endOfLine = true; break;
    case CcittScheme::Group4: data.k = -1; data.endOfLine = false; break;
  }
  return data;
}

}  // namespace zelk
