#pragma once
// Reads the leading rows of the first worksheet of an Excel 97-2003 (.xls)
// workbook.  FreeXL, which reads it, crashes on some damaged files, so it
// runs in a program of its own, zelk-xls-reader: such a file fails the
// read, not the program.

#include <string>
#include <vector>

#include "workbook/SheetRows.h"

namespace zelk {

inline constexpr const char* kXlsReaderProgramName = "zelk-xls-reader";

// Columns A to C from row 1 down to the row before the first empty A.
// Throws SheetReadError when the file cannot be opened or read, or the
// reader program fails (crashes, runs past its time, cannot be started).
std::vector<SheetRow> ReadXlsRows(const std::string& path);

// The reader program: the one among the program's helper programs (beside
// a portable executable, in <prefix>/libexec/zelk under an installed one),
// else the one in the directory that the environment variable ZELK_BIN_DIR
// names (the tests run from a directory of their own); when neither is
// there, the helper path, which then fails to start.
std::string XlsReaderProgram();

}  // namespace zelk
