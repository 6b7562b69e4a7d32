#pragma once
// The jobs, one per kind of run.  Each has its row in the job catalog
// (JobCatalog.h), in this order.

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

}  // namespace zelk
