#include "jobs/PdfOutput.h"

#include "scan/PathHelpers.h"
#include "scan/ScanSupport.h"

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

std::string OfdTwinOf(const std::string& pdfPath) {
  std::string path = GetParentPath(pdfPath) + GetBaseName(GetFileNamePart(pdfPath));
  path += '.';
  path += kOfdExtension;
  return path;
}

OfdTwin::OfdTwin(bool wanted, OutputTransaction& outputs, const std::string& finalPath,
                 bool append, bool continues, const std::string& title) {
  if (!wanted) return;
  const std::string temporary = outputs.Add(finalPath, append, OutputKind::Companion);
  writer_.emplace(temporary, continues ? temporary : std::string(), title);
}

void OfdTwin::Finish() {
  if (writer_) writer_->Finish();
}

bool AppendsToDocument(bool appendToExisting, const std::string& pdf,
                       const std::vector<std::string>& twins) {
  if (!appendToExisting || twins.empty()) return appendToExisting;
  if (!FileExists(pdf)) return false;
  for (const std::string& twin : twins) {
    if (!FileExists(twin)) return false;
  }
  return true;
}

}  // namespace zelk
