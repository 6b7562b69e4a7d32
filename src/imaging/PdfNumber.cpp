#include "imaging/PdfNumber.h"

#include <charconv>
#include <cmath>

namespace zelk {

std::string PdfNumber(double value) {
  if (!std::isfinite(value)) value = 0;
  char buffer[64];
  auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 4);
  if (error != std::errc()) return "0";
  std::string text(buffer, end);
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  if (text == "-0") text = "0";
  return text;
}

}  // namespace zelk
