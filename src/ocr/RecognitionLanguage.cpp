#include "ocr/RecognitionLanguage.h"

#include <array>
#include <utility>

namespace zelk {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kLanguageCodes{{
    {"ChinesePRC", "chi_sim"},
    {"ChineseTaiwan", "chi_tra"},
    {"English", "eng"},
    {"Japanese", "jpn"},
}};

std::optional<std::string_view> CodeOf(std::string_view name) {
  for (const auto& [programName, code] : kLanguageCodes) {
    if (programName == name) return code;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::vector<std::string>> TesseractLanguageCodes(std::string_view languageNames) {
  std::vector<std::string> codes;
  std::size_t start = 0;
  while (start <= languageNames.size()) {
    const std::size_t plus = languageNames.find('+', start);
    const std::size_t end = plus == std::string_view::npos ? languageNames.size() : plus;
    const auto code = CodeOf(languageNames.substr(start, end - start));
    if (!code) return std::nullopt;
    codes.emplace_back(*code);
    start = end + 1;
  }
  return codes;
}

}  // namespace zelk
