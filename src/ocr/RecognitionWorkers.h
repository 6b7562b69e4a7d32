#pragma once
// How many recognition workers a run starts: one per core it may use, as
// many as the free memory holds, and always at least one.

#include <cstdint>
#include <optional>

namespace zelk {

// Resident memory one worker needs.  Measured with recognition_memory_bench
// (bench/) on Debian 12 with Tesseract 5.3: a chi_sim+eng instance takes
// 60 MiB once loaded and peaks at 173 MiB while it recognises a full A4
// colour page at 300 dpi (some 790 words, the 34 MiB page included); two
// workers peak at 169 MiB each.  Rounded up to leave room for the second
// page a worker may have waiting and for denser pages.
inline constexpr std::uint64_t kRecognitionWorkerBytes = std::uint64_t{256} << 20;

// Workers for `cores` processor cores (0 when unknown) and
// `availableBytes` of memory free for them (nothing when unknown).
int RecognitionWorkersFor(unsigned cores, std::optional<std::uint64_t> availableBytes);

// The same for the cores this process may use (AvailableCores: a Slurm
// task's share, or its affinity mask) and the memory free now.
int DefaultWorkerCount();

}  // namespace zelk
