#include "imaging/JpegEncoder.h"

#include "imaging/JpegErrors.h"
#include "imaging/JpegStandardTables.h"
#include "imaging/Page.h"
#include "imaging/PixelRows.h"

#include <turbojpeg.h>

#include <cstring>
#include <memory>

namespace zelk {
namespace {

struct TjDeleter {
  void operator()(void* handle) const { tjDestroy(handle); }
};

int TjSampling(ChromaSubsampling subsampling) {
  switch (subsampling) {
    case ChromaSubsampling::S444: return TJSAMP_444;
    case ChromaSubsampling::S422: return TJSAMP_422;
    case ChromaSubsampling::S411: return TJSAMP_411;
  }
  return TJSAMP_444;
}

bool SameTable(const JQUANT_TBL* table, const JpegQuantTable& expected) {
  return table && std::memcmp(table->quantval, expected.data(), sizeof table->quantval) == 0;
}

}  // namespace

int LumaSamplesPerChroma(ChromaSubsampling subsampling) {
  switch (subsampling) {
    case ChromaSubsampling::S444: return 1;
    case ChromaSubsampling::S422: return 2;
    case ChromaSubsampling::S411: return 4;
  }
  return 1;
}

std::vector<uint8_t> EncodeJpeg(PIX* pix, ChromaSubsampling subsampling, int quality) {
  std::unique_ptr<void, TjDeleter> handle(tjInitCompress());
  if (!handle) throw ImageError("cannot start the JPEG encoder");
  const int width = pixGetWidth(pix);
  const int height = pixGetHeight(pix);
  const bool rgb = pixGetDepth(pix) == 32;
  if (!rgb && (pixGetDepth(pix) != 8 || pixGetColormap(pix))) {
    throw ImageError("JPEG encoding needs a grey or colour page");
  }
  const std::vector<uint8_t> rows = PackedImage(pix, false);
  const int pixelFormat = rgb ? TJPF_RGB : TJPF_GRAY;
  const int sampling = rgb ? TjSampling(subsampling) : TJSAMP_GRAY;
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  const int status = tjCompress2(handle.get(), rows.data(), width, 0, height, pixelFormat, &out,
                                 &outSize, sampling, quality, TJFLAG_ACCURATEDCT);
  std::unique_ptr<unsigned char, decltype(&tjFree)> owned(out, &tjFree);
  if (status != 0) {
    throw ImageError(std::string("JPEG encoding failed: ") +
                     tjGetErrorStr2(handle.get()));
  }
  return std::vector<uint8_t>(out, out + outSize);
}

bool JpegMatchesEncoding(const std::vector<uint8_t>& jpeg, int components, int width,
                         int height, ChromaSubsampling subsampling, int quality) {
  if (components != 1 && components != 3) return false;
  const JpegStandardTables* expected = StandardJpegTables(quality);
  if (expected == nullptr) return false;

  jpeg_decompress_struct info{};
  JpegErrors errors;
  info.err = InstallJpegErrors(errors);
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  bool matches = !info.progressive_mode && !info.arith_code &&
                 info.data_precision == 8 && info.num_components == components &&
                 static_cast<int>(info.image_width) == width &&
                 static_cast<int>(info.image_height) == height &&
                 info.jpeg_color_space == (components == 1 ? JCS_GRAYSCALE : JCS_YCbCr);
  for (int c = 0; matches && c < components; ++c) {
    const jpeg_component_info& component = info.comp_info[c];
    const bool luma = c == 0;
    const int h = luma && components == 3 ? LumaSamplesPerChroma(subsampling) : 1;
    const int q = component.quant_tbl_no;
    matches = component.h_samp_factor == h && component.v_samp_factor == 1 && q >= 0 &&
              q < NUM_QUANT_TBLS &&
              SameTable(info.quant_tbl_ptrs[q], luma ? expected->luma : expected->chroma);
  }
  jpeg_destroy_decompress(&info);
  return matches;
}

}  // namespace zelk
