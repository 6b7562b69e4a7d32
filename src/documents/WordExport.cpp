#include "documents/WordExport.h"

#include <filesystem>

#include "documents/WordWriters.h"
#include "platform/AsciiCase.h"

namespace zelk {

WordFileFormat WordFileFormatFor(const std::string& path) {
  const std::string extension = AsciiLower(std::filesystem::path(path).extension().string());
  return extension == ".docx" ? WordFileFormat::Docx : WordFileFormat::Rtf;
}

void ExportWordDocument(const std::vector<PageLayout>& pages, const WordExportOptions& options,
                        WordFileFormat format, const std::string& path) {
  const WordDocument document = BuildWordDocument(pages, options);
  if (format == WordFileFormat::Docx) {
    WriteDocxDocument(document, path);
  } else {
    WriteRtfDocument(document, path);
  }
}

void ExportWordDocument(const std::vector<PageLayout>& pages, const WordExportOptions& options,
                        const std::string& path) {
  ExportWordDocument(pages, options, WordFileFormatFor(path), path);
}

}  // namespace zelk
