#pragma once
// The part of a spreadsheet the grouping table uses: the texts of columns A
// to C of the first worksheet, from row 1 down to the row before the first
// row whose column A is empty.  Shared by the .xls and .xlsx readers.

#include <array>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zelk {

inline constexpr int kSheetColumns = 3;  // A, B, C

using SheetRow = std::array<std::string, kSheetColumns>;

// A workbook that cannot be opened or read; the text says why, in terms
// meant for a developer.
class SheetReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Rows 1, 2, ... up to `rowCount`, stopping at the first row whose column
// A gives an empty text.  `cellText` takes a
// row (from 1) and a column (0 = A) and gives the cell's text.
std::vector<SheetRow> LeadingRows(std::uint32_t rowCount,
                                  const std::function<std::string(std::uint32_t, int)>& cellText);

// A numeric cell value as text, the way a number is ordinarily written:
// at most 15 significant digits, no trailing zeros, "." as the decimal
// mark whatever the locale (12 gives "12", 1.5 gives "1.5").
std::string NumberCellText(double value);

}  // namespace zelk
