#include "platform/LenientNumber.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace zelk {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The text without its blanks, so that the scan below sees one run of
// characters.
std::string WithoutBlanks(std::string_view text) {
  std::string kept;
  kept.reserve(text.size());
  for (char c : text) {
    if (!IsBlank(c)) kept.push_back(c);
  }
  return kept;
}

// Length of the run of digits that starts at `pos`.
std::size_t DigitRun(const std::string& s, std::size_t pos) {
  std::size_t end = pos;
  while (end < s.size() && IsDigit(s[end])) ++end;
  return end - pos;
}

// Exponents beyond this make every mantissa overflow or underflow.
constexpr long kExponentCap = 100000;

// The number of digits before the decimal point once leading zeros are
// dropped; for a mantissa below 1, minus the zeros right after the point.
long DecimalOrder(const std::string& s, std::size_t start, std::size_t integerDigits,
                  std::size_t fractionDigits) {
  std::size_t i = start;
  while (i < start + integerDigits && s[i] == '0') ++i;
  if (i < start + integerDigits) return static_cast<long>(start + integerDigits - i);
  const std::size_t fraction = start + integerDigits + 1;
  std::size_t j = fraction;
  while (j < fraction + fractionDigits && s[j] == '0') ++j;
  return -static_cast<long>(j - fraction);
}

}  // namespace

double LeadingNumber(std::string_view text) {
  const std::string s = WithoutBlanks(text);
  std::size_t pos = 0;
  bool negative = false;
  if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
    negative = s[pos] == '-';
    ++pos;
  }
  const std::size_t mantissaStart = pos;
  const std::size_t integerDigits = DigitRun(s, pos);
  pos += integerDigits;
  std::size_t fractionDigits = 0;
  if (pos < s.size() && s[pos] == '.') {
    fractionDigits = DigitRun(s, pos + 1);
    ++pos;
    pos += fractionDigits;
  }
  if (integerDigits + fractionDigits == 0) return 0.0;

  // An exponent counts only when digits follow the letter and its sign.
  long exponent = 0;
  if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E')) {
    std::size_t after = pos + 1;
    bool minus = false;
    if (after < s.size() && (s[after] == '+' || s[after] == '-')) {
      minus = s[after] == '-';
      ++after;
    }
    const std::size_t exponentDigits = DigitRun(s, after);
    if (exponentDigits > 0) {
      for (std::size_t i = after; i < after + exponentDigits; ++i) {
        exponent = std::min(exponent * 10 + (s[i] - '0'), kExponentCap);
      }
      if (minus) exponent = -exponent;
      pos = after + exponentDigits;
    }
  }

  const char* first = s.data() + mantissaStart;
  const char* last = s.data() + pos;
  double magnitude = 0.0;
  const auto [end, error] = std::from_chars(first, last, magnitude);
  if (error == std::errc::result_out_of_range) {
    // Beyond what a double holds: huge or tiny, told apart by the decimal
    // order of magnitude of the number.
    const long order = DecimalOrder(s, mantissaStart, integerDigits, fractionDigits) + exponent;
    magnitude = order > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (error != std::errc() || end != last) {
    return 0.0;
  }
  return negative ? -magnitude : magnitude;
}

std::optional<int16_t> RoundToInt16(double value) {
  if (std::isnan(value)) return std::nullopt;
  const double below = std::floor(value);
  const double fraction = value - below;
  double rounded = below;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0)) rounded = below + 1.0;
  if (rounded < std::numeric_limits<int16_t>::min() ||
      rounded > std::numeric_limits<int16_t>::max()) {
    return std::nullopt;
  }
  return static_cast<int16_t>(rounded);
}

std::optional<int16_t> LeadingInt16(std::string_view text) {
  return RoundToInt16(LeadingNumber(text));
}

}  // namespace zelk
