#include "run/ResultLog.h"

#include <gtest/gtest.h>

#include <chrono>

#include "support/TempDir.h"

namespace zelk {
namespace {

TEST(ResultLogTest, FormatElapsedShowsHoursAndMinutesOnlyWhenThereAreAny) {
  EXPECT_EQ(FormatElapsedSeconds(0), "0秒");
  EXPECT_EQ(FormatElapsedSeconds(75), "1分15秒");
  EXPECT_EQ(FormatElapsedSeconds(3605), "1时5秒");
  EXPECT_EQ(FormatElapsedSeconds(3725), "1时2分5秒");
  EXPECT_EQ(FormatElapsedSeconds(3600), "1时0秒");
  EXPECT_EQ(FormatElapsedSeconds(90061), "25时1分1秒");
  EXPECT_EQ(FormatElapsedSeconds(-5), "0秒");
  const TimePoint start = std::chrono::system_clock::now();
  EXPECT_EQ(FormatElapsed(start, start + std::chrono::milliseconds(75999)), "1分15秒");
}

TEST(ResultLogTest, NamesAndHeaderUsePaddedAndPlainNumbersAsTheyShould) {
  const LocalDateTime morning{2026, 3, 7, 9, 5, 59};
  EXPECT_EQ(SuccessListName(morning), "2026年03月07日-成功.txt");
  EXPECT_EQ(FailureListName(morning), "2026年03月07日-失败.txt");
  EXPECT_EQ(HeaderLine(morning, "分 -- 已合并清单"), "2026年3月7日 9时5分 -- 已合并清单");
  const LocalDateTime evening{2026, 12, 31, 23, 0, 0};
  EXPECT_EQ(TodayStamp(evening), "2026年12月31日");
  EXPECT_EQ(HeaderLine(evening, "分 -- 未分拆清单"), "2026年12月31日 23时0分 -- 未分拆清单");
}

TEST(ResultLogTest, EachLineIsAppendedWithCrLf) {
  test::TempDir dir;
  const ResultList list(dir.File("list.txt"));
  EXPECT_TRUE(list.Append("第一行"));
  EXPECT_TRUE(list.Append("second\r\n"));
  EXPECT_EQ(test::ReadBytes(dir.File("list.txt")), "第一行\r\nsecond\r\n\r\n");
  EXPECT_FALSE(ResultList(dir.File("missing/list.txt")).Append("x"));
}

}  // namespace
}  // namespace zelk
