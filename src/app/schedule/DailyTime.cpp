#include "app/schedule/DailyTime.h"

#include <charconv>

namespace zelk {
namespace {

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::optional<int> Number(std::string_view text, int highest) {
  text = Trimmed(text);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value < 0 || value > highest) return std::nullopt;
  return value;
}

}  // namespace

std::optional<int> ParseDailyTime(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const std::optional<int> hour = Number(text.substr(0, colon), 23);
  const std::optional<int> minute = Number(text.substr(colon + 1), 59);
  if (!hour || !minute) return std::nullopt;
  return *hour * 3600 + *minute * 60;
}

}  // namespace zelk
