#include "jobs/MergeFiles2WordJob.h"

#include <stdexcept>

#include "filesafety/OutputTransaction.h"
#include "imaging/PageReader.h"
#include "imaging/TiffWriter.h"
#include "jobs/ItemDirectory.h"
#include "jobs/MergePageFiles.h"
#include "jobs/WordDocumentPages.h"
#include "jobs/WordExportSettings.h"
#include "run/RunContext.h"

namespace zelk {
namespace {

// Status line and "状态" cell while the document is recognised and written.
const std::string kRecognising = "正在识别";
constexpr const char* kRecognisingCell = "识别...";

}  // namespace

MergeFiles2WordJob::MergeFiles2WordJob(OcrEngineOptions engineOptions)
    : recognition_(WithRaisedResolutionReader(std::move(engineOptions)), kOcrEngineTexts) {}

void MergeFiles2WordJob::Prepare(RunContext& context) {
  options_ = WordExportOptionsOf(context.RunSettings().OCR);
  recognition_.Start(context, [this, &context](std::size_t index) {
    return StartDirectory(context, index);
  });
}

// Lists the directory's page files and hands them to recognition.  A
// directory without any fails when its row is taken.
std::optional<OcrDocument> MergeFiles2WordJob::StartDirectory(RunContext& context,
                                                              std::size_t index) {
  const std::string& directory = context.Row(index).Path;
  std::vector<PageFile> pages =
      AdmittedPageFiles(directory, context.SourceRoot(), context.RunSettings().Merge);
  if (pages.empty()) throw std::runtime_error("目录中没有可识别的图像文件：" + directory);
  OcrDocument document = recognition_.Engine().CreateDocument();
  AddPages(document, DirectoryPageList(pages));
  pages_.insert_or_assign(index, std::move(pages));
  return document;
}

ItemOutcome MergeFiles2WordJob::ProcessItem(RunContext& context, std::size_t index) {
  const WorkRow& row = context.Row(index);
  RecognitionAhead& ahead = recognition_.Ahead();
  OcrDocument* document = ahead.Take(index);
  const auto found = pages_.find(index);
  if (!document || found == pages_.end()) throw std::logic_error("directory without pages");
  const std::vector<PageFile> pages = std::move(found->second);
  pages_.erase(found);
  ShowPageList(context, pages);

  // The document and the stacked TIFF lie beside the mirrored directory.
  const std::string target = context.MirrorPath(row.Path);
  ItemDirectory directory(context.TargetRoot(), DocumentDirectory(target, false));
  const std::string output = target + "." + OcrExtension(context.RunSettings());
  // The stacked TIFF is never committed: the transaction removes it at the
  // end of the directory, whatever the outcome.
  OutputTransaction stacking(context.TargetRoot());
  const std::string stacked = stacking.Add(target + ".tif", false);

  const Settings& settings = context.RunSettings();
  const int pageCount = document->PageCount();
  WordDocumentPages recognised(options_);
  for (int number = 1; number <= pageCount; ++number) {
    context.ShowPageProgress(index, number, pageCount);
    RecognisedPage page = ahead.NextPage();
    ChooseTifSaveFormat(save_, settings.ImageCompress, ProgramBitsPerPixel(page.image), kSaveAsTif);
    SaveTiffPage(page.image, stacked, save_.Spec(), true);
    recognised.Add(std::move(page));
  }
  context.SetStatus(kRecognising + row.Path);
  context.SetRowStatus(index, kRecognisingCell);

  OutputTransaction outputs(context.TargetRoot());
  recognised.Write(output, outputs.Add(output, false));
  outputs.Commit();
  directory.Keep();
  return ItemOutcome::Done;
}

void MergeFiles2WordJob::CleanUp(RunContext& context) { recognition_.Close(context); }

}  // namespace zelk
