#include "scan/Shard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace zelk {
namespace {

// Names like a scanning office's: numbered years, boxes and documents.
std::vector<std::string> Tree(int count) {
  std::vector<std::string> paths;
  for (int i = 0; paths.size() < static_cast<std::size_t>(count); ++i) {
    paths.push_back(std::to_string(2001 + i / 1000) + "/box" + std::to_string(i / 50 % 20) +
                    "/doc" + std::to_string(i % 50 + 1));
  }
  return paths;
}

TEST(ShardTest, TenThousandItemsSpreadOverSixteenShardsWithinATenthOfTheMean) {
  std::vector<int> sizes(16, 0);
  for (const std::string& path : Tree(10000)) ++sizes[static_cast<std::size_t>(ShardOfItem(path, 16))];
  const auto [smallest, largest] = std::minmax_element(sizes.begin(), sizes.end());
  EXPECT_GE(*smallest, 625 * 9 / 10);
  EXPECT_LE(*largest, 625 * 11 / 10);
}

TEST(ShardTest, AnItemKeepsItsShardWhateverTheRootIsCalledAndHowEveryProcessWritesIt) {
  const Shard shard{ShardOfItem("2003/box4/doc7", 8), 8};
  EXPECT_TRUE(InShard(shard, "/srv/in", "/srv/in/2003/box4/doc7"));
  EXPECT_TRUE(InShard(shard, "/srv/in/", "/srv/in/2003/box4/doc7/"));
  EXPECT_TRUE(InShard(shard, "/mnt/scans", "/mnt/scans/2003/box4/doc7"));
  int others = 0;
  for (int i = 0; i < 8; ++i) others += InShard({i, 8}, "/srv/in", "/srv/in/2003/box4/doc7");
  EXPECT_EQ(others, 1) << "exactly one shard takes the item";
  EXPECT_TRUE(InShard({}, "/srv/in", "/anything")) << "no shard: the whole tree";
}

}  // namespace
}  // namespace zelk
