#include "app/batch/ManualPage.h"

#include <gtest/gtest.h>

#include <string>

#include "jobs/JobActions.h"
#include "jobs/JobCatalog.h"
#include "support/TempDir.h"

namespace zelk {
namespace {

// The manual page names every action by its number and every section the
// actions read, in bold, with no marker left.
TEST(ManualPageTest, ListsEveryActionAndItsSectionFromTheTables) {
  const std::string page = FillManualPage(
      test::ReadBytes(std::string(PROJECT_SOURCE_DIR) + "/packaging/man/zelk-batch.1.in"));
  ASSERT_FALSE(page.empty());
  EXPECT_EQ(page.find("@ZELK_"), std::string::npos);
  for (const JobAction& action : kJobActions) {
    std::string named = std::to_string(action.Number) + " ";
    for (const char c : std::string(action.ManualName)) named += c == '-' ? "\\-" : std::string(1, c);
    EXPECT_NE(page.find(named), std::string::npos) << named;
  }
  const std::vector<std::string> sections = ActionSectionNames();
  for (const std::string& section : sections) {
    EXPECT_NE(page.find("[" + section + "]"), std::string::npos) << section;
  }
  EXPECT_NE(page.find(".RB ( [" + sections.front() + "] ,\n"), std::string::npos);
  EXPECT_NE(page.find("\nor\n.BR [" + sections.back() + "] )\n"), std::string::npos);
}

}  // namespace
}  // namespace zelk
