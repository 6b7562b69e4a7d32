#pragma once
// Recognition languages by their program names ("ChinesePRC+English") and
// the Tesseract language codes they stand for ("chi_sim+eng").

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelk {

// The language every recognition job of the program uses.
inline constexpr std::string_view kDefaultRecognitionLanguage = "ChinesePRC+English";

// Tesseract codes of a "+"-joined list of program language names, in the
// same order; nullopt when a name is unknown or the list is empty.  Tesseract
// takes them joined with "+" again.
std::optional<std::vector<std::string>> TesseractLanguageCodes(std::string_view languageNames);

}  // namespace zelk
