#include "workbook/XlsReader.h"

#include <freexl.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <memory>

#include "workbook/ChildProcessCall.h"

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

std::vector<SheetRow> ReadRowsHere(const std::string& path) {
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

// The rows as length-prefixed texts, to pass them out of the child process.
std::string EncodeRows(const std::vector<SheetRow>& rows) {
  std::string bytes;
  for (const SheetRow& row : rows) {
    for (const std::string& text : row) {
      const auto size = static_cast<std::uint32_t>(text.size());
      bytes.append(reinterpret_cast<const char*>(&size), sizeof size);
      bytes += text;
    }
  }
  return bytes;
}

std::vector<SheetRow> DecodeRows(const std::string& bytes) {
  std::vector<SheetRow> rows;
  std::size_t at = 0;
  while (at < bytes.size()) {
    SheetRow row;
    for (std::string& text : row) {
      std::uint32_t size = 0;
      if (bytes.size() - at < sizeof size)
        throw SheetReadError("the .xls reader's result is cut short");
      std::memcpy(&size, bytes.data() + at, sizeof size);
      at += sizeof size;
      if (bytes.size() - at < size) throw SheetReadError("the .xls reader's result is cut short");
      text = bytes.substr(at, size);
      at += size;
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

// FreeXL can crash on a damaged file; the child process keeps that from
// ending the program.
constexpr std::chrono::seconds kReadTimeout{60};

}  // namespace

std::vector<SheetRow> ReadXlsRows(const std::string& path) {
  try {
    return DecodeRows(
        CallInChildProcess([&] { return EncodeRows(ReadRowsHere(path)); }, kReadTimeout));
  } catch (const ChildProcessError& error) {
    throw SheetReadError("cannot read " + path + ": " + error.what());
  }
}

}  // namespace zelk
