#pragma once
// Sheet rows as bytes, to pass them from the .xls reader program back to the
// program: every cell of every row in order, each a 4-byte little-endian
// length followed by that many bytes of text.  Any byte may occur in a
// text, and a result cut short is always noticed.

#include <string>
#include <vector>

#include "workbook/SheetRows.h"

namespace zelk {

std::string EncodeSheetRows(const std::vector<SheetRow>& rows);

// Throws SheetReadError when the bytes end inside a row.
std::vector<SheetRow> DecodeSheetRows(const std::string& bytes);

}  // namespace zelk
