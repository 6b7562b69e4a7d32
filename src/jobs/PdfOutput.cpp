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
  const std::size_t dot = pdfPath.rfind('.');
  const std::size_t slash = pdfPath.find_last_of("/\\");
  std::string path =
      dot == std::string::npos || (slash != std::string::npos && dot < slash) ? pdfPath + "."
                                                                               : pdfPath.substr(0, dot + 1);
  path += kOfdExtension;
  return path;
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
