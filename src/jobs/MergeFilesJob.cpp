#include "jobs/MergeFilesJob.h"

#include "filesafety/OutputTransaction.h"
#include "imaging/PageReader.h"
#include "jobs/DirectoryPages.h"
#include "jobs/ItemDirectory.h"
#include "jobs/ItemPagesAhead.h"
#include "jobs/PageResolution.h"
#include "run/RunContext.h"

namespace zelk {
namespace {

constexpr const char* kTifExtension = "tif";

}  // namespace

ItemPages MergeFilesJob::PagesOf(RunContext& context, std::vector<PageSource> sources) {
  return {std::move(sources), [compress = context.RunSettings().ImageCompress](
                                  PreparedPage& prepared, std::size_t) {
            RaiseLowResolution(prepared.page);
            PrepareTiff(prepared, compress, kSaveAsTif);
          }};
}

ItemOutcome MergeFilesJob::ProcessItem(RunContext& context, std::size_t index) {
  const WorkRow& row = context.Row(index);
  const std::string& source = row.Path;
  const std::string target = context.MirrorPath(source);
  const Settings& settings = context.RunSettings();
  GroupingRun& grouping = Grouping(settings);
  ItemDirectory directory(context.TargetRoot(), DocumentDirectory(target, KeepDir(settings)));

  const std::vector<PageFile> files = ListPageFiles(source, context.SourceRoot());
  ShowPageList(context, files);
  const std::vector<PageSource> pages = DirectoryPageList(files);

  const GroupList groups = grouping.GroupsOf(source, target);
  // Every name is checked before the first page is written.
  const std::vector<std::string> outputs =
      GroupOutputPaths(groups, directory.Path(), kTifExtension);
  const std::vector<GroupPages> plan = PlanGroupPages(groups, static_cast<int>(pages.size()));

  // A grouped run writes each group document anew; otherwise pages are
  // added to an output that is already there.
  const bool appendToExisting = !grouping.Grouped();
  OutputTransaction transaction(context.TargetRoot());
  PageSequence& loaded = TakeItemPages(
      ahead_, context.Rows().size(), index, PagesOf(context, PagesInWritingOrder(pages, plan)),
      [this, &context](std::size_t i) { return PagesOf(context, SourcesInWritingOrder(context, i)); });
  long long done = 0;
  for (std::size_t g = 0; g < plan.size(); ++g) {
    // One handle for the whole document: a page costs the same however
    // many came before it.
    TiffDocumentWriter writer(transaction.Add(outputs[g], appendToExisting), true);
    for (int p = plan[g].First; p <= plan[g].Last; ++p) {
      context.ShowPageProgress(index, ++done, row.Pages);
      const PreparedPage prepared = loaded.Next();
      ChooseTifSaveFormat(save_, settings.ImageCompress, ProgramBitsPerPixel(prepared.page),
                          kSaveAsTif);
      AddPrepared(writer, prepared, save_);
    }
    writer.Finish();
  }
  transaction.Commit();
  directory.Keep();
  return ItemOutcome::Done;
}

}  // namespace zelk
