#pragma once
// UTF-16 code units of code points, for formats that spell characters as
// 16-bit numbers (RTF's \uN, a PDF's ToUnicode map).

#include <string>

namespace zelk {

// One unit for a character of the Basic Multilingual Plane, a surrogate
// pair beyond it; U+FFFD for a value beyond Unicode or a surrogate.
std::u16string Utf16Units(char32_t c);

}  // namespace zelk
