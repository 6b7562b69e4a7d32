#pragma once
// SplitFiles: every page of each image file becomes a file of its own, in a
// directory named after the source file in the mirrored tree, named by the
// [Split] settings and written as TIFF or JPEG.
//
// Pages whose names coincide (a number of no digits) are appended into one
// TIFF; a JPEG file holds one page, so there the item fails instead of
// losing pages.  Each item's outputs appear whole or not at all, and a
// failed item leaves no output directory behind.

#include "jobs/JobCatalog.h"
#include "jobs/SaveChoice.h"
#include "run/Job.h"

namespace zelk {

class SplitFilesJob : public Job {
 public:
  const JobDescriptor& Descriptor() const override { return DescriptorOf(JobId::SplitFiles); }
  ItemOutcome ProcessItem(RunContext& context, std::size_t index) override;

 private:
  SaveParameters save_;
};

}  // namespace zelk
