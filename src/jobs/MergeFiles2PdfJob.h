#pragma once
// Single-layer PDF per directory: the pages of each leaf directory, or of
// each group of them the grouping workbook names, become one image-only
// PDF; on request a multi-page TIFF of the same pages lies beside it.
//
// Every page gets its own save parameters (the PDF choice by its file
// name, the TIFF choice for the twin), a resolution below 100 dpi is taken
// as 300, and the PDF page's size comes from the [PDF] ImageResolution
// and PaperSize keys.  A directory's files are written whole or not at
// all: a directory that fails leaves nothing behind and is offered again.

#include "jobs/GroupedDirectoryJob.h"
#include "jobs/ItemPagesAhead.h"
#include "jobs/JobCatalog.h"
#include "jobs/SaveChoice.h"

namespace zelk {

class MergeFiles2PdfJob final : public GroupedDirectoryJob {
 public:
  const JobDescriptor& Descriptor() const override { return DescriptorOf(JobId::MergeFiles2PDF); }
  ItemOutcome ProcessItem(RunContext& context, std::size_t index) override;

 private:
  // `sources` with the preparation of their pages for the PDF (and its
  // TIFF twin).
  static ItemPages PagesOf(RunContext& context, std::vector<PageSource> sources);

  SaveParameters save_;
  std::optional<ItemPagesAhead> ahead_;
};

}  // namespace zelk
