#pragma once
// Numbers typed into text boxes are read leniently, the way operators of the
// program are used to: the longest leading part of the text that reads as a
// decimal number counts, blanks anywhere are ignored, and a text that starts
// with no number counts as 0 ("12abc" is 12, "abc" is 0, " 1 2" is 12).

#include <cstdint>
#include <optional>
#include <string_view>

namespace zelk {

// The value of the leading decimal number of `text`: an optional sign,
// digits with an optional decimal point, and an optional exponent
// ("1.5e2" is 150).  Magnitudes beyond double give an infinity.
double LeadingNumber(std::string_view text);

// `value` rounded to the nearest integer, a half going to the even
// neighbour (2.5 is 2, 3.5 is 4); nullopt when the result does not fit a
// 16-bit signed integer or the value is not a number.
std::optional<int16_t> RoundToInt16(double value);

// Both steps: how a typed 16-bit setting is read.
std::optional<int16_t> LeadingInt16(std::string_view text);

}  // namespace zelk
