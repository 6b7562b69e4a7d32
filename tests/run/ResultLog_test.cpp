#include "run/ResultLog.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "platform/Utf8.h"

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

// Long lines (more than a stdio buffer holds) appended by four processes
// at once: every line must come out whole, none cut into by another.
TEST(ResultLogTest, LinesOfProcessesAppendingAtOnceDoNotInterleave) {
  test::TempDir dir;
  const ResultList list(dir.File("list.txt"));
  constexpr int kWriters = 4;
  constexpr int kLines = 30;
  constexpr std::size_t kLineLength = 40000;
  std::vector<pid_t> writers;
  for (int writer = 0; writer < kWriters; ++writer) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      const std::string line(kLineLength, static_cast<char>('a' + writer));
      bool written = true;
      for (int n = 0; n < kLines; ++n) written = list.Append(line) && written;
      _exit(written ? 0 : 1);
    }
    writers.push_back(pid);
  }
  for (const pid_t pid : writers) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  const std::string text = test::ReadBytes(dir.File("list.txt"));
  ASSERT_EQ(text.size(), kWriters * kLines * (kLineLength + 2));
  std::map<char, int> wholeLines;
  for (std::size_t at = 0; at < text.size(); at += kLineLength + 2) {
    const std::string line = text.substr(at, kLineLength + 2);
    if (line == std::string(kLineLength, line[0]) + "\r\n") ++wholeLines[line[0]];
  }
  EXPECT_EQ(wholeLines, (std::map<char, int>{{'a', kLines}, {'b', kLines}, {'c', kLines},
                                             {'d', kLines}}));
}

TEST(ResultLogTest, ShardListsCarryTheShardBeforeTheExtension) {
  const std::string name = SuccessListName({2026, 3, 7, 9, 5, 0});
  EXPECT_EQ(ShardListName(name, {}), "2026年03月07日-成功.txt");
  EXPECT_EQ(ShardListName(name, {0, 1}), "2026年03月07日-成功.txt");
  EXPECT_EQ(ShardListName(name, {3, 16}), "2026年03月07日-成功.shard-03-of-16.txt");
  EXPECT_EQ(ShardListName(name, {1, 4}), "2026年03月07日-成功.shard-01-of-4.txt");
  EXPECT_EQ(ShardListName(name, {7, 128}), "2026年03月07日-成功.shard-007-of-128.txt");
  EXPECT_EQ(ShardListName(name, {127, 128}), "2026年03月07日-成功.shard-127-of-128.txt");
  EXPECT_EQ(ShardListName(FailureReasonListName({2026, 3, 7, 0, 0, 0}), {2, 3}),
            "2026年03月07日-失败原因.shard-02-of-3.txt");

  // Taken apart again, only in the form written.
  for (const Shard shard : {Shard{3, 16}, Shard{0, 2}, Shard{127, 128}}) {
    const std::optional<ShardListParts> parts = ParseShardListName(ShardListName(name, shard));
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->ListName, name);
    EXPECT_EQ(parts->Which.Index, shard.Index);
    EXPECT_EQ(parts->Which.Count, shard.Count);
  }
  for (const char* other : {"2026年03月07日-成功.txt", "x.shard-3-of-16.txt", "x.shard-03-of-016.txt",
                            "x.shard-16-of-16.txt", "x.shard-00-of-1.txt", "x.shard--1-of-16.txt",
                            "x.shard-03-of-16.txt.bak", "x.shard-03-of-.txt", "x.shard-03.txt"}) {
    EXPECT_FALSE(ParseShardListName(other)) << other;
  }
}

bool IsHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

// Reads a list item back as ResultLog.h describes it.
std::string ReadItemBack(const std::string& text) {
  std::string name;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      name += text[i];
      continue;
    }
    const char next = text[i + 1];
    if (next == '\\' || next == 'n' || next == 'r' || next == 't') {
      name += next == 'n' ? '\n' : next == 'r' ? '\r' : next == 't' ? '\t' : '\\';
      ++i;
    } else if (next == 'x' && i + 3 < text.size() && IsHexDigit(text[i + 2]) &&
               IsHexDigit(text[i + 3])) {
      name += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
      i += 3;
    } else {
      name += '\\';
    }
  }
  return name;
}

bool IsOneLineOfUtf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = WellFormedUtf8Length(text, i);
    if (length == 0 || static_cast<unsigned char>(text[i]) < 0x20 || text[i] == 0x7F) return false;
    i += length;
  }
  return true;
}

TEST(ResultLogTest, NamesWithoutControlsOrBadBytesAreWrittenAsTheyAre) {
  for (const std::string name : {"/in/第一卷/scan 1.tif", "/in/a\\b/c\\", "/in/\\d\\(1)", ""}) {
    EXPECT_EQ(ListItemText(name), name);
  }
}

TEST(ResultLogTest, ControlsAndLegacyBytesAreEscapedAndCanBeReadBack) {
  EXPECT_EQ(ListItemText("/in/a\nb/c.tif"), "/in/a\\nb/c.tif");
  EXPECT_EQ(ListItemText("x\r\ty\x01\x7F"), "x\\r\\ty\\x01\\x7F");
  // "中文" in GBK, as a name from a Windows share carries it.
  EXPECT_EQ(ListItemText("/in/\xD6\xD0\xCE\xC4.tif"), "/in/\\xD6\\xD0\\xCE\\xC4.tif");
  // A backslash of the name is doubled only where it would start an escape.
  EXPECT_EQ(ListItemText("a\\nb"), "a\\\\nb");
  EXPECT_EQ(ListItemText("a\\\n"), "a\\\\\\n");
  const std::vector<std::string> names = {
      "/in/a\nb/c.tif", "\xD6\xD0/1.tif", "a\\nb", "a\\\n", "a\\x41", "\\\\", "tail\\",
      "\xE4\xB8", "\xE4\xB8\xAD\xFF", "mixed\\\xFFz", std::string("nul\0byte", 8), "中\r\n"};
  for (const std::string& name : names) {
    const std::string text = ListItemText(name);
    EXPECT_TRUE(IsOneLineOfUtf8(text)) << text;
    EXPECT_EQ(ReadItemBack(text), name) << text;
  }
}

}  // namespace
}  // namespace zelk
