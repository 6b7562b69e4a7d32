#include "TypesetLines.h"

#include "platform/Utf8.h"
#include "TextPageRenderer.h"

namespace zelk::ocrtest {
namespace {

// The pieces a line may break between: each Chinese character, each Latin
// word with the blank after it.
std::vector<std::string> BreakPieces(const std::string& text) {
  std::vector<std::string> pieces;
  bool latin = false;
  for (char32_t c : DecodeUtf8(text)) {
    const std::string character = EncodeUtf8(std::u32string(1, c));
    if (c > 0x7F) {
      pieces.push_back(character);
      latin = false;
    } else if (latin) {
      pieces.back() += character;
    } else {
      pieces.push_back(character);
      latin = c != ' ';
    }
    if (c == ' ') latin = false;
  }
  return pieces;
}

bool OpensNoLine(const std::string& piece) {
  return piece == "，" || piece == "、" || piece == "；" || piece == "。" || piece == ".";
}

}  // namespace

std::vector<std::string> SetLines(const std::string& text, const std::string& indent, int pixelSize,
                                  int width) {
  std::vector<std::string> lines{indent};
  std::vector<std::string> pieces = BreakPieces(text);
  std::size_t onLine = 0;  // pieces on the current line
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (LineWidth(lines.back() + pieces[i], pixelSize) <= width || onLine == 0) {
      lines.back() += pieces[i];
      ++onLine;
      continue;
    }
    std::size_t next = i;
    if (OpensNoLine(pieces[i]) && onLine > 1) {
      --next;
      const std::string& moved = pieces[next];
      lines.back().erase(lines.back().size() - moved.size());
    }
    while (!lines.back().empty() && lines.back().back() == ' ') lines.back().pop_back();
    lines.push_back(pieces[next]);
    onLine = 1;
    i = next;
  }
  return lines;
}

}  // namespace zelk::ocrtest
