#include "jobs/ConvertFiles2WordJob.h"

#include <stdexcept>

#include "filesafety/OutputTransaction.h"
#include "jobs/ItemDirectory.h"
#include "jobs/WordDocumentPages.h"
#include "jobs/WordExportSettings.h"
#include "run/RunContext.h"
#include "scan/DirectoryListing.h"
#include "scan/PathHelpers.h"

namespace zelk {

std::string ConvertFiles2WordJob::DocumentPathOf(RunContext& context, const std::string& source) {
  return JoinPath(context.MirrorPath(GetParentPath(source)),
                  GetBaseName(GetFileNamePart(source)) + "." + OcrExtension(context.RunSettings()));
}

void ConvertFiles2WordJob::Prepare(RunContext& context) {
  options_ = WordExportOptionsOf(context.RunSettings().OCR);
  for (const WorkRow& row : context.Rows()) ++rowsToCome_[DocumentPathOf(context, row.Path)];
  recognition_.StartFiles(context);
}

ItemOutcome ConvertFiles2WordJob::ProcessItem(RunContext& context, std::size_t index) {
  const std::string& source = context.Row(index).Path;
  const std::string output = DocumentPathOf(context, source);
  const bool moreToCome = --rowsToCome_[output] > 0;
  WordDocumentPages pages(options_);
  if (const auto earlier = written_.find(output); earlier != written_.end()) {
    pages.Prepend(earlier->second);
    if (!moreToCome) written_.erase(earlier);
  }

  // The source's directory part (with its trailing separator) mirrored.
  ItemDirectory directory(context.TargetRoot(), GetParentPath(output));
  OcrDocument* document = recognition_.Ahead().Take(index);
  if (!document) throw std::logic_error("image file without a document");
  const int pageCount = document->PageCount();
  for (int number = 1; number <= pageCount; ++number) {
    context.ShowPageProgress(index, number, pageCount);
    pages.Add(recognition_.Ahead().NextPage());
  }
  OutputTransaction outputs(context.TargetRoot());
  pages.Write(output, outputs.Add(output, false));
  outputs.Commit();
  directory.Keep();
  if (moreToCome) written_.insert_or_assign(output, pages.Layouts());
  return ItemOutcome::Done;
}

void ConvertFiles2WordJob::CleanUp(RunContext& context) { recognition_.Close(context); }

}  // namespace zelk
