#include "ocr/RecognitionWorkers.h"

#include <algorithm>

#include "platform/AvailableCores.h"
#include "platform/AvailableMemory.h"

namespace zelk {

int RecognitionWorkersFor(unsigned cores, std::optional<std::uint64_t> availableBytes) {
  std::uint64_t workers = std::max(1u, cores);
  if (availableBytes) workers = std::min(workers, *availableBytes / kRecognitionWorkerBytes);
  return static_cast<int>(std::max<std::uint64_t>(workers, 1));
}

int DefaultWorkerCount() {
  return RecognitionWorkersFor(AvailableCores(), AvailableMemoryBytes());
}

}  // namespace zelk
