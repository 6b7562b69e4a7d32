#include "ocr/RecognitionWorkers.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

TEST(RecognitionWorkers, OnePerCoreAsFarAsTheMemoryHoldsAndNeverNone) {
  // Plenty of memory: the cores decide.
  EXPECT_EQ(RecognitionWorkersFor(2, 24 * kGiB), 2);
  EXPECT_EQ(RecognitionWorkersFor(16, 64 * kGiB), 16);
  // Little memory: the memory decides, whatever the cores.
  EXPECT_EQ(RecognitionWorkersFor(16, 3 * kRecognitionWorkerBytes), 3);
  EXPECT_EQ(RecognitionWorkersFor(16, 3 * kRecognitionWorkerBytes - 1), 2);
  EXPECT_EQ(RecognitionWorkersFor(8, 2 * kRecognitionWorkerBytes + kRecognitionWorkerBytes / 2), 2);
  // Too little for even one, no core count or no memory figure: one worker
  // still runs (the old count when the memory cannot be read).
  EXPECT_EQ(RecognitionWorkersFor(4, kRecognitionWorkerBytes / 2), 1);
  EXPECT_EQ(RecognitionWorkersFor(4, 0), 1);
  EXPECT_EQ(RecognitionWorkersFor(0, 24 * kGiB), 1);
  EXPECT_EQ(RecognitionWorkersFor(6, std::nullopt), 6);
  EXPECT_EQ(RecognitionWorkersFor(0, std::nullopt), 1);
}

}  // namespace
}  // namespace zelk
