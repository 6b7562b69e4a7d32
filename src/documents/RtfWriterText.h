#pragma once
// Text of an RTF run: every character outside printable ASCII as a Unicode
// escape with a '?' fallback (read under \uc1), the RTF specials escaped,
// and the text split into groups by script so that Chinese takes the East
// Asian font and Latin text the Latin one.

#include <string>
#include <string_view>

namespace zelk {

// Font numbers of the document's font table.
inline constexpr int kRtfLatinFont = 0;      // Times New Roman
inline constexpr int kRtfEastAsianFont = 1;  // SimSun (宋体)

// The run's UTF-8 text as RTF groups, each naming its font.
std::string RtfRunText(std::string_view utf8);

}  // namespace zelk
