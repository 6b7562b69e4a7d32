#include "imaging/JpegStandardTables.h"

#include "imaging/JpegErrors.h"

#include <cstring>

namespace zelk {
namespace {

struct AllQualities {
  bool ok = false;
  JpegStandardTables byQuality[100];
};

void CopyTable(const JQUANT_TBL* table, JpegQuantTable& out) {
  static_assert(sizeof table->quantval == sizeof(JpegQuantTable));
  std::memcpy(out.data(), table->quantval, sizeof table->quantval);
}

// Asks libjpeg for its tables at every quality.  Only plain data lives
// between the setjmp and the end of the libjpeg work.
void FillTables(AllQualities* all) {
  jpeg_compress_struct info{};
  JpegErrors errors;
  info.err = InstallJpegErrors(errors);
  if (setjmp(errors.jump)) {
    jpeg_destroy_compress(&info);
    return;
  }
  jpeg_create_compress(&info);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  for (int quality = 1; quality <= 100; ++quality) {
    jpeg_set_quality(&info, quality, TRUE);
    CopyTable(info.quant_tbl_ptrs[0], all->byQuality[quality - 1].luma);
    CopyTable(info.quant_tbl_ptrs[1], all->byQuality[quality - 1].chroma);
  }
  jpeg_destroy_compress(&info);
  all->ok = true;
}

}  // namespace

const JpegStandardTables* StandardJpegTables(int quality) {
  static const AllQualities all = [] {
    AllQualities filled;
    FillTables(&filled);
    return filled;
  }();
  if (!all.ok || quality < 1 || quality > 100) return nullptr;
  return &all.byQuality[quality - 1];
}

}  // namespace zelk
