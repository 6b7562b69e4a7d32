#include "RecognitionCorpus.h"

#include <algorithm>
#include <random>

#include "ocr/WordSpacing.h"
#include "platform/Utf8.h"
#include "KnownTextLines.h"
#include "TextPageRenderer.h"

namespace zelk::bench {
namespace {

// Lines fit the 2008-pixel text width at 44 pixels an em.
constexpr int kChineseCharactersPerLine = 40;
constexpr int kLatinCharactersPerLine = 72;
constexpr int kLinesPerPage = 36;

}  // namespace

std::vector<std::vector<std::string>> CorpusText(int count) {
  std::mt19937 random(20240601);
  std::vector<std::vector<std::string>> pages(count);
  for (auto& lines : pages) {
    for (int i = 0; i < kLinesPerPage; ++i) {
      lines.push_back(random() % 4 == 0 ? ocrtest::EnglishLine(random, kLatinCharactersPerLine)
                                        : ocrtest::ChineseLine(random, kChineseCharactersPerLine));
    }
  }
  return pages;
}

std::vector<std::string> WriteCorpus(const std::vector<std::vector<std::string>>& pages,
                                     const std::string& directory) {
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < pages.size(); ++i) {
    ocrtest::TextPageSpec spec;
    spec.width = 2480;
    spec.height = 3508;
    spec.margin = 236;
    spec.lines = pages[i];
    std::vector<PixPtr> page;
    page.push_back(ocrtest::Binarize(ocrtest::RenderTextPage(spec)));
    const std::string name = (i < 9 ? "page0" : "page") + std::to_string(i + 1) + ".tif";
    paths.push_back(directory + "/" + name);
    ocrtest::WriteMultipageTiff(paths.back(), page);
  }
  return paths;
}

long BlanksInsideChinese(const std::string& text) {
  const std::u32string characters = DecodeUtf8(text);
  long blanks = 0;
  for (std::size_t i = 1; i + 1 < characters.size(); ++i) {
    if (characters[i] == ' ' && IsCjkCharacter(characters[i - 1]) && IsCjkCharacter(characters[i + 1])) {
      ++blanks;
    }
  }
  return blanks;
}

}  // namespace zelk::bench
