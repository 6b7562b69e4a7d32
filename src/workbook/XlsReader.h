#pragma once
// Reads the leading rows of the first worksheet of an Excel 97-2003 (.xls)
// workbook, through FreeXL.  FreeXL crashes on some damaged files, so it
// runs in a child process: such a file fails the read, not the program.

#include <string>
#include <vector>

#include "workbook/SheetRows.h"

namespace zelk {

// Columns A to C from row 1 down to the row before the first empty A.
// Throws SheetReadError when the file cannot be opened or read.
std::vector<SheetRow> ReadXlsRows(const std::string& path);

}  // namespace zelk
