#pragma once
// Word documents per file: every page of each image file is recognised and
// the text exported as one editable document (".doc", ".docx" or ".rtf"
// from [OCR] OutputType) named after the file without its last extension,
// in the mirrored directory.  [OCR] RecognizeMode chooses how much of the
// page's look the document keeps and KeepTextAndBackgroundColor whether it
// keeps the page's colours.
//
// The recognition engine is started once for the run; the files after the
// one being written are recognised ahead on the engine's workers.  A
// document is written whole or not at all.  A file that cannot be read,
// also one that vanished since the scan, fails: the run frame lists its
// directory and copies it into the Error tree, and it stays in place.

#include <map>
#include <string>
#include <vector>

#include "jobs/Job.h"
#include "jobs/RecognitionRun.h"
#include "ocr/WordExport.h"

namespace zelk {

class ConvertFiles2WordJob final : public Job {
 public:
  explicit ConvertFiles2WordJob(OcrEngineOptions engineOptions = {})
      : recognition_(std::move(engineOptions), kOcrEngineTexts) {}

  JobId Id() const override { return JobId::ConvertFiles2Word; }
  void Prepare(RunContext& context) override;
  ItemOutcome ProcessItem(RunContext& context, std::size_t index) override;
  void CleanUp(RunContext& context) override;

 private:
  RecognitionRun recognition_;
  WordExportOptions options_;
  // The pages of the documents written so far in this run, by path: a
  // source that differs from an earlier one only in its extension (b.tif,
  // b.jpg) adds its pages to that document instead of replacing it.
  std::map<std::string, std::vector<PageLayout>> written_;
};

}  // namespace zelk
