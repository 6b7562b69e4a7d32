#include "run/ShardRecord.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/Clock.h"

namespace zelk {
namespace {

// A damaged record may name any moment; one the system clock cannot hold
// would overflow when the line is written again, so it is refused as
// damage is, and the last one it holds goes back and forth unchanged.
TEST(ShardRecordTest, AMomentIsReadOnlyWhereTheSystemClockHoldsIt) {
  const long long last =
      std::chrono::duration_cast<std::chrono::seconds>(TimePoint::max().time_since_epoch()).count();
  ShardRunLine line{last - 60, "node07", 4711, "1234_3", ShardRunEnd{}};
  line.End->Ended = last;
  const std::string written = ShardRecordLine(line);
  const auto read = ParseShardRecordLine(written);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->Started, last - 60);
  EXPECT_EQ(read->End->Ended, last);
  EXPECT_EQ(ShardRecordLine(*read), written);

  const std::string ended = "结束时刻=" + std::to_string(last);
  std::string beyond = written;
  beyond.replace(beyond.find(ended), ended.size(), "结束时刻=" + std::to_string(last + 1));
  EXPECT_FALSE(ParseShardRecordLine(beyond).has_value());
}

}  // namespace
}  // namespace zelk
