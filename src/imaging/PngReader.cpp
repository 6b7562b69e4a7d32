#include "imaging/PngReader.h"

#include "imaging/FileBytes.h"
#include "imaging/ImageLimits.h"
#include "imaging/PackedRows.h"
#include "imaging/PixConvert.h"

#include <png.h>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace zelk {
namespace {

constexpr size_t kMaxPngFileBytes = size_t{1} << 30;

// Plain data shared with libpng's callbacks; it lives across setjmp.
struct PngSource {
  const uint8_t* data;
  size_t size;
  size_t offset;
  char message[256];
};

struct PngOutcome {
  PIX* pix;
  long long width, height;
  bool tooLarge, failed, outOfMemory;
  int xDpi, yDpi;
};

uint32_t BigEndian32(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

// The size in the IHDR chunk, which must follow the signature, checked
// before libpng looks at anything else.
void CheckDeclaredSize(const std::vector<uint8_t>& bytes, const std::string& path) {
  static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() < 8 || std::memcmp(bytes.data(), kSignature, 8) != 0) {
    throw ImageError(ErrorKind::NotThatFormat, path, "no PNG signature");
  }
  if (bytes.size() < 24 || std::memcmp(bytes.data() + 12, "IHDR", 4) != 0) {
    throw ImageError(ErrorKind::Damaged, path, "no PNG image header");
  }
  CheckImageSize(BigEndian32(bytes.data() + 16), BigEndian32(bytes.data() + 20), path);
}

void OnPngError(png_structp png, png_const_charp message) {
  auto* source = static_cast<PngSource*>(png_get_error_ptr(png));
  std::snprintf(source->message, sizeof source->message, "%s", message);
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
  if (count > source->size - source->offset) png_error(png, "the file ends early");
  std::memcpy(out, source->data + source->offset, count);
  source->offset += count;
}

// Sets libpng's transforms so that rows arrive as StorePackedRow takes
// them; returns the PIX depth.
int PrepareTransforms(png_structp png, png_infop info) {
  const int colorType = png_get_color_type(png, info);
  const int bitDepth = png_get_bit_depth(png, info);
  if (colorType & PNG_COLOR_MASK_ALPHA) png_set_strip_alpha(png);
  if (colorType == PNG_COLOR_TYPE_PALETTE) return bitDepth;
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    if (bitDepth == 16) {
      if (colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_strip_16(png);
        return 8;
      }
      if constexpr (std::endian::native == std::endian::little) png_set_swap(png);
    }
    return bitDepth;
  }
  png_set_strip_16(png);
  return 32;
}

void DecodePng(PngSource* source, PngOutcome* out) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, source, OnPngError, OnPngWarning);
  if (png == nullptr) {
    out->outOfMemory = true;
    return;
  }
  png_infop info = png_create_info_struct(png);
  PIX* volatile pix = nullptr;
  png_bytep volatile image = nullptr;
  png_bytepp volatile rows = nullptr;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    PIX* doomed = pix;
    pixDestroy(&doomed);
    std::free(image);
    std::free(rows);
    out->failed = true;
    return;
  }
  if (info == nullptr) png_error(png, "out of memory");
  png_set_read_fn(png, source, ReadFromMemory);
  png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
  png_read_info(png, info);
  out->width = png_get_image_width(png, info);
  out->height = png_get_image_height(png, info);
  if (!IsImageSizeAcceptable(out->width, out->height)) {
    png_destroy_read_struct(&png, &info, nullptr);
    out->tooLarge = true;
    return;
  }
  const int colorType = png_get_color_type(png, info);
  const int depth = PrepareTransforms(png, info);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);

  const int width = static_cast<int>(out->width), height = static_cast<int>(out->height);
  const size_t rowBytes = png_get_rowbytes(png, info);
  pix = pixCreate(width, height, depth);
  image = static_cast<png_bytep>(std::malloc(rowBytes * height));
  rows = static_cast<png_bytepp>(std::malloc(sizeof(png_bytep) * height));
  if (pix == nullptr || image == nullptr || rows == nullptr) {
    out->outOfMemory = true;
    png_error(png, "out of memory");
  }
  for (int y = 0; y < height; ++y) rows[y] = image + rowBytes * y;
  png_read_image(png, rows);
  png_read_end(png, nullptr);

  const int channels = png_get_channels(png, info);
  const int bitsPerSample = depth == 32 ? 8 : depth;
  // PNG grey is 0 = black; Leptonica's 1-bit is 1 = black.
  const bool invert = colorType == PNG_COLOR_TYPE_GRAY && depth == 1;
  for (int y = 0; y < height; ++y) StorePackedRow(pix, y, rows[y], bitsPerSample, channels, invert);

  png_colorp palette = nullptr;
  int paletteSize = 0;
  if (colorType == PNG_COLOR_TYPE_PALETTE && png_get_PLTE(png, info, &palette, &paletteSize)) {
    PIXCMAP* cmap = pixcmapCreate(depth);
    // Every index the pixels can hold gets a colour (black past the
    // palette's end), so no later lookup leaves the table.
    for (int i = 0; i < (1 << depth); ++i) {
      if (i < paletteSize) {
        pixcmapAddColor(cmap, palette[i].red, palette[i].green, palette[i].blue);
      } else {
        pixcmapAddColor(cmap, 0, 0, 0);
      }
    }
    pixSetColormap(pix, cmap);
  }
  png_uint_32 xPerMetre = 0, yPerMetre = 0;
  int unit = 0;
  if (png_get_pHYs(png, info, &xPerMetre, &yPerMetre, &unit) && unit == PNG_RESOLUTION_METER) {
    out->xDpi = static_cast<int>(std::lround(xPerMetre * 0.0254));
    out->yDpi = static_cast<int>(std::lround(yPerMetre * 0.0254));
  }
  png_destroy_read_struct(&png, &info, nullptr);
  std::free(image);
  std::free(rows);
  out->pix = pix;
}

}  // namespace

Page LoadPngPage(const std::string& path) {
  const std::vector<uint8_t> bytes = ReadWholeFile(path, kMaxPngFileBytes);
  CheckDeclaredSize(bytes, path);
  PngSource source{bytes.data(), bytes.size(), 0, ""};
  PngOutcome out{};
  DecodePng(&source, &out);
  if (out.tooLarge) CheckImageSize(out.width, out.height, path);
  if (out.outOfMemory) throw ImageError(ErrorKind::OutOfMemory, path, "no memory for the page");
  if (out.failed) throw ImageError(ErrorKind::Damaged, path, source.message);
  Page page;
  page.pix = WithoutBitonalColormap(PixPtr(out.pix));
  page.xDpi = out.xDpi;
  page.yDpi = out.yDpi;
  pixSetResolution(page.pix.get(), page.xDpi, page.yDpi);
  return page;
}

}  // namespace zelk
