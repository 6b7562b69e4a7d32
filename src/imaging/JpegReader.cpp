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

}  // namespace

Page LoadJpegPage(const std::string& path) {
  std::vector<uint8_t> bytes = ReadWholeFile(path, kMaxJpegFileBytes);
  JpegErrors errors;
  JpegOutcome out{};
  DecodeJpeg(bytes.data(), bytes.size(), &errors, &out);
  if (out.tooLarge) CheckImageSize(out.width, out.height, path);
  if (out.outOfMemory) throw ImageError(path + ": out of memory for the page");
  if (out.failed) throw ImageError(path + ": not a readable JPEG image (" + errors.message + ")");
  Page page;
  page.pix.reset(out.pix);
  if (errors.damagingWarnings > 0) {
    throw ImageError(path + ": the JPEG data is damaged (" + errors.message + ")");
  }
  page.xDpi = DotsPerInch(out.densityUnit, out.xDensity);
  page.yDpi = DotsPerInch(out.densityUnit, out.yDensity);
  pixSetResolution(page.pix.get(), page.xDpi, page.yDpi);
  const bool plainColours =
      (out.components == 1 && out.colorSpace == JCS_GRAYSCALE) ||
      (out.components == 3 && out.colorSpace == JCS_YCbCr);
  if (out.baseline && plainColours) {
    page.raw = RawPageData{RawPageData::Codec::Jpeg, std::move(bytes),
                           pixGetWidth(page.pix.get()), pixGetHeight(page.pix.get()),
                           out.components, false};
  }
  return page;
}

}  // namespace zelk
