#pragma once
// The daily start time [Timer] Timer1: "H:M" as the hour and minute lists
// show them (for example 8:5 or 17:30).

#include <optional>
#include <string_view>

namespace zelk {

// Seconds after midnight of the time, or nullopt when the text is not an
// hour 0..23, ":" and a minute 0..59 (blanks around the numbers allowed).
std::optional<int> ParseDailyTime(std::string_view text);

}  // namespace zelk
