#include "workbook/SheetRows.h"

#include <charconv>
#include <system_error>

namespace zelk {

std::vector<SheetRow> LeadingRows(std::uint32_t rowCount,
                                  const std::function<std::string(std::uint32_t, int)>& cellText) {
  std::vector<SheetRow> rows;
  for (std::uint32_t row = 1; row <= rowCount; ++row) {
    SheetRow texts;
    texts[0] = cellText(row, 0);
    if (texts[0].empty()) break;
    for (int column = 1; column < kSheetColumns; ++column) texts[column] = cellText(row, column);
    rows.push_back(std::move(texts));
  }
  return rows;
}

std::string NumberCellText(double value) {
  if (value == 0) return "0";  // also for -0
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  if (result.ec != std::errc()) return {};
  return std::string(buffer, result.ptr);
}

}  // namespace zelk
