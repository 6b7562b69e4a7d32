#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace zelk {

// The parts with the separator between each two of them.
inline std::string Join(const std::vector<std::string>& parts, std::string_view separator) {
  std::string joined;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) joined += separator;
    joined += parts[i];
  }
  return joined;
}

}  // namespace zelk
