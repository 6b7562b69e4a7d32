#pragma once
// Columns A to C of the first worksheet of an Excel 97-2003 (.xls)
// workbook, read with FreeXL in this process.  FreeXL crashes on some
// damaged files, so only the .xls reader program calls this.

#include <string>
#include <vector>

#include "workbook/SheetRows.h"

namespace zelk {

// From row 1 down to the row before the first empty A.  Throws
// SheetReadError when the file cannot be opened or read.
std::vector<SheetRow> ReadXlsRowsWithFreeXl(const std::string& path);

}  // namespace zelk
