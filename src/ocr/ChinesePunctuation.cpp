#include "ocr/ChinesePunctuation.h"

#include "ocr/WordSpacing.h"
#include "platform/Utf8.h"

namespace zelk {
namespace {

char32_t FullwidthOf(char32_t c) {
  switch (c) {
    case ',': return U'，';
    case ';': return U'；';
    case ':': return U'：';
    case '?': return U'？';
    case '!': return U'！';
    case '(': return U'（';
    case ')': return U'）';
    default: return 0;
  }
}

// Whether the neighbour stands for Chinese text: a Chinese character, or
// (for an opening or closing bracket and the line's last mark) nothing.
bool ChineseSide(const std::u32string& text, std::size_t index, bool before) {
  if (before && index == 0) return false;
  if (!before && index + 1 >= text.size()) return true;
  return IsCjkCharacter(text[before ? index - 1 : index + 1]);
}

}  // namespace

void RestoreChinesePunctuation(LayoutLine& line) {
  // The line's characters in one sequence, with where each word starts.
  std::u32string text;
  std::vector<std::size_t> starts;
  for (const LayoutWord& word : line.words) {
    starts.push_back(text.size());
    text += DecodeUtf8(word.text);
  }
  bool changed = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t fullwidth = FullwidthOf(text[i]);
    if (fullwidth == 0) continue;
    const bool chineseBefore = ChineseSide(text, i, true);
    const bool chineseAfter = ChineseSide(text, i, false);
    const bool opening = text[i] == '(';
    if ((opening && chineseAfter && (i == 0 || IsCjkCharacter(text[i - 1]))) ||
        (!opening && chineseBefore && chineseAfter)) {
      text[i] = fullwidth;
      changed = true;
    }
  }
  if (!changed) return;
  starts.push_back(text.size());
  for (std::size_t w = 0; w < line.words.size(); ++w) {
    line.words[w].text = EncodeUtf8(std::u32string_view(text).substr(starts[w], starts[w + 1] - starts[w]));
  }
}

}  // namespace zelk
