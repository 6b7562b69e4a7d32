#include "jobs/MergeFiles2PdfJob.h"

#include <optional>
#include <string>
#include <vector>

#include "filesafety/OutputTransaction.h"
#include "imaging/PageReader.h"
#include "imaging/PdfWriter.h"
#include "jobs/DirectoryPages.h"
#include "jobs/ItemDirectory.h"
#include "jobs/ItemPagesAhead.h"
#include "jobs/PageResolution.h"
#include "jobs/PdfOutput.h"
#include "jobs/PdfPageSize.h"
#include "run/RunContext.h"
#include "scan/PathHelpers.h"
#include "scan/ScanSupport.h"

namespace zelk {
namespace {

constexpr const char* kPdfExtension = "pdf";
constexpr const char* kTifExtension = "tif";

}  // namespace

ItemPages MergeFiles2PdfJob::PagesOf(RunContext& context, std::vector<PageSource> sources) {
  const Settings& settings = context.RunSettings();
  ItemPages pages{std::move(sources), nullptr};
  pages.Prepare = [compress = settings.ImageCompress, twin = settings.PDF.OutputTif == 1,
                   sources = pages.Sources](PreparedPage& prepared, std::size_t i) {
    RaiseLowResolution(prepared.page);
    PreparePdf(prepared, compress, GetFileNamePart(sources[i].Path));
    if (twin) PrepareTiff(prepared, compress, kSaveAsTif);
  };
  return pages;
}

ItemOutcome MergeFiles2PdfJob::ProcessItem(RunContext& context, std::size_t index) {
  const Settings& settings = context.RunSettings();
  GroupingRun& grouping = Grouping(settings);
  const WorkRow& row = context.Row(index);
  const std::string target = context.MirrorPath(row.Path);
  ItemDirectory directory(context.TargetRoot(), DocumentDirectory(target, KeepDir(settings)));

  const std::vector<PageFile> files = ListPageFiles(row.Path, context.SourceRoot());
  ShowPageList(context, files);
  const std::vector<PageSource> pages = DirectoryPageList(files);
  const GroupList groups = grouping.GroupsOf(row.Path, target);
  // Every name is checked before the first page is written.
  const bool twin = settings.PDF.OutputTif == 1;
  const std::vector<std::string> pdfPaths =
      GroupOutputPaths(groups, directory.Path(), kPdfExtension);
  const std::vector<std::string> tifPaths =
      twin ? GroupOutputPaths(groups, directory.Path(), kTifExtension) : std::vector<std::string>{};
  const bool ofdTwin = settings.PDF.OutputOfd == 1;
  const std::vector<std::string> ofdPaths =
      GroupOutputPaths(groups, directory.Path(), kOfdExtension);
  const std::vector<GroupPages> plan = PlanGroupPages(groups, static_cast<int>(pages.size()));

  // A grouped run writes each group's files anew, replacing what an
  // earlier run left under that name (a re-run of a directory must not
  // add its pages a second time); an ungrouped one adds its pages after
  // those of a document already there.  A name that two groups share
  // collects both groups' pages.
  //
  // With a TIFF or OFD twin the documents are added to only when all are
  // there (AppendsToDocument).  The PDF, the file the scan looks for,
  // reaches its name last.
  const bool appendToExisting = !grouping.Grouped();
  OutputTransaction outputs(context.TargetRoot());
  PageSequence& loaded = TakeItemPages(
      ahead_, context.Rows().size(), index, PagesOf(context, PagesInWritingOrder(pages, plan)),
      [this, &context](std::size_t i) { return PagesOf(context, SourcesInWritingOrder(context, i)); });
  long long pagesDone = 0;
  std::vector<std::string> unarchived;
  for (std::size_t g = 0; g < plan.size(); ++g) {
    std::vector<std::string> twins;
    if (twin) twins.push_back(tifPaths[g]);
    if (ofdTwin) twins.push_back(ofdPaths[g]);
    const bool append = AppendsToDocument(appendToExisting, pdfPaths[g], twins);
    const std::string pdf = outputs.Add(pdfPaths[g], append);
    const std::string tif =
        twin ? outputs.Add(tifPaths[g], append, OutputKind::Companion) : std::string();
    // One writer for the whole document: a page costs its own encoding only.
    PdfDocumentWriter writer(pdf, pdf, PdfTitleOf(pdfPaths[g]));
    std::optional<TiffDocumentWriter> twinWriter;
    if (twin) twinWriter.emplace(tif, true);
    OfdTwin ofd(ofdTwin, outputs, ofdPaths[g], append, true, PdfTitleOf(pdfPaths[g]));
    for (int p = plan[g].First; p <= plan[g].Last; ++p) {
      context.ShowPageProgress(index, ++pagesDone, row.Pages);
      const PreparedPage prepared = loaded.Next();
      const Page& page = prepared.page;
      const int bits = ProgramBitsPerPixel(page);
      ChoosePdfSaveFormat(save_, settings.ImageCompress, bits,
                          GetFileNamePart(pages[static_cast<std::size_t>(p - 1)].Path));
      AddPrepared(writer, prepared, save_,
                  PdfPageOptionsFor(settings.PDF.ImageResolution, settings.PDF.PaperSize == 1,
                                    page),
                  ofd.Writer());
      if (twin) {
        ChooseTifSaveFormat(save_, settings.ImageCompress, bits, kSaveAsTif);
        AddPrepared(*twinWriter, prepared, save_);
      }
    }
    writer.Finish();
    if (!writer.Archival()) unarchived.push_back(pdfPaths[g]);
    if (twinWriter) twinWriter->Finish();
    ofd.Finish();
  }
  outputs.Commit();
  for (const std::string& pdf : unarchived) NoteUnarchivedPdf(context, index, pdf);
  directory.Keep();
  return ItemOutcome::Done;
}

}  // namespace zelk
