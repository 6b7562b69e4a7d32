#pragma once
// The jobs of this program, one descriptor each in one table: the action
// that runs a job, whether it works per directory or per file, the
// settings section it reads, its texts, its standard scan and how to make
// one.  Dispatch, the preview, the job registry and the run frame read
// their facts about a job here, so a new job adds its own unit, its row in
// JobCatalog.cpp and, when it has options, their dialog.
//
// An action runs one job, or a per-directory and a per-file job of the
// same section, chosen by that section's ConvertType (1: per directory).

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "jobs/JobId.h"
#include "jobs/JobTexts.h"
#include "jobs/ScanRequest.h"
#include "settings/SettingKeys.h"
#include "settings/Settings.h"

namespace zelk {

class Job;

// One key of a settings section: its handle, and its field in the record
// to read from any record or to write in a run's own copy.  The accessors
// are null where the section has no such key.
template <typename T>
struct SectionKey {
  SettingId Id{};
  const T& (*Read)(const Settings&) = nullptr;
  T& (*Write)(Settings&) = nullptr;
};

// The section a job reads and those of its keys that shape a run:
// ConvertType picks the action's per-directory (1) or per-file job,
// KeepDir puts a directory's documents inside its mirrored directory (1)
// or beside it, Grouping names the grouping workbook (empty: none).
struct JobSection {
  SettingSection Id;
  SectionKey<int16_t> ConvertType;
  SectionKey<int16_t> KeepDir;
  SectionKey<std::string> Grouping;
};

struct JobDescriptor {
  JobId Id;
  const char* Name;           // "MergeFiles" ...
  int Action;                 // the JobActions number that runs the job
  ScanRequest::Mode Items;    // one item per leaf directory or per file
  const JobSection* Section;  // never null
  ScanRequest (*DefaultScan)(const Settings& settings);  // see DefaultScanRequest
  std::unique_ptr<Job> (*Create)();                      // a fresh job for one run
  JobTexts Texts;
};

// Every job, in JobId order.
std::span<const JobDescriptor> JobCatalog();

// The descriptor of `id`; throws std::logic_error for an id without one.
const JobDescriptor& DescriptorOf(JobId id);

// The jobs of an action; both null outside the actions.
struct ActionJobs {
  const JobDescriptor* PerDirectory = nullptr;
  const JobDescriptor* PerFile = nullptr;
  // Whether the section's ConvertType chooses between the two.
  bool Chooses() const { return PerDirectory != nullptr && PerFile != nullptr; }
};
ActionJobs JobsOfAction(int action);

}  // namespace zelk
