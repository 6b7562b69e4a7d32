#include "jobs/MergeFiles2PdfJob.h"

#include <string>
#include <vector>

#include "imaging/OutputTransaction.h"
#include "imaging/PageReader.h"
#include "imaging/PdfWriter.h"
#include "imaging/TiffWriter.h"
#include "jobs/DirectoryPages.h"
#include "jobs/PageResolution.h"
#include "jobs/PdfPageSize.h"
#include "jobs/RunContext.h"
#include "scan/PathHelpers.h"

namespace zelk {
namespace {

constexpr const char* kPdfExtension = "pdf";
constexpr const char* kTifExtension = "tif";

void ShowPageList(RunContext& context, const std::vector<PageFile>& pages) {
  context.ClearFileList();
  for (const PageFile& page : pages) context.AddFileListEntry(page.Path, page.Name);
}

}  // namespace

GroupingRun& MergeFiles2PdfJob::Grouping(const Settings& settings) {
  if (!grouping_) grouping_.emplace("PDF", settings.PDF.Grouping);
  return *grouping_;
}

std::optional<UserMessage> MergeFiles2PdfJob::CheckBeforeStart(const Settings& settings) {
  return Grouping(settings).Check();
}

ScanRequest MergeFiles2PdfJob::DescribeScan(const Settings& settings) {
  return Grouping(settings).AdaptScan(DefaultScanRequest(Id(), settings), kPdfExtension);
}

void MergeFiles2PdfJob::Prepare(RunContext& context) {
  Settings& settings = context.RunSettings();
  Grouping(settings).Prepare(context, settings.PDF.KeepDir);
}

ItemOutcome MergeFiles2PdfJob::ProcessItem(RunContext& context, std::size_t index) {
  const Settings& settings = context.RunSettings();
  GroupingRun& grouping = Grouping(settings);
  const WorkRow& row = context.Row(index);
  const std::string target = context.MirrorPath(row.Path);
  const std::string documents = DocumentDirectory(target, settings.PDF.KeepDir != 0);
  MakeDirPath(documents);

  const std::vector<PageFile> pages = ListPageFiles(row.Path);
  ShowPageList(context, pages);
  const GroupList groups = grouping.GroupsOf(row.Path, target);
  const std::vector<GroupPages> plan = PlanGroupPages(groups, static_cast<int>(pages.size()));
  if (plan.empty()) return ItemOutcome::Done;  // no pages, or no group for this directory
  const bool twin = settings.PDF.OutputTif == 1;
  const std::vector<std::string> pdfPaths = GroupOutputPaths(groups, documents, kPdfExtension);
  const std::vector<std::string> tifPaths =
      twin ? GroupOutputPaths(groups, documents, kTifExtension) : std::vector<std::string>{};

  // A grouped run writes each group's files anew, replacing what an
  // earlier run left under that name (a re-run of a directory must not
  // add its pages a second time); an ungrouped one adds its pages after
  // those of a document already there.  A name that two groups share
  // collects both groups' pages.
  const bool appendToExisting = !grouping.Grouped();
  OutputTransaction outputs;
  long long pagesDone = 0;
  for (std::size_t g = 0; g < plan.size(); ++g) {
    const std::string pdf = outputs.Add(pdfPaths[g], appendToExisting);
    const std::string tif = twin ? outputs.Add(tifPaths[g], appendToExisting) : std::string();
    PdfDocumentWriter writer(pdf, pdf);
    for (int p = plan[g].First; p <= plan[g].Last; ++p) {
      context.ShowPageProgress(index, ++pagesDone, row.Pages);
      const PageFile& file = pages[static_cast<std::size_t>(p - 1)];
      Page page = LoadPage(file.Path, 0);
      RaiseLowResolution(page);
      const int bits = ProgramBitsPerPixel(page);
      ChoosePdfSaveFormat(save_, settings.ImageCompress, bits, file.Name);
      writer.AddPage(page, save_.m_nSaveFormat, save_.m_nSaveBitsPerPixel, save_.m_nSaveQFactor,
                     PdfPageOptionsFor(settings.PDF.ImageResolution, settings.PDF.PaperSize == 1,
                                       page));
      if (twin) {
        ChooseTifSaveFormat(save_, settings.ImageCompress, bits, kSaveAsTif);
        SaveTiffPage(page, tif, save_.m_nSaveFormat, save_.m_nSaveBitsPerPixel,
                     save_.m_nSaveQFactor, true);
      }
    }
    writer.Finish();
  }
  outputs.Commit();
  return ItemOutcome::Done;
}

}  // namespace zelk
