#pragma once
// Names made of a running number, as the split and rename settings
// describe them: the number is cut or padded to a fixed count of digits.

#include <cstdint>
#include <string>

namespace zelk {

// The last `digits` characters of Z & `number` (plain decimal), Z being
// `digits` zeros when `addZero`, else empty: 7 with 4 digits gives "0007",
// or "7" without zeros; 101 with 2 digits gives "01" either way; 0 digits
// give an empty text.  Throws std::invalid_argument for negative digits.
std::string NumberText(int digits, bool addZero, long long number);

// How the settings build a name around the number.
struct NumberedNamePattern {
  std::string Lead;    // the source's own name when the settings add it, else empty
  std::string Prefix;  // text before the number
  long long First = 1; // number of the first name
  int Digits = 0;
  bool AddZero = false;
  std::string Suffix;  // text after the number
};

// Lead & Prefix & NumberText(First + position) & Suffix; `position`
// counts from 0.
std::string NumberedName(const NumberedNamePattern& pattern, long long position);

}  // namespace zelk
