#include "FreeXlSheet.h"

#include <freexl.h>

#include <cstdint>
#include <memory>

namespace zelk {
namespace {

struct FreeXlClose {
  void operator()(const void* handle) const { freexl_close(handle); }
};
using FreeXlHandle = std::unique_ptr<const void, FreeXlClose>;

void Require(int result, const std::string& what, const std::string& path) {
  if (result != FREEXL_OK) {
    throw SheetReadError("FreeXL cannot " + what + " " + path + " (error " +
                         std::to_string(result) + ")");
  }
}

std::string CellText(const FreeXL_CellValue& cell) {
  switch (cell.type) {
    case FREEXL_CELL_INT:
      return std::to_string(cell.value.int_value);
    case FREEXL_CELL_DOUBLE:
      return NumberCellText(cell.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
      return cell.value.text_value != nullptr ? cell.value.text_value : "";
    default:
      return {};
  }
}

}  // namespace

std::vector<SheetRow> ReadXlsRowsWithFreeXl(const std::string& path) {
  const void* raw = nullptr;
  const int opened = freexl_open(path.c_str(), &raw);
  // FreeXL wants the handle closed even when opening failed.
  const FreeXlHandle handle(raw);
  Require(opened, "open", path);

  unsigned int sheetCount = 0;
  Require(freexl_get_info(handle.get(), FREEXL_BIFF_SHEET_COUNT, &sheetCount), "read", path);
  if (sheetCount == 0) {
    throw SheetReadError("no worksheet in " + path);
  }
  Require(freexl_select_active_worksheet(handle.get(), 0), "select the first sheet of", path);
  unsigned int rowCount = 0;
  unsigned short columnCount = 0;
  Require(freexl_worksheet_dimensions(handle.get(), &rowCount, &columnCount), "measure", path);

  return LeadingRows(rowCount, [&](std::uint32_t row, int column) -> std::string {
    if (column >= columnCount) return {};
    FreeXL_CellValue cell;
    Require(
        freexl_get_cell_value(handle.get(), row - 1, static_cast<unsigned short>(column), &cell),
        "read a cell of", path);
    return CellText(cell);
  });
}

}  // namespace zelk
