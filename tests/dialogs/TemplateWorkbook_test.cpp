// The template workbook shipped beside the program, read back with FreeXL,
// and the picker's filter in the form Qt's file dialog takes.

#include <freexl.h>
#include <gtest/gtest.h>

#include <QString>
#include <filesystem>
#include <string>
#include <vector>

#include "dialogs/DialogServices.h"

namespace zelk::test {
namespace {

std::string CellText(const void* handle, unsigned row, unsigned short column) {
  FreeXL_CellValue cell;
  if (freexl_get_cell_value(handle, row, column, &cell) != FREEXL_OK) return "<error>";
  switch (cell.type) {
    case FREEXL_CELL_INT:
      return std::to_string(cell.value.int_value);
    case FREEXL_CELL_DOUBLE:
      return std::to_string(static_cast<long long>(cell.value.double_value));
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
      return cell.value.text_value;
    default:
      return "";
  }
}

// Columns A to C of the first worksheet, from row 1 down to the row before
// the first empty cell in column A: all a grouping reader looks at.
std::vector<std::vector<std::string>> GroupingRows(const std::string& path) {
  const void* handle = nullptr;
  EXPECT_EQ(freexl_open(path.c_str(), &handle), FREEXL_OK) << path;
  std::vector<std::vector<std::string>> rows;
  if (handle == nullptr) return rows;
  EXPECT_EQ(freexl_select_active_worksheet(handle, 0), FREEXL_OK);
  unsigned rowCount = 0;
  unsigned short columnCount = 0;
  EXPECT_EQ(freexl_worksheet_dimensions(handle, &rowCount, &columnCount), FREEXL_OK);
  for (unsigned row = 0; row < rowCount; ++row) {
    std::vector<std::string> cells;
    for (unsigned short column = 0; column < 3; ++column) cells.push_back(CellText(handle, row, column));
    if (cells[0].empty()) break;
    rows.push_back(cells);
  }
  freexl_close(handle);
  return rows;
}

TEST(TemplateWorkbookTest, ShippedTemplateHoldsAHeaderAndTwoGroups) {
  const std::string source = ZELK_TEST_SOURCE_DIR;
  const std::string bin = ZELK_TEST_BIN_DIR;
  const std::vector<std::vector<std::string>> expected = {
      {"目录关键字", "文件名", "页号"}, {"2001-1", "A", "1"}, {"2001-1", "B", "5"}};
  EXPECT_EQ(GroupingRows(source + "/resources/template.xls"), expected);
  // The build places the same workbook beside the executable.
  EXPECT_TRUE(std::filesystem::exists(bin + "/template.xls"));
}

TEST(TemplateWorkbookTest, PickerFilterInQtForm) {
  EXPECT_EQ(QtNameFilter(QStringLiteral("97-2003Excel(*.xls)|*.xls|2007以上Excel(*.xlsx)|*.xlsx")),
            QStringLiteral("97-2003Excel(*.xls);;2007以上Excel(*.xlsx)"));
  EXPECT_EQ(QtNameFilter(QStringLiteral("Images|*.png;*.jpg")), QStringLiteral("Images (*.png *.jpg)"));
}

}  // namespace
}  // namespace zelk::test
