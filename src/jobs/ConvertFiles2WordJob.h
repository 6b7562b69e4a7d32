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

#include "documents/WordExport.h"
#include "jobs/JobCatalog.h"
#include "jobs/RecognitionRun.h"
#include "run/Job.h"

namespace zelk {

class ConvertFiles2WordJob final : public Job {
 public:
  explicit ConvertFiles2WordJob(OcrEngineOptions engineOptions = {})
      : recognition_(std::move(engineOptions), kOcrEngineTexts) {}

  const JobDescriptor& Descriptor() const override { return DescriptorOf(JobId::ConvertFiles2Word); }
  void Prepare(RunContext& context) override;
  ItemOutcome ProcessItem(RunContext& context, std::size_t index) override;
  void CleanUp(RunContext& context) override;

 private:
  // The document of a row's source: the mirrored directory, the name
  // without its last extension, "." and the extension ("" keeps the dot).
  static std::string DocumentPathOf(RunContext& context, const std::string& source);

  RecognitionRun recognition_;
  WordExportOptions options_;
  // Sources that differ only in their extension (b.tif, b.jpg) share one
  // document: the later ones add their pages to it instead of replacing
  // it.  For each document path, the rows still to come that write it, and
  // the pages written so far while more are to come.
  std::map<std::string, int> rowsToCome_;
  std::map<std::string, std::vector<PageLayout>> written_;
};

}  // namespace zelk
