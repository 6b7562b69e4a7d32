#include "jobs/ConvertFiles22PdfJob.h"

#include <filesystem>
#include <string>
#include <vector>

#include "filesafety/OutputTransaction.h"
#include "jobs/ItemDirectory.h"
#include "jobs/PdfOutput.h"
#include "run/RunContext.h"
#include "scan/DirectoryListing.h"
#include "scan/PathHelpers.h"

namespace zelk {

void ConvertFiles22PdfJob::Prepare(RunContext& context) {
  export_ = DualLayerPdfExportOf(context.RunSettings().TwoPDF);
  recognition_.StartFiles(context);
}

ItemOutcome ConvertFiles22PdfJob::ProcessItem(RunContext& context, std::size_t index) {
  const std::string& source = context.Row(index).Path;
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(source, ignored)) {
    context.SetRowStatus(index, kSourceMissing);
    return ItemOutcome::Skipped;
  }
  // The source's directory part (with its trailing separator) mirrored.
  ItemDirectory directory(context.TargetRoot(), context.MirrorPath(GetParentPath(source)));
  const std::string output =
      JoinPath(directory.Path(), GetBaseName(GetFileNamePart(source)) + ".pdf");
  OcrDocument* document = recognition_.Ahead().Take(index);
  const int pageCount = document ? document->PageCount() : 0;

  // A PDF of this name written earlier in the run (from a source that
  // differs only in its extension, b.tif and b.jpg) keeps its pages; this
  // file's follow them.  With an OFD twin the pair is added to only when
  // both are there.
  std::vector<std::string> twins;
  if (context.RunSettings().TwoPDF.OutputOfd == 1) twins.push_back(OfdTwinOf(output));
  const bool append = AppendsToDocument(true, output, twins);
  OutputTransaction outputs(context.TargetRoot());
  const std::string pdf = outputs.Add(output, append);
  PdfDocumentWriter writer(pdf, pdf, PdfTitleOf(output));
  OfdTwin ofd(!twins.empty(), outputs, OfdTwinOf(output), append, true, PdfTitleOf(output));
  for (int number = 1; number <= pageCount; ++number) {
    context.ShowPageProgress(index, number, pageCount);
    RecognisedPage page = recognition_.Ahead().NextPage();
    AddRecognisedPage(writer, page, export_, ofd.Writer());
  }
  writer.Finish();
  ofd.Finish();
  outputs.Commit();
  if (!writer.Archival()) NoteUnarchivedPdf(context, index, output);
  directory.Keep();
  return ItemOutcome::Done;
}

void ConvertFiles22PdfJob::CleanUp(RunContext& context) { recognition_.Close(context); }

}  // namespace zelk
