#pragma once
// The jobs of this program, one descriptor each in one table: the action
// that runs a job, whether it works per directory or per file, the
// settings section it reads (none without options), its texts, its
// standard scan and how to make one.  Dispatch, the preview, the job
// registry, the run frame, --help, the manual page and the window read
// their facts about a job here and in the action table (JobActions.h), so
// a new job adds its own unit, a JobId, its row in JobCatalog.cpp, its
// action's row and, when it has options, their section and dialog.
//
// An action runs one job, or a per-directory and a per-file job of the
// same section, chosen by that section's ConvertType (1: per directory).

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "run/JobDescriptor.h"
#include "run/JobId.h"
#include "run/JobRegistry.h"
#include "run/JobTexts.h"
#include "run/ScanRequest.h"
#include "settings/Settings.h"

namespace zelk {

// Registers the factory of every job in the catalog.
void RegisterBuiltInJobs(JobRegistry& registry);

// The texts row of `id`.
const JobTexts& TextsOf(JobId id);

// The scan a job runs by default, from the settings of the moment: the one
// of its row in the catalog.
ScanRequest DefaultScanRequest(JobId id, const Settings& settings);

// "doc", "docx" or "rtf" for [OCR] OutputType 0, 1 or 2; empty otherwise.
std::string OcrExtension(const Settings& settings);

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
  // The section the jobs read; null for an action without options.
  const JobSection* Section() const {
    if (PerDirectory != nullptr) return PerDirectory->Section;
    return PerFile != nullptr ? PerFile->Section : nullptr;
  }
};
ActionJobs JobsOfAction(int action);

// The names of the settings sections the actions' jobs read ("Merge",
// "Split", ...), in action order, each once; an action without options
// adds none.
std::vector<std::string> ActionSectionNames();

}  // namespace zelk
