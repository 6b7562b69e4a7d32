#include "jobs/ConvertFiles2WordJob.h"

#include <stdexcept>

#include "imaging/OutputTransaction.h"
#include "jobs/ItemDirectory.h"
#include "jobs/RunContext.h"
#include "jobs/WordDocumentPages.h"
#include "jobs/WordExportSettings.h"
#include "scan/DirectoryListing.h"
#include "scan/PathHelpers.h"

namespace zelk {

void ConvertFiles2WordJob::Prepare(RunContext& context) {
  options_ = WordExportOptionsOf(context.RunSettings().OCR);
  recognition_.StartFiles(context);
}

ItemOutcome ConvertFiles2WordJob::ProcessItem(RunContext& context, std::size_t index) {
  const std::string& source = context.Row(index).Path;
  // The source's directory part (with its trailing separator) mirrored;
  // an empty extension leaves the name ending in its dot.
  ItemDirectory directory(context.MirrorPath(GetParentPath(source)));
  const std::string output = JoinPath(directory.Path(), GetBaseName(GetFileNamePart(source)) +
                                                            "." + OcrExtension(context.RunSettings()));
  OcrDocument* document = recognition_.Ahead().Take(index);
  if (!document) throw std::logic_error("image file without a document");
  const int pageCount = document->PageCount();

  WordDocumentPages pages(options_);
  if (const auto earlier = written_.find(output); earlier != written_.end()) {
    pages.Prepend(earlier->second);
  }
  for (int number = 1; number <= pageCount; ++number) {
    context.ShowPageProgress(index, number, pageCount);
    pages.Add(recognition_.Ahead().NextPage());
  }
  OutputTransaction outputs;
  pages.Write(output, outputs.Add(output, false));
  outputs.Commit();
  directory.Keep();
  written_.insert_or_assign(output, pages.Layouts());
  return ItemOutcome::Done;
}

void ConvertFiles2WordJob::CleanUp(RunContext& context) { recognition_.Close(context); }

}  // namespace zelk
