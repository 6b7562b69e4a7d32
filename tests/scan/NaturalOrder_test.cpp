#include "scan/NaturalOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace zelk {
namespace {

TEST(NaturalOrderTest, DigitRunsCompareByValueAndLettersWithoutCase) {
  std::vector<std::string> names = {"scan0010.tif", "p10",  "scan0002.tif", "P2",   "b",
                                    "A",            "a1b",  "a01c",         "a1",   "scan10",
                                    "scan9",        "x",    "",             "1",    "01",
                                    "页2",          "页10", "z99999999999999999999"};
  std::sort(names.begin(), names.end(), NaturalLess);
  EXPECT_EQ(names, (std::vector<std::string>{"", "01", "1", "A", "a1", "a1b", "a01c", "b", "P2",
                                             "p10", "scan0002.tif", "scan9", "scan10",
                                             "scan0010.tif", "x", "z99999999999999999999", "页2",
                                             "页10"}));
}

TEST(NaturalOrderTest, DistinctNamesNeverCompareEqual) {
  const std::vector<std::string> names = {"a", "A", "a1", "a01", "a001", "A1", "a1.tif", "a10"};
  for (const std::string& x : names) {
    EXPECT_FALSE(NaturalLess(x, x)) << x;
    for (const std::string& y : names) {
      if (x != y) {
        EXPECT_NE(NaturalLess(x, y), NaturalLess(y, x)) << x << " / " << y;
      }
      for (const std::string& z : names) {
        if (NaturalLess(x, y) && NaturalLess(y, z)) {
          EXPECT_TRUE(NaturalLess(x, z)) << x << " " << y << " " << z;
        }
      }
    }
  }
}

}  // namespace
}  // namespace zelk
