#include "jobs/PdfOutput.h"

#include "scan/PathHelpers.h"

namespace zelk {
namespace {

constexpr const char* kNotArchival = "原有PDF不符合PDF/A，追加页后的文件也不是PDF/A：";

}  // namespace

std::string PdfTitleOf(const std::string& finalPath) {
  return GetBaseName(GetFileNamePart(finalPath));
}

void NoteUnarchivedPdf(RunContext& context, std::size_t index, const std::string& finalPath) {
  context.NoteOnItem(index, kNotArchival + finalPath);
}

}  // namespace zelk
