#include "imaging/StoredFormCheck.h"

#include "imaging/JpegReader.h"
#include "imaging/TiffStripsIo.h"

namespace zelk {

bool StoredFormDecodes(const Page& page) {
  if (page.pix) return true;
  if (page.strips) return TiffStripsDecode(*page.strips);
  if (page.raw && page.raw->codec == RawPageData::Codec::Jpeg) {
    return JpegStreamDecodes(page.raw->bytes);
  }
  return false;
}

std::optional<JpegStreamInfo> JpegFileToCopy(const Page& page, int bits,
                                             ChromaSubsampling subsampling, int quality) {
  if (!page.raw || page.raw->codec != RawPageData::Codec::Jpeg) return std::nullopt;
  const RawPageData& raw = *page.raw;
  if (page.pix && (pixGetWidth(page.pix.get()) != raw.width ||
                   pixGetHeight(page.pix.get()) != raw.height)) {
    return std::nullopt;
  }
  const std::optional<JpegStreamInfo> info = ReadJpegStreamInfo(raw.bytes.data(), raw.bytes.size());
  if (!info || info->components != (bits == 24 ? 3 : 1) || info->width != raw.width ||
      info->height != raw.height || !JpegCopyServes(*info, subsampling, quality) ||
      !StoredFormDecodes(page)) {
    return std::nullopt;
  }
  return info;
}

}  // namespace zelk
