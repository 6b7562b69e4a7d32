#pragma once
// MergeFiles: the pages of the TIFF and JPEG files of each leaf directory
// (every page of a multi-page file) become one multi-page TIFF in the
// mirrored tree, or, with a grouping workbook, one multi-page TIFF per
// group of pages inside the mirrored directory.
//
// Without a workbook an output of the same name that already exists gets
// the pages appended.  With one, the workbook is read before the scan,
// directories whose group documents all exist are left out, and a group
// document replaces an older file of its name.  Each item's outputs appear
// whole or not at all.

#include <optional>
#include <vector>

#include "jobs/GroupedDirectoryJob.h"
#include "jobs/ItemPagesAhead.h"
#include "jobs/JobCatalog.h"
#include "jobs/SaveChoice.h"

namespace zelk {

class MergeFilesJob final : public GroupedDirectoryJob {
 public:
  const JobDescriptor& Descriptor() const override { return DescriptorOf(JobId::MergeFiles); }
  ItemOutcome ProcessItem(RunContext& context, std::size_t index) override;

 private:
  // `sources` with the preparation of their pages for the merged TIFF.
  static ItemPages PagesOf(RunContext& context, std::vector<PageSource> sources);

  SaveParameters save_;
  std::optional<ItemPagesAhead> ahead_;
};

}  // namespace zelk
