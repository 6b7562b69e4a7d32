#include "platform/Utf8.h"

namespace zelk {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

std::u32string DecodeLenient(std::string_view text) {
  std::u32string decoded;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 1;
    char32_t value = kReplacement;
    if (lead < 0x80) { value = lead; }
    else if ((lead & 0xE0) == 0xC0) { length = 2; value = lead & 0x1F; }
    else if ((lead & 0xF0) == 0xE0) { length = 3; value = lead & 0x0F; }
    else if ((lead & 0xF8) == 0xF0) { length = 4; value = lead & 0x07; }
    for (std::size_t i = 1; i < length; ++i) {
      if (pos + i >= text.size() || (static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80) {
        length = i;  // resume at the byte that broke the sequence
        value = kReplacement;
        break;
      }
      value = (value << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
    }
    decoded.push_back(value);
    pos += length;
  }
  return decoded;
}

std::u32string DecodeStrict(std::string_view text) {
  std::u32string decoded;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t length = WellFormedUtf8Length(text, pos);
    if (length == 0) {
      decoded.push_back(kReplacement);
      ++pos;
      continue;
    }
    const auto lead = static_cast<unsigned char>(text[pos]);
    char32_t value = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
      value = (value << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
    }
    decoded.push_back(value);
    pos += length;
  }
  return decoded;
}

}  // namespace

std::size_t WellFormedUtf8Length(std::string_view text, std::size_t pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char secondMin = 0x80, secondMax = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) secondMin = 0xA0;  // overlong
    if (lead == 0xED) secondMax = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) secondMin = 0x90;  // overlong
    if (lead == 0xF4) secondMax = 0x8F;  // above U+10FFFF
  } else {
    return 0;
  }
  if (pos + length > text.size()) return 0;
  if (byte(1) < secondMin || byte(1) > secondMax) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

std::u32string DecodeUtf8(std::string_view text, Utf8Decoding decoding) {
  return decoding == Utf8Decoding::Strict ? DecodeStrict(text) : DecodeLenient(text);
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacement;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string EncodeUtf8(std::u32string_view characters) {
  std::string encoded;
  for (char32_t c : characters) AppendUtf8(encoded, c);
  return encoded;
}

}  // namespace zelk
