#pragma once
// Reads the leading rows of the first worksheet of an Office Open XML
// (.xlsx) workbook: the zip package through libzip, its parts through
// pugixml.

#include <string>
#include <vector>

#include "workbook/SheetRows.h"

namespace zelk {

// Columns A to C from row 1 down to the row before the first empty A.  The
// first worksheet is the first in the workbook's own sheet order.  Cells
// give shared strings, inline strings, numbers (as NumberCellText),
// booleans as "TRUE" / "FALSE", and the cached value of a formula.
// Throws SheetReadError when the file cannot be opened or read.
std::vector<SheetRow> ReadXlsxRows(const std::string& path);

}  // namespace zelk
