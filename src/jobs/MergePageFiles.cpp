#include "jobs/MergePageFiles.h"

#include "imaging/PageReader.h"
#include "jobs/PageResolution.h"

namespace zelk {

std::vector<PageFile> AdmittedPageFiles(const std::string& directory, const std::string& sourceRoot,
                                        const Settings::MergeSection& merge) {
  return ListPageFiles(directory, sourceRoot, {merge.Tif == 1, merge.Jpg == 1});
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
