#include "imaging/JpegReader.h"

#include "imaging/FileBytes.h"
#include "imaging/ImageLimits.h"
#include "imaging/JpegErrors.h"
#include "imaging/PackedRows.h"

#include <bit>
#include <cmath>
#include <cstdlib>

namespace zelk {
namespace {

constexpr size_t kMaxJpegFileBytes = size_t{1} << 30;

// What the decoder found; plain data, as it lives across setjmp.
struct JpegOutcome {
  bool headerOnly;  // read the headers only, decode nothing
  bool eighth;      // decode at an eighth of the size: every code read, little else done
  PIX* pix;
  long long width, height;
  bool tooLarge, failed, outOfMemory;
  bool baseline;
  int components;
  J_COLOR_SPACE colorSpace;
  UINT8 densityUnit;
  UINT16 xDensity, yDensity;
};

// Adobe writers store CMYK inverted (0 = full ink); others store it plain.
void StoreCmykRow(PIX* pix, int y, const JSAMPLE* row, bool inverted) {
  l_uint32* line = pixGetData(pix) + static_cast<long long>(y) * pixGetWpl(pix);
  const int width = pixGetWidth(pix);
  for (int x = 0; x < width; ++x) {
    int c = row[4 * x], m = row[4 * x + 1], yel = row[4 * x + 2], k = row[4 * x + 3];
    if (!inverted) {
      c = 255 - c, m = 255 - m, yel = 255 - yel, k = 255 - k;
    }
    composeRGBPixel(c * k / 255, m * k / 255, yel * k / 255, line + x);
  }
}

void DecodeJpeg(const uint8_t* data, size_t size, JpegErrors* errors, JpegOutcome* out) {
  jpeg_decompress_struct cinfo;
  PIX* volatile pix = nullptr;
  JSAMPLE* volatile row = nullptr;
  cinfo.err = InstallJpegErrors(*errors);
  if (setjmp(errors->jump)) {
    jpeg_destroy_decompress(&cinfo);
    PIX* doomed = pix;
    pixDestroy(&doomed);
    std::free(row);
    out->failed = true;
    return;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);
  out->width = cinfo.image_width;
  out->height = cinfo.image_height;
  if (!IsImageSizeAcceptable(out->width, out->height)) {
    jpeg_destroy_decompress(&cinfo);
    out->tooLarge = true;
    return;
  }
  out->components = cinfo.num_components;
  out->colorSpace = cinfo.jpeg_color_space;
  out->baseline = !cinfo.progressive_mode && !cinfo.arith_code && cinfo.data_precision == 8;
  if (cinfo.saw_JFIF_marker) {
    out->densityUnit = cinfo.density_unit;
    out->xDensity = cinfo.X_density;
    out->yDensity = cinfo.Y_density;
  }
  if (out->headerOnly) {
    jpeg_destroy_decompress(&cinfo);
    return;
  }

  int depth = 32;
  bool direct = false;  // decoded straight into the PIX's lines
  if (cinfo.jpeg_color_space == JCS_GRAYSCALE) {
    cinfo.out_color_space = JCS_GRAYSCALE;
    depth = 8;
  } else if (cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK) {
    cinfo.out_color_space = JCS_CMYK;
  } else {
    // The byte order of a Leptonica RGB word in memory.
    cinfo.out_color_space =
        std::endian::native == std::endian::little ? JCS_EXT_XBGR : JCS_EXT_RGBX;
    direct = true;
  }
  if (out->eighth) {
    cinfo.scale_num = 1;
    cinfo.scale_denom = 8;
  }
  jpeg_start_decompress(&cinfo);
  pix = pixCreate(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
                  depth);
  if (!direct) {
    row = static_cast<JSAMPLE*>(
        std::malloc(static_cast<size_t>(cinfo.output_width) * cinfo.output_components));
  }
  if (pix == nullptr || (!direct && row == nullptr)) {
    out->outOfMemory = true;
    jpeg_abort_decompress(&cinfo);
    std::longjmp(errors->jump, 1);
  }
  const int wpl = pixGetWpl(pix);
  while (cinfo.output_scanline < cinfo.output_height) {
    const int y = static_cast<int>(cinfo.output_scanline);
    if (direct) {
      JSAMPROW line = reinterpret_cast<JSAMPROW>(pixGetData(pix) + static_cast<long long>(y) * wpl);
      jpeg_read_scanlines(&cinfo, &line, 1);
      continue;
    }
    JSAMPROW line = row;
    jpeg_read_scanlines(&cinfo, &line, 1);
    if (depth == 8) {
      StorePackedRow(pix, y, row, 8, 1, false);
    } else {
      StoreCmykRow(pix, y, row, cinfo.saw_Adobe_marker);
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  std::free(row);
  if (depth == 32) pixSetSpp(pix, 3);
  out->pix = pix;
}

int DotsPerInch(UINT8 unit, UINT16 density) {
  if (unit == 1) return density;
  if (unit == 2) return static_cast<int>(std::lround(density * 2.54));
  return 0;  // an aspect ratio only
}

bool PlainColours(const JpegOutcome& out) {
  return (out.components == 1 && out.colorSpace == JCS_GRAYSCALE) ||
         (out.components == 3 && out.colorSpace == JCS_YCbCr);
}

void SetResolution(const JpegOutcome& out, Page& page) {
  page.xDpi = DotsPerInch(out.densityUnit, out.xDensity);
  page.yDpi = DotsPerInch(out.densityUnit, out.yDensity);
}

// A stream cut short (a file still being written, a broken copy) lacks
// its end-of-image marker.
bool EndsWhole(const std::vector<uint8_t>& bytes) {
  return bytes.size() >= 4 && bytes[bytes.size() - 2] == 0xFF && bytes.back() == 0xD9;
}

Page DecodeJpegFile(const std::string& path, std::vector<uint8_t> bytes) {
  JpegErrors errors;
  JpegOutcome out{};
  DecodeJpeg(bytes.data(), bytes.size(), &errors, &out);
  if (out.tooLarge) CheckImageSize(out.width, out.height, path);
  if (out.outOfMemory) throw ImageError(ErrorKind::OutOfMemory, path, "no memory for the page");
  if (out.failed) {
    const bool jpeg = bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8;
    throw ImageError(jpeg ? ErrorKind::Damaged : ErrorKind::NotThatFormat, path, errors.message);
  }
  Page page;
  page.pix.reset(out.pix);
  if (errors.damagingWarnings > 0) {
    throw ImageError(ErrorKind::Damaged, path, errors.message);
  }
  SetResolution(out, page);
  pixSetResolution(page.pix.get(), page.xDpi, page.yDpi);
  page.width = pixGetWidth(page.pix.get());
  page.height = pixGetHeight(page.pix.get());
  page.depth = pixGetDepth(page.pix.get());
  if (out.baseline && PlainColours(out)) {
    page.raw = RawPageData{RawPageData::Codec::Jpeg, std::move(bytes), page.width, page.height,
                           out.components, false};
  }
  return page;
}

}  // namespace

Page LoadJpegPage(const std::string& path) {
  return DecodeJpegFile(path, ReadWholeFile(path, kMaxJpegFileBytes));
}

bool JpegStreamDecodes(const std::vector<uint8_t>& bytes) {
  JpegErrors errors;
  JpegOutcome out{};
  out.eighth = true;
  DecodeJpeg(bytes.data(), bytes.size(), &errors, &out);
  PIX* pix = out.pix;
  pixDestroy(&pix);
  return !out.failed && !out.tooLarge && !out.outOfMemory && errors.damagingWarnings == 0;
}

Page ReadJpegPage(const std::string& path) {
  auto bytes = std::make_shared<const std::vector<uint8_t>>(ReadWholeFile(path, kMaxJpegFileBytes));
  JpegErrors errors;
  JpegOutcome out{};
  out.headerOnly = true;
  DecodeJpeg(bytes->data(), bytes->size(), &errors, &out);
  if (out.failed || out.tooLarge || !out.baseline || !PlainColours(out) || !EndsWhole(*bytes)) {
    return DecodeJpegFile(path, *bytes);
  }
  Page page;
  SetResolution(out, page);
  page.width = static_cast<int>(out.width);
  page.height = static_cast<int>(out.height);
  page.depth = out.components == 1 ? 8 : 32;
  page.raw = RawPageData{RawPageData::Codec::Jpeg, *bytes, page.width, page.height,
                         out.components, false};
  page.decode = [bytes, path] { return std::move(DecodeJpegFile(path, *bytes).pix); };
  return page;
}

}  // namespace zelk
