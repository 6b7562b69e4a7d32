#include "documents/WordExport.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "documents/WordWriters.h"

namespace zelk {

WordFileFormat WordFileFormatFor(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
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
