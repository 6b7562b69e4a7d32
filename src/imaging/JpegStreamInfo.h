#pragma once
// What a JPEG stream's headers say about it, and whether copying the stream
// serves as well as re-encoding its pixels: the basis for passing JPEG data
// through to an output unchanged.

#include "imaging/JpegEncoder.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace zelk {

// What a JPEG stream's headers say, read with libjpeg without decoding the
// image data.
struct JpegStreamInfo {
  int width = 0, height = 0;
  int components = 0;
  bool plainColours = false;  // 1 component grey, or 3 components YCbCr (JFIF-style)
  // Sequential, Huffman-coded, 8-bit samples (not progressive, not
  // arithmetic, not 12-bit), with the Huffman tables its first scan uses
  // present (a Motion-JPEG frame that leaves them out decodes in libjpeg but
  // not in every reader).
  bool baseline = false;
  // Luminance sampling factors relative to chroma: 4:4:4 = 1x1, 4:2:2 = 2x1,
  // 4:2:0 = 2x2, 4:1:1 = 4x1.  A grey stream has no chroma and reports 1x1.
  int lumaH = 1, lumaV = 1;
  // Every component after the first sampled 1x1 (true for grey).  Otherwise
  // the layout is unusual and the stream is never copied.
  bool chromaOneByOne = true;
  int estimatedQuality = 0;  // 1..100 on libjpeg's quality scale
};

// `tables`: an abbreviated table-only stream (a TIFF page's JPEGTables tag),
// or none (`tablesSize` 0) for a whole JPEG file.  std::nullopt when the
// headers cannot be read (damaged, truncated, quantisation tables missing,
// 12-bit streams this libjpeg cannot parse, ...).  Safe to call from several
// threads at once.
std::optional<JpegStreamInfo> ReadJpegStreamInfo(const uint8_t* data, size_t size,
                                                 const uint8_t* tables = nullptr,
                                                 size_t tablesSize = 0);

// Whether copying the stream serves as well as re-encoding its pixels as a
// JPEG of `quality` (1..100) with `subsampling`: the stream is baseline with
// plain colours and 1x1 chroma, its estimated quality is at or below
// `quality`, and it keeps no larger a share of chroma samples per luma
// sample than the target (4:2:0 and 4:1:1 both keep a quarter, so either
// serves a 4:1:1 target; a grey stream always qualifies on subsampling).
// Re-encoding could then make the page neither smaller nor better.
bool JpegCopyServes(const JpegStreamInfo& info, ChromaSubsampling subsampling, int quality);

}  // namespace zelk
