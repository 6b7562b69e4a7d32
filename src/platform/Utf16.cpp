#include "platform/Utf16.h"

namespace zelk {

std::u16string Utf16Units(char32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return u"\uFFFD";
  if (c < 0x10000) return std::u16string(1, static_cast<char16_t>(c));
  const char32_t offset = c - 0x10000;
  return {static_cast<char16_t>(0xD800 + (offset >> 10)),
          static_cast<char16_t>(0xDC00 + (offset & 0x3FF))};
}

}  // namespace zelk
