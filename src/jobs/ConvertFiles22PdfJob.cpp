#include "jobs/ConvertFiles22PdfJob.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "jobs/ItemDirectory.h"
#include "jobs/PdfOutput.h"
#include "filesafety/OutputTransaction.h"
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
  const bool ofdTwin = context.RunSettings().TwoPDF.OutputOfd == 1;
  const std::string ofdOutput = OfdTwinOf(output);
  const bool append =
      AppendsToDocument(true, output, ofdTwin ? std::vector{ofdOutput} : std::vector<std::string>{});
  OutputTransaction outputs(context.TargetRoot());
  const std::string pdf = outputs.Add(output, append);
  PdfDocumentWriter writer(pdf, pdf, PdfTitleOf(output));
  std::optional<OfdDocumentWriter> ofdWriter;
  if (ofdTwin) {
    const std::string ofd = outputs.Add(ofdOutput, append, OutputKind::Companion);
    ofdWriter.emplace(ofd, ofd, PdfTitleOf(output));
  }
  for (int number = 1; number <= pageCount; ++number) {
    context.ShowPageProgress(index, number, pageCount);
    RecognisedPage page = recognition_.Ahead().NextPage();
    AddRecognisedPage(writer, page, export_, ofdWriter ? &*ofdWriter : nullptr);
  }
  writer.Finish();
  if (ofdWriter) ofdWriter->Finish();
  outputs.Commit();
  if (!writer.Archival()) NoteUnarchivedPdf(context, index, output);
  directory.Keep();
  return ItemOutcome::Done;
}

void ConvertFiles22PdfJob::CleanUp(RunContext& context) { recognition_.Close(context); }

}  // namespace zelk
