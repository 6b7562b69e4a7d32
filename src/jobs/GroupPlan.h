#pragma once
// How the pages of one source directory divide into output documents: the
// directory's groups (from the grouping table, or the one group of an
// ungrouped run), their page ranges and their output files.

#include <string>
#include <string_view>
#include <vector>

#include "workbook/GroupingTable.h"

namespace zelk {

// The header text in column C that makes the page values first pages.
inline constexpr const char* kFirstPageHeader = "页号";

enum class PageValueMode {
  FirstPage = 1,  // each page value is the first page of its group
  PageCount = 2,  // each page value is the number of pages of its group
};

struct Group {
  std::string Key;
  std::string Name;       // the output document's name, without extension
  std::string PageValue;  // as the table gives it
};

struct GroupList {
  PageValueMode Mode = PageValueMode::FirstPage;
  std::vector<Group> Groups;
  bool FromWorkbook = false;  // the names are the workbook's (WorkbookNameProblem)
};

// A group's pages, numbered from 1 in page-list order, First <= Last.
struct GroupPages {
  std::string Name;
  int First = 1;
  int Last = 0;
};

// A group list that cannot be applied to the directory's pages (a page
// value that is not a whole number, a range outside the page list, a group
// without pages); what() is the reason for the operator.
class GroupPlanError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Without a workbook: one group with key `sourceDir`, named after the last
// component of `targetPath`, from page 1 to the last.
GroupList UngroupedList(const std::string& sourceDir, const std::string& targetPath);

// FirstPage when the header's column C is "页号", else PageCount.
PageValueMode ModeOf(const GroupingTable& table);

// Whether the table key names `sourceDir` (no trailing separator): the key
// with each of "-", "，", ",", ".", "；", ";" and "\" read as a path
// separator must appear in the directory's path as whole components, in
// a row ("2001.1" names .../2001/1 and .../x/2001/1/y, not .../2001/10).
// Exact, case-sensitive comparison.
bool KeyNamesDirectory(std::string_view key, std::string_view sourceDir);

// The table rows after the header whose key names `sourceDir`, in table
// order; empty when none does.
GroupList GroupListOf(const GroupingTable& table, const std::string& sourceDir);

// The page range of every group, over a page list of `pageCount` pages:
//   FirstPage: from the group's value to one before the next group's
//              value; the last group ends with the last page;
//   PageCount: each group starts after the previous one (the first at 1)
//              and holds its value's number of pages.
// A directory without pages gives no group at all (nothing to write).
// Pages that no group takes are left out.  Throws GroupPlanError when a
// page value is not a whole number, a group would hold no page, or a range
// reaches outside the page list.
std::vector<GroupPages> PlanGroupPages(const GroupList& list, int pageCount);

// The output file of every group: `targetDir` & separator & name & "." &
// `extension`, in group order.  Throws UnsafeOutputName for a name that
// would not name a file inside `targetDir`.
std::vector<std::string> GroupOutputPaths(const GroupList& list, const std::string& targetDir,
                                          std::string_view extension);

// For a re-run with a workbook: whether the table assigns groups to
// `sourceDir` and every group output, for each of `extensions`, exists in
// `targetDir`.  A directory without groups, or with a name that cannot be
// used, is not done (the run offers it again and the item decides).
bool GroupOutputsExist(const GroupingTable& table, const std::string& sourceDir,
                       const std::string& targetDir, const std::vector<std::string>& extensions);

}  // namespace zelk
