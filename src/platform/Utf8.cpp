#include "platform/Utf8.h"

namespace zelk {

std::u32string DecodeUtf8(std::string_view text) {
  std::u32string decoded;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 1;
    char32_t value = 0xFFFD;
    if (lead < 0x80) { value = lead; }
    else if ((lead & 0xE0) == 0xC0) { length = 2; value = lead & 0x1F; }
    else if ((lead & 0xF0) == 0xE0) { length = 3; value = lead & 0x0F; }
    else if ((lead & 0xF8) == 0xF0) { length = 4; value = lead & 0x07; }
    for (std::size_t i = 1; i < length; ++i) {
      if (pos + i >= text.size() || (static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80) {
        length = i;  // resume at the byte that broke the sequence
        value = 0xFFFD;
        break;
      }
      value = (value << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
    }
    decoded.push_back(value);
    pos += length;
  }
  return decoded;
}

std::string EncodeUtf8(std::u32string_view characters) {
  std::string encoded;
  for (char32_t c : characters) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c < 0x80) {
      encoded += static_cast<char>(c);
    } else if (c < 0x800) {
      encoded += static_cast<char>(0xC0 | (c >> 6));
      encoded += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      encoded += static_cast<char>(0xE0 | (c >> 12));
      encoded += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      encoded += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      encoded += static_cast<char>(0xF0 | (c >> 18));
      encoded += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      encoded += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      encoded += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return encoded;
}

}  // namespace zelk
