#pragma once
// One run of the per-file dual-layer PDF job through the run frame, as the
// program starts it, for the benchmarks that measure it: the best image
// quality and the text over the image.

#include <string>

#include "run/RunFrame.h"

namespace zelk::bench {

// Runs the job over the images in `in` into `out`, with its result lists
// under `programDir`, on `workers` recognition workers (0: the default).
RunResult RunDualLayerPdfJob(const std::string& in, const std::string& out, const std::string& programDir,
                             int workers, RunObserver& observer);

}  // namespace zelk::bench
