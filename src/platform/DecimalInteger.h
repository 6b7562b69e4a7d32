#pragma once
// Whole numbers written by programs (command-line options, environment
// variables, the program's own records and file names), read strictly.

#include <optional>
#include <string_view>

namespace zelk {

// The value of `text` when it is a decimal integer and nothing else: an
// optional minus sign and digits, no blanks, plus sign or fraction, within
// the range of long long; nullopt otherwise.
std::optional<long long> DecimalInteger(std::string_view text);

}  // namespace zelk
