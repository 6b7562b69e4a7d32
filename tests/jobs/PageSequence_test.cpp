#include "jobs/PageSequence.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/PageReader.h"
#include "PreparedPageGrey.h"
#include "support/TempDir.h"
#include "support/TestImages.h"

namespace zelk {
namespace {

using test::GreyOf;

// What loading the page alone raises, to compare with the sequence.
std::string LoadErrorOf(const PageSource& source) {
  try {
    LoadPage(source.Path, source.PageNumber);
  } catch (const ImageError& error) {
    return error.what();
  }
  return "loaded";
}

TEST(PageSequenceTest, PagesComeInTheGivenOrderAndABadPageFailsInItsPlace) {
  test::TempDir dir;
  const std::string six = dir.File("six.tif");
  test::WriteTiffPages(six, 6);
  const std::vector<PageSource> sources = {{six, 6},
                                           {six, 1},
                                           {dir.File("missing.tif"), 1},
                                           {six, 3},
                                           {six, 9},  // beyond the last page
                                           {six, 2},
                                           {six, 5}};
  PageSequence pages(sources, 3);
  std::vector<std::string> seen;
  while (!pages.AtEnd()) {
    const PageSource& source = sources[seen.size()];
    try {
      seen.push_back(std::to_string(GreyOf(pages.Next())));
    } catch (const ImageError& error) {
      EXPECT_EQ(error.what(), LoadErrorOf(source));
      seen.push_back("error");
    }
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"200", "0", "error", "80", "error", "40", "160"}));
  EXPECT_THROW(pages.Next(), std::out_of_range);
}

TEST(PageSequenceTest, AJobThatStopsAfterAFewPagesLeavesNothingRunning) {
  test::TempDir dir;
  const std::string six = dir.File("six.tif");
  test::WriteTiffPages(six, 6);
  std::vector<PageSource> sources;
  for (int i = 0; i < 300; ++i) sources.push_back({six, 1 + i % 6});
  {
    PageSequence pages(sources);
    EXPECT_EQ(GreyOf(pages.Next()), 0);
    EXPECT_EQ(GreyOf(pages.Next()), 40);
  }  // the loaders stop here; the test would hang or crash if they did not
  PageSequence empty({});
  EXPECT_TRUE(empty.AtEnd());
}

}  // namespace
}  // namespace zelk
