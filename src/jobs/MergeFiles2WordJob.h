#pragma once
// Word documents per directory: the pages of each leaf directory are
// recognised and exported as one editable document named after the
// directory, beside its mirrored directory (".doc", ".docx" or ".rtf" from
// [OCR] OutputType; RecognizeMode and KeepTextAndBackgroundColor as for
// the per-file job).
//
// The page files are those whose names contain ".tif" ([Merge] Tif 1) or
// ".jpg" ([Merge] Jpg 1), every page of each; a resolution below
// 100 dpi is taken as 300 before the page is recognised.  The pages are
// stacked into a multi-page TIFF beside the mirrored directory as they
// arrive; it is written afresh for every directory under a temporary name,
// so a TIFF an earlier run left under the same name neither receives the
// pages a second time nor is touched, and it is removed whether the
// directory succeeds or fails.  The engine is started once for the run and
// the directories after the one being written are recognised ahead.  A
// document is written whole or not at all; a directory without page files,
// or with one that cannot be read, fails and is copied into the Error tree
// by the run frame.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "documents/WordExport.h"
#include "jobs/DirectoryPages.h"
#include "jobs/JobCatalog.h"
#include "jobs/RecognitionRun.h"
#include "jobs/SaveChoice.h"
#include "run/Job.h"

namespace zelk {

class MergeFiles2WordJob final : public Job {
 public:
  explicit MergeFiles2WordJob(OcrEngineOptions engineOptions = {});

  const JobDescriptor& Descriptor() const override { return DescriptorOf(JobId::MergeFiles2Word); }
  void Prepare(RunContext& context) override;
  ItemOutcome ProcessItem(RunContext& context, std::size_t index) override;
  void CleanUp(RunContext& context) override;

 private:
  std::optional<OcrDocument> StartDirectory(RunContext& context, std::size_t index);

  RecognitionRun recognition_;
  WordExportOptions options_;
  SaveParameters save_;
  // The page files of the directories started, by row.
  std::map<std::size_t, std::vector<PageFile>> pages_;
};

}  // namespace zelk
