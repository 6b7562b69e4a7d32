#pragma once
// SplitFiles: every page of each image file becomes a file of its own, in a
// directory named after the source file in the mirrored tree, named by the
// [Split] settings and written as TIFF or JPEG.
//
// Pages whose names coincide (a number of no digits) are appended into one
// TIFF; a JPEG file holds one page, so there the item fails instead of
// losing pages.  Each file's directory is written under a temporary name
// and takes its own name whole once every page is in it, so a failed or
// killed item leaves no output directory behind and is offered again.

#include <optional>
#include <set>
#include <string>

#include "jobs/ItemPagesAhead.h"
#include "jobs/JobCatalog.h"
#include "jobs/SaveChoice.h"
#include "run/Job.h"

namespace zelk {

class SplitFilesJob : public Job {
 public:
  const JobDescriptor& Descriptor() const override { return DescriptorOf(JobId::SplitFiles); }
  ItemOutcome ProcessItem(RunContext& context, std::size_t index) override;

 private:
  ItemPages PagesOf(RunContext& context, std::size_t index);

  SaveParameters save_;
  std::set<std::string> made_;  // the output directories this run has made
  std::optional<ItemPagesAhead> ahead_;
};

}  // namespace zelk
