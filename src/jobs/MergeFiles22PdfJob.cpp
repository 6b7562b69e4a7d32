#include "jobs/MergeFiles22PdfJob.h"

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "filesafety/OutputTransaction.h"
#include "imaging/PageReader.h"
#include "imaging/TiffWriter.h"
#include "jobs/ItemDirectory.h"
#include "jobs/MergePageFiles.h"
#include "jobs/PdfOutput.h"
#include "ocr/LayoutText.h"
#include "run/RunContext.h"

namespace zelk {
namespace {

// Status line and "状态" cell while a document is recognised and written.
const std::string kConverting = "正在转换";
constexpr const char* kConvertingCell = "转换...";

constexpr const char* kTxtType = "txt";
constexpr const char* kTifType = "tif";

}  // namespace

MergeFiles22PdfJob::MergeFiles22PdfJob(OcrEngineOptions engineOptions)
    : recognition_(WithRaisedResolutionReader(std::move(engineOptions)), kPdfEngineTexts) {}

std::vector<std::string> MergeFiles22PdfJob::CompanionTypes(const Settings& settings) {
  std::vector<std::string> types;
  if (settings.TwoPDF.OutputTxt == 1) types.push_back(kTxtType);
  if (settings.TwoPDF.OutputTif != 0) types.push_back(kTifType);
  if (settings.TwoPDF.OutputOfd == 1) types.push_back(kOfdExtension);
  return types;
}

void MergeFiles22PdfJob::Prepare(RunContext& context) {
  export_ = DualLayerPdfExportOf(context.RunSettings().TwoPDF);
  recognition_.Start(context, [this, &context](std::size_t index) {
    return StartDirectory(context, index);
  });
  try {
    GroupedDirectoryJob::Prepare(context);
  } catch (const std::exception& error) {
    recognition_.ThrowStartFailure(error);
  }
}

// Works out the directory's documents and hands their pages, in writing
// order, to recognition.  Everything that can refuse the directory (a page
// value, an output name) is checked here, before a page is written.
std::optional<OcrDocument> MergeFiles22PdfJob::StartDirectory(RunContext& context,
                                                              std::size_t index) {
  const Settings& settings = context.RunSettings();
  const WorkRow& row = context.Row(index);
  if (row.Pages == 0) return std::nullopt;
  DirectoryPlan plan;
  plan.pages = AdmittedPageFiles(row.Path, context.SourceRoot(), settings.Merge);
  const std::string target = context.MirrorPath(row.Path);
  plan.documentDir = DocumentDirectory(target, KeepDir(settings));
  const GroupList groups = Grouping(settings).GroupsOf(row.Path, target);
  plan.pdfPaths = GroupOutputPaths(groups, plan.documentDir, "pdf");
  for (const std::string& type : CompanionTypes(settings)) {
    (type == kTxtType ? plan.txtPaths : type == kTifType ? plan.tifPaths : plan.ofdPaths) =
        GroupOutputPaths(groups, plan.documentDir, type);
  }
  const std::vector<PageSource> pages = DirectoryPageList(plan.pages);
  plan.documents = PlanGroupPages(groups, static_cast<int>(pages.size()));

  std::optional<OcrDocument> document;
  if (!plan.documents.empty()) {
    document.emplace(recognition_.Engine().CreateDocument());
    AddPages(*document, PagesInWritingOrder(pages, plan.documents));
  }
  plans_.insert_or_assign(index, std::move(plan));
  return document;
}

ItemOutcome MergeFiles22PdfJob::ProcessItem(RunContext& context, std::size_t index) {
  const WorkRow& row = context.Row(index);
  if (row.Pages == 0) {
    context.SetRowStatus(index, kNoPagesToConvert);
    return ItemOutcome::Skipped;
  }
  RecognitionAhead& ahead = recognition_.Ahead();
  ahead.Take(index);
  const auto found = plans_.find(index);
  if (found == plans_.end()) throw std::logic_error("directory without a plan");
  const DirectoryPlan plan = std::move(found->second);
  plans_.erase(found);
  ShowPageList(context, plan.pages);
  ItemDirectory directory(context.TargetRoot(), plan.documentDir);

  const Settings& settings = context.RunSettings();
  // Every output is written anew: the scan offers a directory only when
  // its outputs are missing, and an older file of the same name (a TIFF
  // kept by an earlier run) must not receive the pages a second time.
  // Documents that share a name within the directory collect all their
  // pages in one set of files.  The PDF, the file the scan looks for,
  // reaches its name after the TIFF, OFD and text companions.
  OutputTransaction outputs(context.TargetRoot());
  std::set<std::string> started;
  std::map<std::string, std::vector<PageLayout>> texts;
  long long pagesDone = 0;
  for (std::size_t d = 0; d < plan.documents.size(); ++d) {
    const std::string pdf = outputs.Add(plan.pdfPaths[d], false);
    const std::string tif = plan.tifPaths.empty()
                                ? std::string()
                                : outputs.Add(plan.tifPaths[d], false, OutputKind::Companion);
    const bool continued = !started.insert(pdf).second;
    PdfDocumentWriter writer(pdf, continued ? pdf : std::string(),
                             PdfTitleOf(plan.pdfPaths[d]));
    OfdTwin ofd(!plan.ofdPaths.empty(), outputs,
                plan.ofdPaths.empty() ? std::string() : plan.ofdPaths[d], false, continued,
                PdfTitleOf(plan.pdfPaths[d]));
    std::vector<PageLayout>* layouts =
        plan.txtPaths.empty() ? nullptr : &texts[plan.txtPaths[d]];
    for (int p = plan.documents[d].First; p <= plan.documents[d].Last; ++p) {
      context.ShowPageProgress(index, ++pagesDone, row.Pages);
      RecognisedPage page = ahead.NextPage();
      if (!tif.empty()) {
        ChooseTifSaveFormat(save_, settings.ImageCompress, ProgramBitsPerPixel(page.image),
                            kSaveAsTif);
        SaveTiffPage(page.image, tif, save_.Spec(), true);
      }
      if (layouts) layouts->push_back(page.layout);
      AddRecognisedPage(writer, page, export_, ofd.Writer());
    }
    context.SetStatus(kConverting + row.Path);
    context.SetRowStatus(index, kConvertingCell);
    writer.Finish();
    ofd.Finish();
    if (layouts) {
      WritePlainTextFile(*layouts, outputs.Add(plan.txtPaths[d], false, OutputKind::Companion));
    }
  }
  outputs.Commit();
  directory.Keep();
  return ItemOutcome::Done;
}

void MergeFiles22PdfJob::CleanUp(RunContext& context) { recognition_.Close(context); }

}  // namespace zelk
