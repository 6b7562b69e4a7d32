#include "ocr/TessdataLocation.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "ocr/Join.h"
#include "platform/ProgramDirectory.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;

bool IsDirectory(const std::string& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

std::vector<std::string> MissingDataFiles(const std::string& directory,
                                          const std::vector<std::string>& codes) {
  std::vector<std::string> missing;
  for (const std::string& code : codes) {
    const std::string file = code + ".traineddata";
    std::error_code error;
    if (!fs::is_regular_file(fs::path(directory) / file, error)) missing.push_back(file);
  }
  return missing;
}

}  // namespace

std::vector<std::string> DefaultTessdataCandidates() {
  std::vector<std::string> candidates;
  candidates.push_back((fs::path(ProgramDirectory()) / "tessdata").string());
  if (const char* prefix = std::getenv("TESSDATA_PREFIX"); prefix != nullptr && *prefix != '\0') {
    candidates.emplace_back(prefix);
    candidates.push_back((fs::path(prefix) / "tessdata").string());
  }
  candidates.emplace_back("/usr/share/tesseract-ocr/5/tessdata");
  candidates.emplace_back("/usr/share/tesseract-ocr/4.00/tessdata");
  candidates.emplace_back("/usr/share/tessdata");
  return candidates;
}

std::variant<TessdataDirectory, TessdataMissing> FindTessdata(
    const std::vector<std::string>& candidates, const std::vector<std::string>& languageCodes) {
  std::string firstExisting;
  for (const std::string& candidate : candidates) {
    if (!IsDirectory(candidate)) continue;
    if (MissingDataFiles(candidate, languageCodes).empty()) return TessdataDirectory{candidate};
    if (firstExisting.empty()) firstExisting = candidate;
  }
  if (firstExisting.empty()) {
    return TessdataMissing{"no language data directory found (looked in " + Join(candidates, ", ") +
                           ")"};
  }
  return TessdataMissing{"language data " + Join(MissingDataFiles(firstExisting, languageCodes), ", ") +
                         " not found in " + firstExisting};
}

}  // namespace zelk
