#pragma once
// Dual-layer (searchable) PDF per file: every page of each image file is
// recognised and becomes a page of one PDF that holds the page image with
// the recognised text as an invisible layer, named after the file without
// its last extension, in the mirrored directory.
//
// The recognition engine is started once for the run; the files after the
// one being written are recognised ahead on the engine's workers.  A file's
// PDF is written whole or not at all; a file that fails is moved into the
// Error tree.  A file that vanished since the scan is marked "不存在" and
// neither counted nor listed.

#include "jobs/DualLayerPdfExport.h"
#include "jobs/JobCatalog.h"
#include "jobs/RecognitionRun.h"
#include "run/Job.h"

namespace zelk {

inline constexpr const char* kSourceMissing = "不存在";

class ConvertFiles22PdfJob final : public Job {
 public:
  explicit ConvertFiles22PdfJob(OcrEngineOptions engineOptions = {})
      : recognition_(std::move(engineOptions), kPdfEngineTexts) {}

  const JobDescriptor& Descriptor() const override { return DescriptorOf(JobId::ConvertFiles22PDF); }
  void Prepare(RunContext& context) override;
  ItemOutcome ProcessItem(RunContext& context, std::size_t index) override;
  void CleanUp(RunContext& context) override;

 private:
  RecognitionRun recognition_;
  DualLayerPdfExport export_;
};

}  // namespace zelk
