#pragma once
// Numbers in PDF syntax.  Formatted with std::to_chars, which never looks
// at the user's locale, so a decimal comma can never reach a PDF.

#include <string>

namespace zelk {

// At most four decimals, trailing zeros dropped: 595.2756 -> "595.2756",
// 72 -> "72", -0.00001 -> "0".
std::string PdfNumber(double value);

}  // namespace zelk
