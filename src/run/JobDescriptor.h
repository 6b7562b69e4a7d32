#pragma once
// What tells one job apart from the others, as one descriptor: the action
// that runs it, whether it works per directory or per file, the settings
// section it reads (none for a job without options), its texts, its
// standard scan and how to make one.  The descriptors themselves form the
// job catalog (jobs/JobCatalog.h); the run frame reads a job's texts and
// action through Job::Descriptor().

#include <cstdint>
#include <memory>
#include <string>

#include "run/JobId.h"
#include "run/JobTexts.h"
#include "run/ScanRequest.h"
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
  const JobSection* Section;  // null for a job without options
  ScanRequest (*DefaultScan)(const Settings& settings);  // its standard scan
  std::unique_ptr<Job> (*Create)();                      // a fresh job for one run
  JobTexts Texts;
};

}  // namespace zelk
