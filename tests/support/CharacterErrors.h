#pragma once
// The character error count of recognised (or read-back) text against the
// text known to be on the page: the edit distance over characters, blanks
// and line ends ignored, divided by the known text's length.

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Utf8.h"

namespace zelk::test {

struct ErrorCount {
  long errors = 0;
  long characters = 0;
  double Rate() const { return characters > 0 ? static_cast<double>(errors) / characters : 0; }
  ErrorCount& operator+=(const ErrorCount& other) {
    errors += other.errors;
    characters += other.characters;
    return *this;
  }
};

namespace character_errors_detail {

inline std::u32string WithoutBlanks(const std::string& text) {
  std::u32string characters = DecodeUtf8(text);
  std::erase_if(characters, [](char32_t c) { return c == ' ' || c == '\r' || c == '\n' || c == '\f'; });
  return characters;
}

}  // namespace character_errors_detail

inline ErrorCount CharacterErrors(const std::string& recognised, const std::string& known) {
  const std::u32string a = character_errors_detail::WithoutBlanks(recognised);
  const std::u32string b = character_errors_detail::WithoutBlanks(known);
  std::vector<long> previous(b.size() + 1), current(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) previous[j] = static_cast<long>(j);
  for (std::size_t i = 1; i <= a.size(); ++i) {
    current[0] = static_cast<long>(i);
    for (std::size_t j = 1; j <= b.size(); ++j) {
      current[j] = std::min({previous[j] + 1, current[j - 1] + 1,
                             previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
    }
    std::swap(previous, current);
  }
  return ErrorCount{previous[b.size()], static_cast<long>(b.size())};
}

}  // namespace zelk::test
