#include "platform/AvailableMemory.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

TEST(AvailableMemoryTest, ReadsMemAvailableInBytes) {
  EXPECT_EQ(MemAvailableOf("MemTotal:       24000000 kB\n"
                           "MemFree:        20000000 kB\n"
                           "MemAvailable:   23252232 kB\n"
                           "Buffers:          100000 kB\n"),
            std::uint64_t{23252232} * 1024);
  EXPECT_EQ(MemAvailableOf("MemAvailable:\t0 kB"), 0u);
  // Old kernels have no such line; a damaged one is not guessed at.
  EXPECT_EQ(MemAvailableOf("MemTotal: 1000 kB\nMemFree: 500 kB\n"), std::nullopt);
  EXPECT_EQ(MemAvailableOf("MemAvailable: lots\n"), std::nullopt);
  EXPECT_EQ(MemAvailableOf("MemAvailable: 12 MB\n"), std::nullopt);
  EXPECT_EQ(MemAvailableOf("MemAvailable: 99999999999999999999 kB\n"), std::nullopt);
  EXPECT_EQ(MemAvailableOf("XMemAvailable: 5 kB\n"), std::nullopt);
  EXPECT_EQ(MemAvailableOf(""), std::nullopt);
}

TEST(AvailableMemoryTest, ThisMachineTellsItsFreeMemory) {
  const auto available = AvailableMemoryBytes();
  ASSERT_TRUE(available.has_value());
  EXPECT_GT(*available, 0u);
}

}  // namespace
}  // namespace zelk
