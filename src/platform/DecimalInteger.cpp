#include "platform/DecimalInteger.h"

#include <charconv>

namespace zelk {

std::optional<long long> DecimalInteger(std::string_view text) {
  long long value = 0;
  const char* end = text.data() + text.size();
  const auto [rest, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || rest != end) return std::nullopt;
  return value;
}

}  // namespace zelk
