// The JPEG header reader behind the copy of stored JPEG data, and the
// check that a stream decodes.  An odd first byte splits the rest into a
// table-only stream (as a TIFF page's JPEGTables) and the stream itself.

#include "imaging/JpegReader.h"
#include "imaging/JpegStreamInfo.h"

#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zelk;
  if (size > 0 && data[0] % 2 == 1) {
    const size_t half = (size - 1) / 2;
    ReadJpegStreamInfo(data + 1 + half, size - 1 - half, data + 1, half);
    return 0;
  }
  if (const auto info = ReadJpegStreamInfo(data, size)) {
    fuzz::Require(info->width > 0 && info->height > 0, "a stream read has a size");
    fuzz::Require(info->estimatedQuality >= 1 && info->estimatedQuality <= 100,
                  "the estimated quality is on libjpeg's scale");
    JpegCopyServes(*info, ChromaSubsampling::S411, 75);
  }
  JpegStreamDecodes(fuzz::Bytes(data, size));
  return 0;
}
