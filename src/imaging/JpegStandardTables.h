#pragma once
// The quantisation tables libjpeg (and so TurboJPEG) writes for each quality
// 1..100: jpeg_set_quality with force_baseline, every value clamped to
// 1..255.  Quality 50 gives the unscaled base tables.

#include <array>
#include <cstdint>

namespace zelk {

using JpegQuantTable = std::array<uint16_t, 64>;  // natural (row by row) order

struct JpegStandardTables {
  JpegQuantTable luma;
  JpegQuantTable chroma;
};

// The tables at `quality`, or nullptr for a quality outside 1..100 or when
// libjpeg could not give them (out of memory).  All qualities are computed
// together on the first call; safe to call from several threads.
const JpegStandardTables* StandardJpegTables(int quality);

}  // namespace zelk
