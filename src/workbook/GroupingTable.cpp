#include "workbook/GroupingTable.h"

#include <array>
#include <fstream>

#include "workbook/SheetRows.h"
#include "workbook/XlsReader.h"
#include "workbook/XlsxReader.h"

namespace zelk {
namespace {

enum class WorkbookKind { Xls, Xlsx, Unknown };

// An .xls workbook is a compound document, an .xlsx workbook a zip archive.
WorkbookKind KindOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::array<char, 8> head{};
  if (!in.read(head.data(), head.size())) return WorkbookKind::Unknown;
  const std::string_view bytes(head.data(), head.size());
  if (bytes == std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) return WorkbookKind::Xls;
  if (bytes.substr(0, 4) == std::string_view("PK\x03\x04", 4)) return WorkbookKind::Xlsx;
  return WorkbookKind::Unknown;
}

std::vector<SheetRow> ReadRows(const std::string& path) {
  switch (KindOf(path)) {
    case WorkbookKind::Xls:
      return ReadXlsRows(path);
    case WorkbookKind::Xlsx:
      return ReadXlsxRows(path);
    case WorkbookKind::Unknown:
      break;
  }
  throw SheetReadError(path + " is neither an .xls nor an .xlsx workbook, or cannot be read");
}

}  // namespace

GroupingTable LoadGroupingTable(const std::string& path) {
  std::vector<SheetRow> rows;
  try {
    rows = ReadRows(path);
  } catch (const SheetReadError& error) {
    throw GroupingTableError("无法读取分件数据文件：" + path, error.what());
  }
  if (rows.empty()) {
    throw GroupingTableError("分件数据文件中没有数据：" + path,
                             "cell A1 of the first sheet is empty");
  }
  GroupingTable table;
  for (auto& row : rows) {
    table.m_colGroupKeys.push_back(std::move(row[0]));
    table.m_colGroupNames.push_back(std::move(row[1]));
    table.m_colGroupPages.push_back(std::move(row[2]));
  }
  return table;
}

}  // namespace zelk
