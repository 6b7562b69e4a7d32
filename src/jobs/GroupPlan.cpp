#include "jobs/GroupPlan.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "jobs/OutputName.h"
#include "platform/PathSeparator.h"
#include "platform/Quoting.h"
#include "scan/PathHelpers.h"
#include "scan/ScanSupport.h"

namespace zelk {
namespace {

// Marks that separate the directory levels of a key.  "\" is among them
// because keys written for Windows paths use it between levels.
constexpr std::string_view kKeySeparators[] = {"-", "，", ",", ".", "；", ";", "\\"};

std::string KeyAsPath(std::string_view key) {
  std::string path(key);
  for (const std::string_view mark : kKeySeparators) {
    for (auto at = path.find(mark); at != std::string::npos; at = path.find(mark, at + 1)) {
      path.replace(at, mark.size(), 1, kPathSeparator);
    }
  }
  return path;
}

// A page value as a whole number; blanks around it are allowed, and so is
// a whole number written with a fraction part ("4.0").
long long WholeNumber(const Group& group) {
  std::string_view text(group.PageValue);
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  double value = 0;
  const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || parsed.ec != std::errc() || parsed.ptr != text.data() + text.size() ||
      !std::isfinite(value) || value != std::floor(value) || std::fabs(value) > 1e9) {
    throw GroupPlanError("分件" + Quoted(group.Name) + "的页号" + Quoted(group.PageValue) +
                         "不是整数");
  }
  return static_cast<long long>(value);
}

GroupPages Checked(const Group& group, long long first, long long last, int pageCount) {
  const std::string pages = std::to_string(pageCount);
  if (first < 1 || first > pageCount) {
    throw GroupPlanError("分件" + Quoted(group.Name) + "的起始页" + std::to_string(first) +
                         "不在目录的第1至" + pages + "页之内");
  }
  const std::string range = std::to_string(first) + "-" + std::to_string(last);
  if (last < first) {
    throw GroupPlanError("分件" + Quoted(group.Name) + "没有任何页（页码" + range + "）");
  }
  if (last > pageCount) {
    throw GroupPlanError("分件" + Quoted(group.Name) + "的页码" + range + "超出了目录的" + pages +
                         "页");
  }
  return {group.Name, static_cast<int>(first), static_cast<int>(last)};
}

}  // namespace

GroupList UngroupedList(const std::string& sourceDir, const std::string& targetPath) {
  return {PageValueMode::FirstPage, {{sourceDir, GetFileNamePart(targetPath), "1"}}};
}

PageValueMode ModeOf(const GroupingTable& table) {
  return !table.m_colGroupPages.empty() && table.m_colGroupPages.front() == kFirstPageHeader
             ? PageValueMode::FirstPage
             : PageValueMode::PageCount;
}

bool KeyNamesDirectory(std::string_view key, std::string_view sourceDir) {
  const std::string needle = kPathSeparator + KeyAsPath(key) + kPathSeparator;
  const std::string haystack = std::string(sourceDir) + kPathSeparator;
  return haystack.find(needle) != std::string::npos;
}

GroupList GroupListOf(const GroupingTable& table, const std::string& sourceDir) {
  GroupList list;
  list.Mode = ModeOf(table);
  list.FromWorkbook = true;
  for (std::size_t row = 1; row < table.RowCount(); ++row) {
    if (KeyNamesDirectory(table.m_colGroupKeys[row], sourceDir)) {
      list.Groups.push_back(
          {table.m_colGroupKeys[row], table.m_colGroupNames[row], table.m_colGroupPages[row]});
    }
  }
  return list;
}

std::vector<GroupPages> PlanGroupPages(const GroupList& list, int pageCount) {
  std::vector<GroupPages> plan;
  if (pageCount <= 0) return plan;
  const std::size_t count = list.Groups.size();
  std::vector<long long> values;
  for (const Group& group : list.Groups) values.push_back(WholeNumber(group));
  long long next = 1;  // PageCount: where the next group starts
  for (std::size_t g = 0; g < count; ++g) {
    if (list.Mode == PageValueMode::FirstPage) {
      const long long last = g + 1 == count ? pageCount : values[g + 1] - 1;
      plan.push_back(Checked(list.Groups[g], values[g], last, pageCount));
    } else {
      plan.push_back(Checked(list.Groups[g], next, next + values[g] - 1, pageCount));
      next = plan.back().Last + 1;
    }
  }
  return plan;
}

std::vector<std::string> GroupOutputPaths(const GroupList& list, const std::string& targetDir,
                                          std::string_view extension) {
  std::vector<std::string> paths;
  for (const Group& group : list.Groups) {
    if (list.FromWorkbook) {
      if (const std::string problem = WorkbookNameProblem(group.Name); !problem.empty()) {
        throw UnsafeOutputName(problem);
      }
    }
    paths.push_back(OutputFilePath(targetDir, group.Name, extension));
  }
  return paths;
}

bool GroupOutputsExist(const GroupingTable& table, const std::string& sourceDir,
                       const std::string& targetDir, const std::vector<std::string>& extensions) {
  const GroupList list = GroupListOf(table, sourceDir);
  if (list.Groups.empty()) return false;
  try {
    for (const std::string& extension : extensions) {
      for (const std::string& path : GroupOutputPaths(list, targetDir, extension)) {
        if (!FileExists(path)) return false;
      }
    }
  } catch (const UnsafeOutputName&) {
    return false;
  }
  return true;
}

}  // namespace zelk
