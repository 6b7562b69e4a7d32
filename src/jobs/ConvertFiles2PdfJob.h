#pragma once
// Single-layer PDF per file: every page of each image file (TIFF, JPEG,
// PNG, BMP, PDF) becomes a page of one image-only PDF named after the file
// without its last extension, in the mirrored directory.  Sources that
// share that name (b.tif and b.jpg) add their pages to the same PDF.
//
// Each page gets its own save parameters, chosen by the source's full
// path; the page has the image's own size at the resolution of the [PDF]
// ImageResolution key (the source's own for 0).  A file's PDF is written
// whole or not at all: a file that fails leaves nothing behind and is
// offered again.

#include <optional>

#include "jobs/ItemPagesAhead.h"
#include "jobs/JobCatalog.h"
#include "jobs/SaveChoice.h"
#include "run/Job.h"

namespace zelk {

class ConvertFiles2PdfJob final : public Job {
 public:
  const JobDescriptor& Descriptor() const override { return DescriptorOf(JobId::ConvertFiles2PDF); }
  ItemOutcome ProcessItem(RunContext& context, std::size_t index) override;

 private:
  ItemPages PagesOf(RunContext& context, std::size_t index);

  SaveParameters save_;
  std::optional<ItemPagesAhead> ahead_;
};

}  // namespace zelk
