#include "workbook/GroupingTable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "jobs/GroupPlan.h"
#include "support/TempDir.h"
#include "workbook/SheetRows.h"

namespace zelk {
namespace {

std::string Fixture(const std::string& name) {
  return (std::filesystem::path(__FILE__).parent_path() / "fixtures" / name).string();
}

using Rows = std::vector<std::vector<std::string>>;

Rows RowsOf(const GroupingTable& table) {
  EXPECT_EQ(table.m_colGroupNames.size(), table.RowCount());
  EXPECT_EQ(table.m_colGroupPages.size(), table.RowCount());
  Rows rows;
  for (std::size_t r = 0; r < table.RowCount(); ++r) {
    rows.push_back({table.m_colGroupKeys[r], table.m_colGroupNames[r], table.m_colGroupPages[r]});
  }
  return rows;
}

// The error a workbook gives, or a failure when it loads.
GroupingTableError LoadError(const std::string& path) {
  try {
    LoadGroupingTable(path);
  } catch (const GroupingTableError& error) {
    return error;
  }
  ADD_FAILURE() << path << " loaded";
  return GroupingTableError("", "");
}

TEST(GroupingTableTest, BothFormatsGiveTheSameCellTextsUpToTheFirstEmptyA) {
  // Numbers read as ordinarily written, empty cells as "", column D and the
  // rows below the empty A not at all.
  const Rows expected = {{"目录", "文件名", "页号"},
                         {"2001-1", "甲", "1"},
                         {"2001.1", "B", "12"},
                         {"x", "", "1.5"},
                         {"key only", "", ""}};
  EXPECT_EQ(RowsOf(LoadGroupingTable(Fixture("grouping-table.xls"))), expected);
  EXPECT_EQ(RowsOf(LoadGroupingTable(Fixture("grouping-table.xlsx"))), expected);
}

TEST(GroupingTableTest, XlsxCellKindsAndTheFirstSheetInWorkbookOrder) {
  // The first sheet in workbook order is the second sheet file; prefixed
  // names, rich text without its phonetic guide, cells without references,
  // a formula's cached text, a boolean, an escaped carriage return, a
  // number written with round-off, a blank-led shared string.
  const Rows expected = {{"Key", "Name", "页号"},
                         {"2001-1", "A", "1"},
                         {"2001.1", "TRUE", "4"},
                         {" lead", "x&y\rz", ""}};
  EXPECT_EQ(RowsOf(LoadGroupingTable(Fixture("grouping-crafted.xlsx"))), expected);
}

TEST(GroupingTableTest, NumberTextIsTheOrdinaryOne) {
  EXPECT_EQ(NumberCellText(12), "12");
  EXPECT_EQ(NumberCellText(1.5), "1.5");
  EXPECT_EQ(NumberCellText(0.1 + 0.2), "0.3");
  EXPECT_EQ(NumberCellText(-0.0), "0");
  EXPECT_EQ(NumberCellText(-7), "-7");
  EXPECT_EQ(NumberCellText(123456789012345.0), "123456789012345");
}

TEST(GroupingTableTest, AWorkbookWithoutRowsOrThatCannotBeReadIsAnErrorNamingTheFile) {
  test::TempDir dir;
  const std::string text = dir.File("notes.xls");
  test::WriteBytes(text, "目录,文件名,页号\n2001-1,A,1\n");
  const std::string fakeXls = dir.File("fake.xls");
  test::WriteBytes(fakeXls,
                   std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(600, 'x'));
  const std::string truncated = dir.File("truncated.xlsx");
  const std::string whole = test::ReadBytes(Fixture("grouping-table.xlsx"));
  test::WriteBytes(truncated, whole.substr(0, whole.size() / 2));
  const std::string notWorkbook = dir.File("other.xlsx");
  test::WriteBytes(notWorkbook, std::string("PK\x03\x04", 4) + std::string(100, '\0'));

  for (const std::string& path : {Fixture("grouping-damaged.xls"), text, fakeXls, truncated,
                                  notWorkbook, dir.File("missing.xlsx"), dir.Path().string()}) {
    const GroupingTableError error = LoadError(path);
    EXPECT_EQ(std::string(error.what()), "无法读取分件数据文件：" + path);
    EXPECT_FALSE(error.Detail().empty()) << path;
    EXPECT_EQ(error.Message().Text, error.what());
  }
  for (const std::string name : {"grouping-empty.xls", "grouping-empty.xlsx"}) {
    EXPECT_EQ(std::string(LoadError(Fixture(name)).what()),
              "分件数据文件中没有数据：" + Fixture(name));
  }
}

TEST(GroupingTableTest, FixturesGroupAndSplitTheSameInBothFormats) {
  for (const std::string ext : {".xls", ".xlsx"}) {
    const GroupList first =
        GroupListOf(LoadGroupingTable(Fixture("grouping-mode1" + ext)), "/in/2001/1");
    ASSERT_EQ(first.Mode, PageValueMode::FirstPage) << ext;
    const auto firstPlan = PlanGroupPages(first, 7);
    ASSERT_EQ(firstPlan.size(), 3u) << ext;
    EXPECT_EQ(firstPlan[2].Name, "C");
    EXPECT_EQ(firstPlan[2].First, 6);
    const GroupList counts =
        GroupListOf(LoadGroupingTable(Fixture("grouping-mode2" + ext)), "/in/2001/1");
    ASSERT_EQ(counts.Mode, PageValueMode::PageCount) << ext;
    const auto countPlan = PlanGroupPages(counts, 8);
    ASSERT_EQ(countPlan.size(), 2u) << ext;
    EXPECT_EQ(countPlan[1].First, 5);
    EXPECT_EQ(countPlan[1].Last, 8);
  }
}

}  // namespace
}  // namespace zelk
