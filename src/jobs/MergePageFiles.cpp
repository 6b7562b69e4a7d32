#include "jobs/MergePageFiles.h"

#include "imaging/PageReader.h"
#include "jobs/PageResolution.h"
#include "scan/SourceNames.h"

namespace zelk {

std::vector<PageFile> AdmittedPageFiles(const std::string& directory, const std::string& sourceRoot,
                                        const Settings::MergeSection& merge) {
  std::vector<PageFile> admitted;
  for (PageFile& page : ListPageFiles(directory, sourceRoot)) {
    const std::string lower = LowerAscii(page.Name);
    if ((merge.Tif == 1 && lower.find(".tif") != std::string::npos) ||
        (merge.Jpg == 1 && lower.find(".jpg") != std::string::npos)) {
      admitted.push_back(std::move(page));
    }
  }
  return admitted;
}

OcrEngineOptions WithFirstPageReader(OcrEngineOptions options) {
  options.pageReader.pageCount = [](const std::string&) { return 1; };
  options.pageReader.loadPage = [](const std::string& path, int) {
    Page page = LoadPage(path, 1);
    RaiseLowResolution(page);
    return page;
  };
  return options;
}

}  // namespace zelk
