#include "jobs/ConvertFiles2PdfJob.h"

#include <string>
#include <vector>

#include "imaging/PageReader.h"
#include "imaging/PdfWriter.h"
#include "jobs/ItemDirectory.h"
#include "jobs/PageSequence.h"
#include "jobs/PdfPageSize.h"
#include "jobs/SourceFile.h"
#include "platform/OutputTransaction.h"
#include "run/RunContext.h"
#include "scan/DirectoryListing.h"
#include "scan/PathHelpers.h"

namespace zelk {
namespace {

constexpr const char* kPdfSuffix = ".pdf";

}  // namespace

ItemOutcome ConvertFiles2PdfJob::ProcessItem(RunContext& context, std::size_t index) {
  const Settings& settings = context.RunSettings();
  const std::string& source = PageSourceFile(context, index);
  // The source's directory part (with its trailing separator) mirrored.
  ItemDirectory directory(context.MirrorPath(GetParentPath(source)));
  const std::string output =
      JoinPath(directory.Path(), GetBaseName(GetFileNamePart(source)) + kPdfSuffix);

  const int pageCount = GetPageCount(source);
  std::vector<PageSource> sources;
  for (int number = 1; number <= pageCount; ++number) sources.push_back({source, number});
  if (sources.empty()) {  // nothing to convert
    directory.Keep();
    return ItemOutcome::Done;
  }
  // A PDF of this name already there (from a source that differs only in
  // its extension) keeps its pages; this file's follow them.
  OutputTransaction outputs;
  const std::string pdf = outputs.Add(output, true);
  PdfDocumentWriter writer(pdf, pdf);
  PageSequence loaded(std::move(sources), [&](PreparedPage& prepared, std::size_t) {
    PreparePdf(prepared, settings.ImageCompress, source);
  });
  for (int number = 1; number <= pageCount; ++number) {
    context.ShowPageProgress(index, number, pageCount);
    const PreparedPage prepared = loaded.Next();
    ChoosePdfSaveFormat(save_, settings.ImageCompress, ProgramBitsPerPixel(prepared.page), source);
    AddPrepared(writer, prepared, save_,
                PdfPageOptionsFor(settings.PDF.ImageResolution, true, prepared.page));
  }
  writer.Finish();
  outputs.Commit();
  directory.Keep();
  return ItemOutcome::Done;
}

}  // namespace zelk
