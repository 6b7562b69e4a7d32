#pragma once
// Lower case for ASCII letters only: names and keys compared without regard
// to case, whatever the bytes around them (GBK or UTF-8) and the locale.

#include <string>
#include <string_view>

namespace zelk {

constexpr char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The text with A-Z turned into a-z; other bytes unchanged.
inline std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = AsciiLower(c);
  return lower;
}

}  // namespace zelk
