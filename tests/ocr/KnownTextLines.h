#pragma once
// Lines of known text in the mix office documents have: Chinese sentences
// with the odd English term or number, and English sentences.  The same
// random stream always gives the same lines.

#include <random>
#include <string>
#include <vector>

#include "imaging/PageText.h"

namespace zelk::ocrtest {

// A Chinese sentence of about `characters` characters (an English term
// counts half a character a letter), ending with a full stop.  Without
// `terms`, Chinese words only, as text set in columns has them.
std::string ChineseLine(std::mt19937& random, int characters, bool terms = true);

// An English sentence of about `letters` letters and blanks.
std::string EnglishLine(std::mt19937& random, int letters);

// The lines of a recognised text layer as text, to set beside the known
// lines: each line's words with their blanks, none at the end.
std::vector<std::string> LineTexts(const PageText& page);

}  // namespace zelk::ocrtest
