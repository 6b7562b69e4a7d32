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

}  // namespace zelk
