#include "imaging/TiffWriter.h"

#include "imaging/FileBytes.h"
#include "imaging/JpegQuality.h"
#include "imaging/LibraryMessages.h"
#include "imaging/PackedRows.h"
#include "imaging/PixConvert.h"
#include "imaging/SaveFormat.h"
#include "imaging/TiffFile.h"
#include "imaging/TiffPassThrough.h"
#include "imaging/TiffStripsIo.h"

#include <vector>

namespace zelk {
namespace {

struct TiffEncoding {
  uint16_t compression = COMPRESSION_NONE;
  uint32_t group3Options = 0;
  uint16_t chromaColumns = 1;  // horizontal YCbCr subsampling of JPEG codes
  bool ccitt = false;
  bool jpeg = false;
};

TiffEncoding EncodingFor(int code, const std::string& path) {
  switch (code) {
    case kTiffCcittG4: return {COMPRESSION_CCITTFAX4, 0, 1, true, false};
    case kTiffCcittG3TwoD: return {COMPRESSION_CCITTFAX3, GROUP3OPT_2DENCODING, 1, true, false};
    case kTiffCcittG3OneD: return {COMPRESSION_CCITTFAX3, 0, 1, true, false};
    case kTiffCcittRle: return {COMPRESSION_CCITTRLE, 0, 1, true, false};
    case kTiffLzw: return {COMPRESSION_LZW, 0, 1, false, false};
    case kTiffUncompressed: return {COMPRESSION_NONE, 0, 1, false, false};
    case kTiffJpeg444: return {COMPRESSION_JPEG, 0, 1, false, true};
    case kTiffJpeg422: return {COMPRESSION_JPEG, 0, 2, false, true};
    case kTiffJpeg411: return {COMPRESSION_JPEG, 0, 4, false, true};
    default:
      throw ImageError(ErrorKind::BadSetting, path,
                       "format code " + std::to_string(code) + " is not a TIFF format");
  }
}

// The depth to store, after checking that the encoding can take the page.
int CheckedBits(const Page& page, const TiffEncoding& encoding, int bitsPerPixel,
                const std::string& path) {
  const int pageBits = ProgramBitsPerPixel(page);
  bitsPerPixel = BitsToSave(page, bitsPerPixel, path);
  if (encoding.ccitt && (pageBits != 1 || bitsPerPixel != 1)) {
    throw ImageError(ErrorKind::BadSetting, path,
                     "CCITT compression needs a bitonal page (this one has " +
                         std::to_string(pageBits) + " bits per pixel)");
  }
  return bitsPerPixel;
}

// The pixels as they will be stored: 1-bit, 8-bit grey or palette, or RGB.
PixPtr PixelsToStore(PIX* pix, const TiffEncoding& encoding, int bitsPerPixel) {
  if (encoding.ccitt || (!encoding.jpeg && bitsPerPixel == 1)) return ToBitonal(pix);
  if (encoding.jpeg) return ToJpegPixels(pix, bitsPerPixel);
  if (bitsPerPixel == 8) return ToEightBit(pix, true);
  return ToRgb(pix);
}

void SetColormap(const TiffFile& file, PIX* pix) {
  PIXCMAP* cmap = pixGetColormap(pix);
  std::vector<uint16_t> red(256, 0), green(256, 0), blue(256, 0);
  for (int i = 0; i < pixcmapGetCount(cmap) && i < 256; ++i) {
    l_int32 r, g, b;
    pixcmapGetColor(cmap, i, &r, &g, &b);
    red[i] = static_cast<uint16_t>(r * 257);
    green[i] = static_cast<uint16_t>(g * 257);
    blue[i] = static_cast<uint16_t>(b * 257);
  }
  TIFFSetField(file.get(), TIFFTAG_COLORMAP, red.data(), green.data(), blue.data());
}

// Tags of the new directory; the codec's own tags follow the compression.
void SetTags(const TiffFile& file, PIX* pix, const TiffEncoding& encoding, int qualityFactor) {
  TIFF* tif = file.get();
  const int depth = pixGetDepth(pix);
  const bool rgb = depth == 32;
  const bool palette = pixGetColormap(pix) != nullptr;
  TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(pixGetWidth(pix)));
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(pixGetHeight(pix)));
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, rgb ? 8 : depth);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, rgb ? 3 : 1);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, encoding.compression);

  uint16_t photometric = rgb ? PHOTOMETRIC_RGB : palette ? PHOTOMETRIC_PALETTE
                       : depth == 1 ? PHOTOMETRIC_MINISWHITE : PHOTOMETRIC_MINISBLACK;
  if (encoding.jpeg && rgb) photometric = PHOTOMETRIC_YCBCR;
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, photometric);
  if (palette) SetColormap(file, pix);

  if (encoding.compression == COMPRESSION_CCITTFAX3) {
    TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, encoding.group3Options);
  }
  if (encoding.compression == COMPRESSION_LZW && depth >= 8 && !palette) {
    TIFFSetField(tif, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
  }
  if (encoding.jpeg) {
    if (rgb) {
      TIFFSetField(tif, TIFFTAG_YCBCRSUBSAMPLING, encoding.chromaColumns, uint16_t{1});
      TIFFSetField(tif, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
    }
    TIFFSetField(tif, TIFFTAG_JPEGQUALITY, JpegQualityFromFactor(qualityFactor));
  }
  // CCITT pages go in one strip, as fax readers expect; others in strips
  // of about 8 KiB (rounded by the JPEG codec to whole MCU rows).
  const uint32_t rowsPerStrip = encoding.ccitt ? static_cast<uint32_t>(pixGetHeight(pix))
                                               : TIFFDefaultStripSize(tif, 0);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
}

void WriteRows(const TiffFile& file, PIX* pix) {
  const tmsize_t scanline = TIFFScanlineSize(file.get());
  if (scanline < PackedRowBytes(pix)) file.Fail(ErrorKind::EncodeFailed, "cannot work out the row size");
  std::vector<uint8_t> row(static_cast<size_t>(scanline));
  const int height = pixGetHeight(pix);
  for (int y = 0; y < height; ++y) {
    LoadPackedRow(pix, y, row.data(), false);
    if (TIFFWriteScanline(file.get(), row.data(), static_cast<uint32_t>(y), 0) < 0) {
      file.Fail(ErrorKind::WriteFailed, "cannot write the page");
    }
  }
}

// Encodes the pixels as a one-page TIFF in memory and takes its strips.
std::shared_ptr<const TiffStrips> EncodeStrips(PIX* pix, const TiffEncoding& encoding,
                                               int qualityFactor) {
  TiffFile written(TiffFile::InMemory{}, "w");
  SetTags(written, pix, encoding, qualityFactor);
  WriteRows(written, pix);
  if (!TIFFWriteDirectory(written.get())) written.Fail(ErrorKind::EncodeFailed, "cannot encode the page");
  written.Close();
  TiffFile file(TiffFile::InMemory{written.TakeBytes()}, "r");
  std::shared_ptr<const TiffStrips> strips = ReadTiffStrips(file);
  if (!strips) file.Fail(ErrorKind::EncodeFailed, "cannot encode the page");
  return strips;
}

}  // namespace

std::shared_ptr<const TiffStrips> EncodeTiffPage(const Page& page, const SaveSpec& spec,
                                                 const std::string& path) {
  SilenceImageLibraries();
  const TiffEncoding encoding = EncodingFor(spec.code, path);
  const int bits = CheckedBits(page, encoding, spec.bitsPerPixel, path);
  if (std::shared_ptr<const TiffStrips> copied =
          CopiedStrips(page, spec.code, bits, JpegQualityFromFactor(spec.qualityFactor))) {
    return copied;
  }
  const PixPtr pix = PixelsToStore(PixelsOf(page).get(), encoding, bits);
  return EncodeStrips(pix.get(), encoding, spec.qualityFactor);
}

void WriteTiffPage(const TiffStrips& strips, int xDpi, int yDpi, const std::string& path,
                   bool append) {
  SilenceImageLibraries();
  // "m": no memory mapping, so another program shortening the file cannot
  // crash this one.
  TiffFile file(path, append && FileHasData(path) ? "am" : "wm");
  WriteTiffStrips(file, strips, xDpi, yDpi);
  file.Close();
}

TiffDocumentWriter::TiffDocumentWriter(const std::string& path, bool append) : path_(path) {
  SilenceImageLibraries();
  file_ = std::make_unique<TiffFile>(path, append && FileHasData(path) ? "am" : "wm");
}

TiffDocumentWriter::~TiffDocumentWriter() = default;

void TiffDocumentWriter::AddPage(const TiffStrips& strips, int xDpi, int yDpi) {
  if (!file_) throw std::logic_error("the TIFF document is already written");
  WriteTiffStrips(*file_, strips, xDpi, yDpi);
}

void TiffDocumentWriter::Finish() {
  if (!file_) throw std::logic_error("the TIFF document is already written");
  file_->Close();
  file_.reset();
}

void SaveTiffPage(const Page& page, const std::string& path, const SaveSpec& spec, bool append) {
  const std::shared_ptr<const TiffStrips> strips =
      EncodeTiffPage(page, spec, path);
  WriteTiffPage(*strips, page.xDpi, page.yDpi, path, append);
}

}  // namespace zelk
