#include "imaging/JpegStreamInfo.h"

#include "imaging/JpegErrors.h"
#include "imaging/JpegStandardTables.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>

namespace zelk {
namespace {

// Luminance and the two chroma components: the tables the estimate uses.
constexpr int kComparedComponents = 3;

// What the headers say, as plain data: it lives across setjmp.
struct HeaderFacts {
  bool read;
  int width, height, components;
  J_COLOR_SPACE colorSpace;
  bool sequentialHuffman8Bit;
  bool scanHuffmanTablesPresent;
  int lumaH, lumaV;
  bool laterComponentsOneByOne;
  JpegQuantTable quant[kComparedComponents];
};

bool AllQuantTablesPresent(const jpeg_decompress_struct& cinfo) {
  for (int c = 0; c < cinfo.num_components; ++c) {
    const int slot = cinfo.comp_info[c].quant_tbl_no;
    if (slot < 0 || slot >= NUM_QUANT_TBLS || cinfo.quant_tbl_ptrs[slot] == nullptr) return false;
  }
  return true;
}

// The Huffman tables the first scan names.  libjpeg-turbo supplies the
// standard tables for a stream that has none (as Motion-JPEG frames do), so
// it decodes such a stream; other readers do not.
bool ScanHuffmanTablesPresent(const jpeg_decompress_struct& cinfo) {
  for (int i = 0; i < cinfo.comps_in_scan; ++i) {
    const jpeg_component_info* component = cinfo.cur_comp_info[i];
    const int dc = component->dc_tbl_no, ac = component->ac_tbl_no;
    if (dc < 0 || dc >= NUM_HUFF_TBLS || cinfo.dc_huff_tbl_ptrs[dc] == nullptr) return false;
    if (ac < 0 || ac >= NUM_HUFF_TBLS || cinfo.ac_huff_tbl_ptrs[ac] == nullptr) return false;
  }
  return true;
}

void CollectFacts(const jpeg_decompress_struct& cinfo, HeaderFacts* facts) {
  facts->width = static_cast<int>(cinfo.image_width);
  facts->height = static_cast<int>(cinfo.image_height);
  facts->components = cinfo.num_components;
  facts->colorSpace = cinfo.jpeg_color_space;
  facts->sequentialHuffman8Bit =
      !cinfo.progressive_mode && !cinfo.arith_code && cinfo.data_precision == 8;
  facts->scanHuffmanTablesPresent = ScanHuffmanTablesPresent(cinfo);
  facts->lumaH = cinfo.comp_info[0].h_samp_factor;
  facts->lumaV = cinfo.comp_info[0].v_samp_factor;
  facts->laterComponentsOneByOne = true;
  for (int c = 1; c < cinfo.num_components; ++c) {
    const jpeg_component_info& component = cinfo.comp_info[c];
    if (component.h_samp_factor != 1 || component.v_samp_factor != 1) {
      facts->laterComponentsOneByOne = false;
    }
  }
  for (int c = 0; c < std::min(cinfo.num_components, kComparedComponents); ++c) {
    const JQUANT_TBL* table = cinfo.quant_tbl_ptrs[cinfo.comp_info[c].quant_tbl_no];
    std::memcpy(facts->quant[c].data(), table->quantval, sizeof table->quantval);
  }
}

// Reads the table-only stream (when given) and then the image stream's
// headers up to its first scan; the entropy-coded data is never touched.
// Leaves `facts->read` false when libjpeg rejects the headers.
void ReadHeaders(const uint8_t* data, size_t size, const uint8_t* tables, size_t tablesSize,
                 JpegErrors* errors, HeaderFacts* facts) {
  jpeg_decompress_struct cinfo{};
  cinfo.err = InstallJpegErrors(*errors);
  if (setjmp(errors->jump)) {
    jpeg_destroy_decompress(&cinfo);
    return;
  }
  jpeg_create_decompress(&cinfo);
  if (tablesSize > 0) {
    jpeg_mem_src(&cinfo, tables, static_cast<unsigned long>(tablesSize));
    if (jpeg_read_header(&cinfo, FALSE) != JPEG_HEADER_TABLES_ONLY) {
      jpeg_destroy_decompress(&cinfo);  // an image where only tables belong
      return;
    }
  }
  jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&cinfo, TRUE);  // a stream without an image is a fatal error
  if (AllQuantTablesPresent(cinfo)) {
    CollectFacts(cinfo, facts);
    facts->read = true;
  }
  jpeg_destroy_decompress(&cinfo);
}

long TableSum(const JpegQuantTable& table) {
  return std::accumulate(table.begin(), table.end(), 0L);
}

// The quality whose libjpeg tables the stream carries.
//
// Exact: if the luminance table (for colour, also both chroma tables) equals
// libjpeg's tables at some quality 1..100, that quality is the estimate;
// every libjpeg or TurboJPEG encoder at a quality setting writes those.
// Otherwise the classic scale inversion: libjpeg scales its base tables by
// `scale` percent, scale = quality < 50 ? 5000 / quality : 200 - 2 * quality,
// so the stream's scale is taken as 100 * sum(stream table) / sum(base table)
// (for colour the mean of the luminance scale and the chroma scale, the
// chroma sums averaged over both chroma components) and inverted:
// quality = scale <= 100 ? (200 - scale) / 2 : 5000 / scale, rounded and
// clamped to 1..100.
int EstimateQuality(const HeaderFacts& facts, bool colour) {
  const JpegQuantTable& luma = facts.quant[0];
  for (int quality = 100; quality >= 1; --quality) {
    const JpegStandardTables* standard = StandardJpegTables(quality);
    if (standard == nullptr) break;
    if (luma == standard->luma &&
        (!colour || (facts.quant[1] == standard->chroma && facts.quant[2] == standard->chroma))) {
      return quality;
    }
  }
  const JpegStandardTables* base = StandardJpegTables(50);
  if (base == nullptr) return 100;  // unknown: claim the best, so nothing is copied on its strength
  double scale = 100.0 * static_cast<double>(TableSum(luma)) / TableSum(base->luma);
  if (colour) {
    const double chromaSum = (TableSum(facts.quant[1]) + TableSum(facts.quant[2])) / 2.0;
    scale = (scale + 100.0 * chromaSum / TableSum(base->chroma)) / 2;
  }
  const double quality = scale <= 100 ? (200 - scale) / 2 : 5000 / scale;
  return static_cast<int>(std::clamp(std::lround(quality), 1L, 100L));
}

}  // namespace

std::optional<JpegStreamInfo> ReadJpegStreamInfo(const uint8_t* data, size_t size,
                                                 const uint8_t* tables, size_t tablesSize) {
  JpegErrors errors;
  HeaderFacts facts{};
  ReadHeaders(data, size, tables, tablesSize, &errors, &facts);
  if (!facts.read || errors.damagingWarnings > 0) return std::nullopt;

  JpegStreamInfo info;
  info.width = facts.width;
  info.height = facts.height;
  info.components = facts.components;
  const bool grey = facts.components == 1 && facts.colorSpace == JCS_GRAYSCALE;
  const bool ycbcr = facts.components == 3 && facts.colorSpace == JCS_YCbCr;
  info.plainColours = grey || ycbcr;
  info.baseline = facts.sequentialHuffman8Bit && facts.scanHuffmanTablesPresent;
  info.chromaOneByOne = facts.laterComponentsOneByOne;
  if (facts.components > 1) {
    info.lumaH = facts.lumaH;
    info.lumaV = facts.lumaV;
  }
  info.estimatedQuality = EstimateQuality(facts, facts.components == 3);
  return info;
}

bool JpegCopyServes(const JpegStreamInfo& info, ChromaSubsampling subsampling, int quality) {
  if (!info.baseline || !info.plainColours || !info.chromaOneByOne) return false;
  if (info.estimatedQuality > quality) return false;
  // Fewer chroma samples per luma sample is coarser: more luma samples share one.
  return info.components == 1 || info.lumaH * info.lumaV >= LumaSamplesPerChroma(subsampling);
}

}  // namespace zelk
