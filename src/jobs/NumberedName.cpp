#include "jobs/NumberedName.h"

#include <stdexcept>

namespace zelk {

std::string NumberText(int digits, bool addZero, long long number) {
  if (digits < 0) {
    throw std::invalid_argument("编号位数" + std::to_string(digits) + "不能小于0");
  }
  const std::string text =
      (addZero ? std::string(static_cast<std::size_t>(digits), '0') : std::string()) +
      std::to_string(number);
  const std::size_t keep = static_cast<std::size_t>(digits);
  return text.size() > keep ? text.substr(text.size() - keep) : text;
}

std::string NumberedName(const NumberedNamePattern& pattern, long long position) {
  return pattern.Lead + pattern.Prefix +
         NumberText(pattern.Digits, pattern.AddZero, pattern.First + position) + pattern.Suffix;
}

}  // namespace zelk
