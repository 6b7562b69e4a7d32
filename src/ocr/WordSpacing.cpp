#include "ocr/WordSpacing.h"

#include "platform/Utf8.h"

namespace zelk {
namespace {

// A gap of at least this share of the line height reads as a blank between
// Chinese and Latin text; the side bearings of CJK glyphs stay well below.
constexpr double kMixedScriptBlankShare = 0.3;

char32_t FirstCharacter(std::string_view text) {
  const std::u32string decoded = DecodeUtf8(text);
  return decoded.empty() ? 0 : decoded.front();
}

char32_t LastCharacter(std::string_view text) {
  const std::u32string decoded = DecodeUtf8(text);
  return decoded.empty() ? 0 : decoded.back();
}

bool IsAsciiPunctuation(char32_t c) {
  return c < 0x80 && c > 0x20 && !(c >= '0' && c <= '9') && !(c >= 'A' && c <= 'Z') &&
         !(c >= 'a' && c <= 'z');
}

}  // namespace

bool IsCjkCharacter(char32_t c) {
  return (c >= 0x2E80 && c <= 0x2FDF)     // CJK radicals, Kangxi radicals
         || (c >= 0x3000 && c <= 0x30FF)  // CJK symbols and punctuation, kana
         || (c >= 0x3100 && c <= 0x312F)  // Bopomofo
         || (c >= 0x31C0 && c <= 0x31FF)  // CJK strokes, katakana extensions
         || (c >= 0x3400 && c <= 0x4DBF)  // CJK extension A
         || (c >= 0x4E00 && c <= 0x9FFF)  // CJK unified ideographs
         || (c >= 0xF900 && c <= 0xFAFF)  // CJK compatibility ideographs
         || (c >= 0xFE30 && c <= 0xFE4F)  // CJK compatibility forms
         || (c >= 0xFF00 && c <= 0xFFEF)  // halfwidth and fullwidth forms
         || (c >= 0x20000 && c <= 0x3FFFF);  // supplementary ideographic planes
}

bool BlankBetweenWords(std::string_view left, std::string_view right, int gap, int lineHeight) {
  const char32_t last = LastCharacter(left);
  const char32_t first = FirstCharacter(right);
  const bool leftCjk = IsCjkCharacter(last);
  const bool rightCjk = IsCjkCharacter(first);
  if (leftCjk && rightCjk) return false;
  if (!leftCjk && !rightCjk) return true;
  // The recogniser often reads a fullwidth mark inside Chinese text as its
  // ASCII twin; the mark still belongs to the Chinese run.
  if (IsAsciiPunctuation(leftCjk ? first : last)) return false;
  return gap >= kMixedScriptBlankShare * lineHeight;
}

}  // namespace zelk
