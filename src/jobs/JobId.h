#pragma once
// The nine jobs, one per kind of run.

#include <array>

namespace zelk {

enum class JobId {
  MergeFiles,         // merge single pages into multi-page TIFF, per directory
  SplitFiles,         // split multi-page files, per file
  BatchRename,        // rename the files of each directory
  MergeFiles2PDF,     // single-layer PDF per directory
  ConvertFiles2PDF,   // single-layer PDF per file
  MergeFiles22PDF,    // dual-layer PDF per directory
  ConvertFiles22PDF,  // dual-layer PDF per file
  MergeFiles2Word,    // Word documents per directory
  ConvertFiles2Word,  // Word documents per file
};

inline constexpr std::array<JobId, 9> kAllJobs = {
    JobId::MergeFiles,       JobId::SplitFiles,        JobId::BatchRename,
    JobId::MergeFiles2PDF,   JobId::ConvertFiles2PDF,  JobId::MergeFiles22PDF,
    JobId::ConvertFiles22PDF, JobId::MergeFiles2Word,  JobId::ConvertFiles2Word};

}  // namespace zelk
