#include "documents/RtfWriterText.h"

#include "documents/WordWriterSupport.h"
#include "ocr/WordSpacing.h"
#include "platform/Utf16.h"

namespace zelk {
namespace {

// \uN takes a signed 16-bit number; characters beyond the basic plane go
// as their UTF-16 surrogate pair.
void AppendUnicodeEscape(std::string& out, char32_t c) {
  for (const char16_t unit : Utf16Units(c)) {
    const int signedValue =
        unit > 0x7FFF ? static_cast<int>(unit) - 0x10000 : static_cast<int>(unit);
    out += "\\u" + std::to_string(signedValue) + "?";
  }
}

void AppendCharacter(std::string& out, char32_t c) {
  if (c == '\\' || c == '{' || c == '}') {
    out += '\\';
    out += static_cast<char>(c);
  } else if (c < 0x80) {
    out += static_cast<char>(c);
  } else {
    AppendUnicodeEscape(out, c);
  }
}

// The group opening of a stretch in one script.  The stretch's font goes
// into both classes readers file Latin text under (\loch, \hich), and 宋体
// stays the East Asian font (\dbch) throughout, so that each character
// lands in the intended font whichever class the reader gives it.
std::string GroupOpening(bool eastAsian) {
  const std::string font = std::to_string(eastAsian ? kRtfEastAsianFont : kRtfLatinFont);
  return "{\\hich\\af" + font + "\\dbch\\af" + std::to_string(kRtfEastAsianFont) + "\\loch\\f" +
         font + " ";
}

}  // namespace

std::string RtfRunText(std::string_view utf8) {
  std::string out;
  const std::u32string characters = DocumentCharacters(utf8);
  bool groupOpen = false;
  bool groupEastAsian = false;
  for (char32_t c : characters) {
    // A blank stays in the stretch it stands in.
    const bool eastAsian = c == U' ' && groupOpen ? groupEastAsian : IsCjkCharacter(c);
    if (!groupOpen || eastAsian != groupEastAsian) {
      if (groupOpen) out += '}';
      out += GroupOpening(eastAsian);
      groupOpen = true;
      groupEastAsian = eastAsian;
    }
    AppendCharacter(out, c);
  }
  if (groupOpen) out += '}';
  return out;
}

}  // namespace zelk
