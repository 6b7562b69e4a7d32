#include "jobs/ConvertFiles2PdfJob.h"

#include <string>
#include <vector>

#include "filesafety/OutputTransaction.h"
#include "imaging/PageReader.h"
#include "imaging/PdfWriter.h"
#include "jobs/ItemDirectory.h"
#include "jobs/ItemPagesAhead.h"
#include "jobs/PdfOutput.h"
#include "jobs/PdfPageSize.h"
#include "jobs/SourceFile.h"
#include "run/RunContext.h"
#include "scan/DirectoryListing.h"
#include "scan/PathHelpers.h"

namespace zelk {
namespace {

constexpr const char* kPdfSuffix = ".pdf";

}  // namespace

ItemPages ConvertFiles2PdfJob::PagesOf(RunContext& context, std::size_t index) {
  const std::string source = PageSourceFile(context, index);
  ItemPages pages;
  const int pageCount = GetPageCount(source);
  for (int number = 1; number <= pageCount; ++number) pages.Sources.push_back({source, number});
  pages.Prepare = [compress = context.RunSettings().ImageCompress, source](PreparedPage& prepared,
                                                                           std::size_t) {
    PreparePdf(prepared, compress, source);
  };
  return pages;
}

ItemOutcome ConvertFiles2PdfJob::ProcessItem(RunContext& context, std::size_t index) {
  const Settings& settings = context.RunSettings();
  const std::string& source = PageSourceFile(context, index);
  // The source's directory part (with its trailing separator) mirrored.
  ItemDirectory directory(context.TargetRoot(), context.MirrorPath(GetParentPath(source)));
  const std::string output =
      JoinPath(directory.Path(), GetBaseName(GetFileNamePart(source)) + kPdfSuffix);

  ItemPages pages = PagesOf(context, index);
  const int pageCount = static_cast<int>(pages.Sources.size());
  if (pageCount == 0) {  // nothing to convert
    directory.Keep();
    return ItemOutcome::Done;
  }
  // A PDF of this name already there (from a source that differs only in
  // its extension) keeps its pages; this file's follow them.  With an OFD
  // twin the pair is added to only when both are there.
  std::vector<std::string> twins;
  if (settings.PDF.OutputOfd == 1) twins.push_back(OfdTwinOf(output));
  const bool append = AppendsToDocument(true, output, twins);
  OutputTransaction outputs(context.TargetRoot());
  const std::string pdf = outputs.Add(output, append);
  PdfDocumentWriter writer(pdf, pdf, PdfTitleOf(output));
  OfdTwin ofd(!twins.empty(), outputs, OfdTwinOf(output), append, true, PdfTitleOf(output));
  PageSequence& loaded = TakeItemPages(ahead_, context.Rows().size(), index, std::move(pages),
                                       [this, &context](std::size_t i) { return PagesOf(context, i); });
  for (int number = 1; number <= pageCount; ++number) {
    context.ShowPageProgress(index, number, pageCount);
    const PreparedPage prepared = loaded.Next();
    ChoosePdfSaveFormat(save_, settings.ImageCompress, ProgramBitsPerPixel(prepared.page), source);
    AddPrepared(writer, prepared, save_,
                PdfPageOptionsFor(settings.PDF.ImageResolution, true, prepared.page), ofd.Writer());
  }
  writer.Finish();
  ofd.Finish();
  outputs.Commit();
  if (!writer.Archival()) NoteUnarchivedPdf(context, index, output);
  directory.Keep();
  return ItemOutcome::Done;
}

}  // namespace zelk
