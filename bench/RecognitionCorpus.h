#pragma once
// A corpus of A4 pages at 300 dpi with known Chinese and English text, for
// the recognition benchmarks, and the character error rate against it.

#include <string>
#include <vector>

#include "support/CharacterErrors.h"

namespace zelk::bench {

// The text of `count` pages, each a list of lines: Chinese sentences with
// the odd English term, and English sentences, in a fixed pseudo-random
// mix (the same for every run).
std::vector<std::vector<std::string>> CorpusText(int count);

// Renders the pages as bitonal A4 scans at 300 dpi, one CCITT G4 TIFF per
// page named page01.tif, page02.tif, ... in `directory`; returns the paths.
std::vector<std::string> WriteCorpus(const std::vector<std::vector<std::string>>& pages,
                                     const std::string& directory);

// Edit distance between recognised and known text (the tests' own).
using test::CharacterErrors;
using test::ErrorCount;

// Blanks standing between two Chinese characters in the text.
long BlanksInsideChinese(const std::string& text);

}  // namespace zelk::bench
