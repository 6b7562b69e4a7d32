#include "scan/NaturalOrder.h"

#include <cstddef>

#include "platform/AsciiCase.h"

namespace zelk {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

unsigned char Folded(char c) { return static_cast<unsigned char>(AsciiLower(c)); }

// Compares the digit runs starting at a[i] and b[j] by value and moves both
// indices past them.  Returns <0, 0 or >0.
int CompareDigitRuns(std::string_view a, std::size_t& i, std::string_view b, std::size_t& j) {
  std::size_t endA = i;
  while (endA < a.size() && IsDigit(a[endA])) ++endA;
  std::size_t endB = j;
  while (endB < b.size() && IsDigit(b[endB])) ++endB;
  std::size_t startA = i;
  while (startA + 1 < endA && a[startA] == '0') ++startA;
  std::size_t startB = j;
  while (startB + 1 < endB && b[startB] == '0') ++startB;
  const std::size_t lengthA = endA - startA;
  const std::size_t lengthB = endB - startB;
  i = endA;
  j = endB;
  if (lengthA != lengthB) return lengthA < lengthB ? -1 : 1;
  return a.substr(startA, lengthA).compare(b.substr(startB, lengthB));
}

}  // namespace

bool NaturalLess(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      const int order = CompareDigitRuns(a, i, b, j);
      if (order != 0) return order < 0;
      continue;
    }
    const unsigned char ca = Folded(a[i]);
    const unsigned char cb = Folded(b[j]);
    if (ca != cb) return ca < cb;
    ++i;
    ++j;
  }
  if (i < a.size() || j < b.size()) return j < b.size();  // the shorter rest first
  return a < b;  // equal apart from case or leading zeros
}

}  // namespace zelk
