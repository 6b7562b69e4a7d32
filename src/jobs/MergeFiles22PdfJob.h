#pragma once
// Dual-layer (searchable) PDF per directory: the pages of each leaf
// directory, or of each group of them the grouping workbook names, are
// recognised and become one PDF with the page images and an invisible
// layer of the recognised text.  On request a plain-text file ([2PDF]
// OutputTxt 1), a multi-page TIFF of the same pages (OutputTif not 0) and
// an OFD twin with the same images and text (OutputOfd 1) lie beside it,
// under the same name.
//
// The page files are those whose names contain ".tif" ([Merge] Tif 1) or
// ".jpg" ([Merge] Jpg 1), every page of each; a resolution below
// 100 dpi is taken as 300.  The TIFF is written afresh for every document,
// never appended to one an earlier run left, so a document never holds a
// page twice.  The engine is started once for the run and the directories
// after the one being written are recognised ahead.  A directory's files
// are written whole or not at all; a directory that fails is copied into
// the Error tree.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "jobs/DirectoryPages.h"
#include "jobs/DualLayerPdfExport.h"
#include "jobs/GroupedDirectoryJob.h"
#include "jobs/JobCatalog.h"
#include "jobs/RecognitionRun.h"
#include "jobs/SaveChoice.h"

namespace zelk {

// The row status of a directory without pages.
inline constexpr const char* kNoPagesToConvert = "未转换";

class MergeFiles22PdfJob final : public GroupedDirectoryJob {
 public:
  explicit MergeFiles22PdfJob(OcrEngineOptions engineOptions = {});

  const JobDescriptor& Descriptor() const override { return DescriptorOf(JobId::MergeFiles22PDF); }
  void Prepare(RunContext& context) override;
  ItemOutcome ProcessItem(RunContext& context, std::size_t index) override;
  void CleanUp(RunContext& context) override;

 private:
  // The types of the files written beside each document (text, TIFF, OFD).
  static std::vector<std::string> CompanionTypes(const Settings& settings);

  // What one directory becomes, worked out when its recognition starts.
  struct DirectoryPlan {
    std::vector<PageFile> pages;  // the page files, as the window lists them
    std::string documentDir;
    std::vector<GroupPages> documents;
    std::vector<std::string> pdfPaths, txtPaths, tifPaths, ofdPaths;  // per document
  };

  std::optional<OcrDocument> StartDirectory(RunContext& context, std::size_t index);

  RecognitionRun recognition_;
  DualLayerPdfExport export_;
  SaveParameters save_;
  std::map<std::size_t, DirectoryPlan> plans_;
};

}  // namespace zelk
