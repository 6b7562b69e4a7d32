#include "imaging/JpegQuality.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

TEST(JpegQuality, FactorToQuality) {
  struct Case { int factor, quality; };
  const Case cases[] = {{15, 95}, {130, 53}, {245, 12}, {0, 100}, {255, 8}, {-250, 100},
                        {275, 1}, {400, 1}, {125, 55}, {128, 54}};
  for (const Case& c : cases) {
    EXPECT_EQ(JpegQualityFromFactor(c.factor), c.quality) << c.factor;
  }
}

}  // namespace
}  // namespace zelk
