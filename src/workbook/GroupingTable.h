#pragma once
// The grouping workbook ("分件数据"): which output documents the pages of a
// source directory are divided into.  Each data row names a directory by a
// key (column A), an output name (column B) and either the first page of
// that document or its number of pages (column C).  The first row is the
// header; its column C tells which of the two the page values are.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/UserMessage.h"

namespace zelk {

// The cells of columns A, B and C from row 1 down to the row before the
// first empty A.  Index 0 is sheet row 1 (the header).  The three lists
// always have the same length.
struct GroupingTable {
  std::vector<std::string> m_colGroupKeys;
  std::vector<std::string> m_colGroupNames;
  std::vector<std::string> m_colGroupPages;

  std::size_t RowCount() const { return m_colGroupKeys.size(); }
};

// A grouping workbook that cannot be used.  what() is the message for the
// operator and names the file; Detail() says what went wrong in terms
// meant for a developer.
class GroupingTableError : public std::runtime_error {
 public:
  GroupingTableError(const std::string& message, std::string detail)
      : std::runtime_error(message), detail_(std::move(detail)) {}
  const std::string& Detail() const { return detail_; }
  // The message box that stops the run: information icon, title "提示信息".
  UserMessage Message() const { return {UserMessage::Icon::Information, what()}; }

 private:
  std::string detail_;
};

// Reads the workbook at `path`: an Excel 97-2003 workbook (.xls) or an
// Office Open XML workbook (.xlsx), told apart by their first bytes rather
// than the file name.  Throws GroupingTableError when the file cannot be
// opened or read, or holds no row (an empty A1).
GroupingTable LoadGroupingTable(const std::string& path);

}  // namespace zelk
