#include "jobs/ItemPagesAhead.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "PreparedPageGrey.h"
#include "support/TempDir.h"
#include "support/TestImages.h"

namespace zelk {
namespace {

using test::GreyOf;

ItemPages PagesOf(const std::string& path, std::vector<int> numbers) {
  ItemPages pages;
  for (int n : numbers) pages.Sources.push_back({path, n});
  return pages;
}

TEST(ItemPagesAheadTest, TheNextRowIsReadAheadAndUsedOnlyWhenItsPagesAreStillTheSame) {
  test::TempDir dir;
  const std::string six = dir.File("six.tif");
  test::WriteTiffPages(six, 6);
  // Rows 0 and 1 read pages 1-2 and 3-4; row 2's planner fails; row 3 is
  // planned as pages 5-6 but lists page 6 only when its turn comes.
  std::vector<std::size_t> planned;
  ItemPagesAhead ahead(4, [&](std::size_t index) {
    planned.push_back(index);
    if (index == 2) throw std::runtime_error("the directory cannot be listed yet");
    return index == 1 ? PagesOf(six, {3, 4}) : PagesOf(six, {5, 6});
  });

  PageSequence& first = ahead.Take(0, PagesOf(six, {1, 2}));
  EXPECT_TRUE(ahead.StartedAhead(1));
  EXPECT_EQ(GreyOf(first.Next()), 0);
  EXPECT_EQ(GreyOf(first.Next()), 40);

  PageSequence& second = ahead.Take(1, PagesOf(six, {3, 4}));
  EXPECT_FALSE(ahead.StartedAhead(0)) << "earlier rows are stopped";
  EXPECT_FALSE(ahead.StartedAhead(2)) << "a failed plan is left to its turn";
  EXPECT_EQ(GreyOf(second.Next()), 80);

  PageSequence& third = ahead.Take(2, PagesOf(six, {1}));
  EXPECT_EQ(GreyOf(third.Next()), 0);
  PageSequence& fourth = ahead.Take(3, PagesOf(six, {6}));
  EXPECT_EQ(GreyOf(fourth.Next()), 200);
  EXPECT_TRUE(fourth.AtEnd()) << "the pages listed in its turn, not those planned";
  EXPECT_EQ(planned, (std::vector<std::size_t>{1, 2, 3}));
}

}  // namespace
}  // namespace zelk
