#include "jobs/PageResolution.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

TEST(PageResolution, LowResolutionsAreRaisedButAFaxKeepsItsRows) {
  struct Case {
    int xDpi, yDpi, xRaised, yRaised;
  };
  const Case cases[] = {{72, 72, 300, 300}, {0, 0, 300, 300}, {300, 72, 300, 300},
                        {204, 98, 204, 98}, {200, 100, 200, 100}, {96, 96, 300, 300}};
  for (const Case& c : cases) {
    Page page;
    page.xDpi = c.xDpi;
    page.yDpi = c.yDpi;
    RaiseLowResolution(page);
    EXPECT_EQ(page.xDpi, c.xRaised) << c.xDpi << " x " << c.yDpi;
    EXPECT_EQ(page.yDpi, c.yRaised) << c.xDpi << " x " << c.yDpi;
  }
}

}  // namespace
}  // namespace zelk
