#include "jobs/JobCatalog.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>
#include <string>

#include "jobs/Dispatch.h"
#include "jobs/GroupedDirectoryJob.h"
#include "jobs/JobActions.h"
#include "run/Job.h"
#include "run/JobRegistry.h"

namespace zelk {
namespace {

// A key of a job's section, or null for a job without options or a
// section without that key.
template <typename T>
SectionKey<T> KeyOf(const JobDescriptor& job, SectionKey<T> JobSection::*key) {
  return job.Section != nullptr ? job.Section->*key : SectionKey<T>{};
}

// ConvertType and KeepDir set to `value` in `section` and to the other of
// 0 and 1 in every other section, so that a job reading another section's
// key shows.
Settings WithSectionKeys(const JobSection* section, int16_t value) {
  Settings settings;
  for (const JobDescriptor& job : JobCatalog()) {
    const int16_t here = job.Section == section ? value : static_cast<int16_t>(1 - value);
    for (auto key : {&JobSection::ConvertType, &JobSection::KeepDir}) {
      if (auto write = KeyOf(job, key).Write) write(settings) = here;
    }
  }
  return settings;
}

TEST(JobCatalogTest, EveryRowIsFoundByItsIdAndHasANameOfItsOwn) {
  std::set<std::string> names;
  for (const JobDescriptor& job : JobCatalog()) {
    EXPECT_TRUE(names.insert(job.Name).second) << job.Name;
    EXPECT_EQ(&DescriptorOf(job.Id), &job) << job.Name;
    EXPECT_EQ(&TextsOf(job.Id), &job.Texts) << job.Name;
    EXPECT_NE(job.DefaultScan, nullptr) << job.Name;
    EXPECT_NE(job.Create, nullptr) << job.Name;
  }
  EXPECT_THROW(DescriptorOf(static_cast<JobId>(JobCatalog().size())), std::logic_error);
}

TEST(JobCatalogTest, EveryActionRunsOneJobOrAPairItsSectionChoosesBetween) {
  std::map<JobId, int> runs;
  for (const JobAction& action : kJobActions) {
    SCOPED_TRACE(action.Caption);
    const ActionJobs jobs = JobsOfAction(action.Number);
    ASSERT_TRUE(jobs.PerDirectory != nullptr || jobs.PerFile != nullptr);
    if (jobs.PerDirectory) {
      EXPECT_EQ(jobs.PerDirectory->Items, ScanRequest::Mode::Directories);
      ++runs[jobs.PerDirectory->Id];
    }
    if (jobs.PerFile) {
      EXPECT_EQ(jobs.PerFile->Items, ScanRequest::Mode::Files);
      ++runs[jobs.PerFile->Id];
    }
    if (jobs.Chooses()) {
      EXPECT_EQ(jobs.PerDirectory->Section, jobs.PerFile->Section);
      EXPECT_NE(KeyOf(*jobs.PerDirectory, &JobSection::ConvertType).Read, nullptr);
    }
  }
  for (const JobDescriptor& job : JobCatalog()) EXPECT_EQ(runs[job.Id], 1) << job.Name;

  for (int outside : {0, -1, static_cast<int>(kActionCount) + 1}) {
    const ActionJobs none = JobsOfAction(outside);
    EXPECT_EQ(none.PerDirectory, nullptr) << outside;
    EXPECT_EQ(none.PerFile, nullptr) << outside;
  }
}

TEST(JobCatalogTest, DispatchAndCaptionsFollowTheTablesForEitherConvertType) {
  // ConvertType 1 runs the per-directory job, any other value the per-file one.
  for (int16_t convertType : {1, 0, 2, -1}) {
    for (const JobAction& action : kJobActions) {
      SCOPED_TRACE(std::string(action.Caption) + " ConvertType " + std::to_string(convertType));
      const ActionJobs jobs = JobsOfAction(action.Number);
      const JobDescriptor* any = jobs.PerDirectory ? jobs.PerDirectory : jobs.PerFile;
      const Settings settings = WithSectionKeys(any->Section, convertType);
      const JobDescriptor* expected = jobs.Chooses()
                                          ? (convertType == 1 ? jobs.PerDirectory : jobs.PerFile)
                                          : any;
      EXPECT_EQ(JobForAction(action.Number, settings), expected->Id);
      EXPECT_EQ(ActionCaption(action.Number), action.Caption);
    }
  }
  for (int outside : {0, static_cast<int>(kActionCount) + 1}) {
    EXPECT_EQ(JobForAction(outside, Settings{}), std::nullopt) << outside;
    EXPECT_EQ(ActionCaption(outside), "") << outside;
  }
}

TEST(JobCatalogTest, NotAvailableMessageNamesTheChoiceOnlyOfAnActionThatChooses) {
  for (const JobDescriptor& job : JobCatalog()) {
    std::string choice;
    if (JobsOfAction(job.Action).Chooses()) {
      choice = job.Items == ScanRequest::Mode::Directories ? "（按目录）" : "（按文件）";
    }
    EXPECT_EQ(NotAvailableMessage(job.Action, job.Id).Text,
              "“" + ActionCaption(job.Action) + "”" + choice +
                  "功能尚未提供，暂时无法使用。\u3000\u3000")
        << job.Name;
  }
}

TEST(JobCatalogTest, StandardScanWorksOnTheRowsItemsWithItsSectionsKeepDir) {
  for (const JobDescriptor& job : JobCatalog()) {
    SCOPED_TRACE(job.Name);
    for (int16_t keepDir : {1, 0}) {
      const ScanRequest scan = DefaultScanRequest(job.Id, WithSectionKeys(job.Section, keepDir));
      EXPECT_EQ(scan.ScanMode, job.Items);
      // Only a per-directory job whose section has a KeepDir key looks for
      // a directory's documents inside its mirrored directory.
      EXPECT_EQ(scan.KeepDir, job.Items == ScanRequest::Mode::Directories &&
                                  KeyOf(job, &JobSection::KeepDir).Read != nullptr && keepDir == 1);
    }
  }
}

TEST(JobCatalogTest, BuiltInRegistryMakesEveryJobAndGroupedJobsReadTheirSectionsWorkbook) {
  JobRegistry registry;
  RegisterBuiltInJobs(registry);
  for (const JobDescriptor& job : JobCatalog()) {
    SCOPED_TRACE(job.Name);
    const std::unique_ptr<Job> made = registry.Create(job.Id);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->Id(), job.Id);
    // Per directory, a section's workbook is never left unread.
    const bool grouped = dynamic_cast<GroupedDirectoryJob*>(made.get()) != nullptr;
    EXPECT_EQ(grouped, job.Items == ScanRequest::Mode::Directories &&
                           KeyOf(job, &JobSection::Grouping).Read != nullptr);
    if (!grouped) continue;
    EXPECT_NE(job.Section->KeepDir.Write, nullptr);

    // A workbook named in the job's own section is the one the start check
    // looks for; the other sections' workbooks do not count.
    const std::string missing = "/nonexistent/分件.xls";
    Settings settings;
    for (const JobDescriptor& other : JobCatalog()) {
      if (auto write = KeyOf(other, &JobSection::Grouping).Write) write(settings) = missing;
    }
    job.Section->Grouping.Write(settings) = "";
    EXPECT_EQ(made->CheckBeforeStart(settings), std::nullopt);
    const std::unique_ptr<Job> withWorkbook = registry.Create(job.Id);
    job.Section->Grouping.Write(settings) = missing;
    const std::optional<UserMessage> refused = withWorkbook->CheckBeforeStart(settings);
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(refused->Text, MissingWorkbookMessage().Text);
  }
}

}  // namespace
}  // namespace zelk
