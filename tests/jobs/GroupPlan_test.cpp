#include "jobs/GroupPlan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "jobs/OutputName.h"
#include "support/TempDir.h"

namespace zelk {
namespace {

GroupingTable Table(const std::string& pagesHeader,
                    const std::vector<std::vector<std::string>>& rows) {
  GroupingTable table{{"目录"}, {"文件名"}, {pagesHeader}};
  for (const auto& row : rows) {
    table.m_colGroupKeys.push_back(row[0]);
    table.m_colGroupNames.push_back(row[1]);
    table.m_colGroupPages.push_back(row[2]);
  }
  return table;
}

GroupList List(PageValueMode mode, const std::vector<std::string>& values) {
  GroupList list{mode, {}};
  for (std::size_t g = 0; g < values.size(); ++g) {
    list.Groups.push_back({"k", std::string(1, static_cast<char>('A' + g)), values[g]});
  }
  return list;
}

// "A1-3 B4-5 ..." for a compact comparison.
std::string Ranges(const std::vector<GroupPages>& plan) {
  std::string text;
  for (const auto& group : plan) {
    if (!text.empty()) text += ' ';
    text += group.Name + std::to_string(group.First) + "-" + std::to_string(group.Last);
  }
  return text;
}

std::string PlanError(PageValueMode mode, const std::vector<std::string>& values, int pages) {
  try {
    return "planned " + Ranges(PlanGroupPages(List(mode, values), pages));
  } catch (const GroupPlanError& error) {
    return error.what();
  }
}

TEST(GroupPlanTest, KeyNamesWholeDirectoryLevelsInARow) {
  EXPECT_TRUE(KeyNamesDirectory("2001.1", "/in/2001/1"));
  EXPECT_TRUE(KeyNamesDirectory("2001.1", "/in/x/2001/1/y"));
  EXPECT_FALSE(KeyNamesDirectory("2001.1", "/in/2001/10"));
  EXPECT_FALSE(KeyNamesDirectory("2001.1", "/in/12001/1"));
  EXPECT_FALSE(KeyNamesDirectory("2001.1", "/in/2001/x/1"));
  EXPECT_TRUE(KeyNamesDirectory("a-b，c,d.e；f;g\\h", "/r/a/b/c/d/e/f/g/h"));
  EXPECT_FALSE(KeyNamesDirectory("Box", "/in/box"));
  EXPECT_TRUE(KeyNamesDirectory("in", "/in/box"));
}

TEST(GroupPlanTest, GroupListTakesMatchingRowsAfterTheHeaderInTableOrder) {
  const GroupingTable table =
      Table("页号", {{"2001-1", "A", "1"}, {"2002-1", "X", "1"}, {"2001.1", "B", "5"}});
  const GroupList list = GroupListOf(table, "/in/2001/1");
  EXPECT_EQ(list.Mode, PageValueMode::FirstPage);
  ASSERT_EQ(list.Groups.size(), 2u);
  EXPECT_EQ(list.Groups[1].Key, "2001.1");
  EXPECT_EQ(list.Groups[1].Name, "B");
  EXPECT_EQ(list.Groups[1].PageValue, "5");
  EXPECT_TRUE(GroupListOf(table, "/in/2003/1").Groups.empty());
  // The header row is never a group, even when its key would match.
  EXPECT_TRUE(GroupListOf(table, "/in/目录").Groups.empty());
  EXPECT_EQ(ModeOf(Table("页数", {})), PageValueMode::PageCount);
  EXPECT_EQ(ModeOf(Table(" 页号", {})), PageValueMode::PageCount);
}

TEST(GroupPlanTest, PageRangesInBothModes) {
  EXPECT_EQ(Ranges(PlanGroupPages(List(PageValueMode::FirstPage, {"1", "4", "6"}), 7)),
            "A1-3 B4-5 C6-7");
  EXPECT_EQ(Ranges(PlanGroupPages(List(PageValueMode::FirstPage, {"1", "5"}), 8)), "A1-4 B5-8");
  EXPECT_EQ(Ranges(PlanGroupPages(List(PageValueMode::PageCount, {"4", "4"}), 8)), "A1-4 B5-8");
  EXPECT_EQ(Ranges(PlanGroupPages(List(PageValueMode::PageCount, {"3", "2", "2"}), 7)),
            "A1-3 B4-5 C6-7");
  // Pages no group takes are left out.
  EXPECT_EQ(Ranges(PlanGroupPages(List(PageValueMode::FirstPage, {"3"}), 7)), "A3-7");
  EXPECT_EQ(Ranges(PlanGroupPages(List(PageValueMode::PageCount, {"2", "2"}), 7)), "A1-2 B3-4");
  // Blanks and a zero fraction are still whole numbers.
  EXPECT_EQ(Ranges(PlanGroupPages(List(PageValueMode::PageCount, {" 4 ", "4.0"}), 8)), "A1-4 B5-8");
  // A directory without pages writes nothing.
  EXPECT_TRUE(PlanGroupPages(List(PageValueMode::PageCount, {"4"}), 0).empty());
}

TEST(GroupPlanTest, UngroupedDirectoryIsOneGroupNamedAfterItsTarget) {
  const GroupList list = UngroupedList("/in/a/b", "/out/a/b");
  EXPECT_EQ(Ranges(PlanGroupPages(list, 5)), "b1-5");
  EXPECT_EQ(list.Groups[0].Key, "/in/a/b");
  EXPECT_TRUE(PlanGroupPages(list, 0).empty());
}

TEST(GroupPlanTest, PageValuesThatCannotBeAppliedFailTheDirectoryWithAReason) {
  using enum PageValueMode;
  EXPECT_EQ(PlanError(FirstPage, {"1", "abc"}, 7), "分件“B”的页号“abc”不是整数");
  EXPECT_EQ(PlanError(PageCount, {""}, 7), "分件“A”的页号“”不是整数");
  EXPECT_EQ(PlanError(PageCount, {"4.5"}, 7), "分件“A”的页号“4.5”不是整数");
  EXPECT_EQ(PlanError(FirstPage, {"1", "9"}, 7), "分件“A”的页码1-8超出了目录的7页");
  EXPECT_EQ(PlanError(FirstPage, {"0", "3"}, 7), "分件“A”的起始页0不在目录的第1至7页之内");
  EXPECT_EQ(PlanError(FirstPage, {"1", "8"}, 7), "分件“B”的起始页8不在目录的第1至7页之内");
  EXPECT_EQ(PlanError(PageCount, {"4", "5"}, 8), "分件“B”的页码5-9超出了目录的8页");
  // Descending first pages and a count of 0 would give a group without pages.
  EXPECT_EQ(PlanError(FirstPage, {"1", "6", "4"}, 7), "分件“B”没有任何页（页码6-3）");
  EXPECT_EQ(PlanError(PageCount, {"3", "0", "2"}, 7), "分件“B”没有任何页（页码4-3）");
}

TEST(GroupPlanTest, UnsafeOutputNamesAreRefused) {
  for (const std::string& name : std::vector<std::string>{
           "../x", "a/b", "", ".", "..", std::string("a\0b", 3), std::string(256, 'n')}) {
    EXPECT_FALSE(OutputNameProblem(name).empty()) << name;
    EXPECT_FALSE(WorkbookNameProblem(name).empty()) << name;
  }
  for (const std::string name : {"A", "..x", "x..", "文件 1", "-"}) {
    EXPECT_EQ(OutputNameProblem(name), "") << name;
    EXPECT_EQ(WorkbookNameProblem(name), "") << name;
  }
  // A backslash is part of a Linux name; a workbook means a directory by it.
  EXPECT_EQ(OutputNameProblem("a\\b"), "");
  EXPECT_EQ(OutputFilePath("/out/a\\b", "a\\b", "pdf"), "/out/a\\b/a\\b.pdf");
  EXPECT_EQ(WorkbookNameProblem("a\\b"), "输出文件名“a\\b”含有路径分隔符");
  EXPECT_EQ(WorkbookNameProblem("卷一\n卷二"), "输出文件名“卷一\\n卷二”含有控制字符");
  EXPECT_FALSE(WorkbookNameProblem("\x1b[31m红").empty());
  const GroupingTable named = Table("页号", {{"a", "卷\r\n", "1"}});
  EXPECT_THROW(GroupOutputPaths(GroupListOf(named, "/in/a"), "/out/a", "tif"), UnsafeOutputName);
  EXPECT_EQ(GroupOutputPaths(UngroupedList("/in/a\\b", "/out/a\\b"), "/out", "tif"),
            std::vector<std::string>{"/out/a\\b.tif"});
  EXPECT_EQ(OutputNameProblem("../x"), "输出文件名“../x”含有路径分隔符");
  EXPECT_EQ(OutputFilePath("/out/a", "A", "tif"), "/out/a/A.tif");
  EXPECT_THROW(OutputFilePath("/out/a", std::string(252, 'n'), "tif"), UnsafeOutputName);
  const GroupingTable table = Table("页号", {{"a", "ok", "1"}, {"a", "../x", "3"}});
  EXPECT_THROW(GroupOutputPaths(GroupListOf(table, "/in/a"), "/out/a", "tif"), UnsafeOutputName);
}

TEST(GroupPlanTest, GroupedDirectoryIsDoneWhenEveryGroupOutputExists) {
  test::TempDir dir;
  const std::string target = dir.Path().string();
  const GroupingTable table = Table("页号", {{"a", "A", "1"}, {"a", "B", "3"}, {"b", "../x", "1"}});
  const std::vector<std::string> tif = {"tif"};
  EXPECT_FALSE(GroupOutputsExist(table, "/in/a", target, tif));
  test::WriteBytes(dir.File("A.tif"), "x");
  EXPECT_FALSE(GroupOutputsExist(table, "/in/a", target, tif));
  test::WriteBytes(dir.File("B.tif"), "x");
  EXPECT_TRUE(GroupOutputsExist(table, "/in/a", target, tif));
  EXPECT_FALSE(GroupOutputsExist(table, "/in/a", target, {"pdf", "tif"}));
  // No groups, or a name that cannot be written: the run offers it again.
  EXPECT_FALSE(GroupOutputsExist(table, "/in/c", target, tif));
  EXPECT_FALSE(GroupOutputsExist(table, "/in/b", target, tif));
}

}  // namespace
}  // namespace zelk
