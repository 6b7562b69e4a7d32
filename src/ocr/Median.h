#pragma once
// The median of a handful of measures (line heights, baselines): the upper
// middle one, 0 when there are none.

#include <algorithm>
#include <vector>

namespace zelk {

inline int Median(std::vector<int> values) {
  if (values.empty()) return 0;
  const auto middle = values.begin() + static_cast<long>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

}  // namespace zelk
