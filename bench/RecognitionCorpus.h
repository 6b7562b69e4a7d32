#pragma once
// A corpus of A4 pages at 300 dpi with known Chinese and English text, for
// the recognition benchmarks, and the character error rate against it.

#include <string>
#include <vector>

namespace zelk::bench {

// The text of `count` pages, each a list of lines: Chinese sentences with
// the odd English term, and English sentences, in a fixed pseudo-random
// mix (the same for every run).
std::vector<std::vector<std::string>> CorpusText(int count);

// Renders the pages as bitonal A4 scans at 300 dpi, one CCITT G4 TIFF per
// page named page01.tif, page02.tif, ... in `directory`; returns the paths.
std::vector<std::string> WriteCorpus(const std::vector<std::vector<std::string>>& pages,
                                     const std::string& directory);

// Edit distance between recognised and known text over characters, blanks
// and line ends ignored, divided by the known text's length.
struct ErrorCount {
  long errors = 0;
  long characters = 0;
  double Rate() const { return characters > 0 ? static_cast<double>(errors) / characters : 0; }
  ErrorCount& operator+=(const ErrorCount& other) {
    errors += other.errors;
    characters += other.characters;
    return *this;
  }
};
ErrorCount CharacterErrors(const std::string& recognised, const std::string& known);

// Blanks standing between two Chinese characters in the text.
long BlanksInsideChinese(const std::string& text);

}  // namespace zelk::bench
