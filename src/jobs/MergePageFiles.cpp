#include "jobs/MergePageFiles.h"

#include "imaging/PageReader.h"
#include "jobs/PageResolution.h"

namespace zelk {

std::vector<PageFile> AdmittedPageFiles(const std::string& directory, const std::string& sourceRoot,
                                        const Settings::MergeSection& merge) {
  return ListPageFiles(directory, sourceRoot, {merge.Tif == 1, merge.Jpg == 1});
}

void AddPages(OcrDocument& document, const std::vector<PageSource>& pages) {
  for (const PageSource& page : pages) document.AddImagePage(page.Path, page.PageNumber - 1);
}

OcrEngineOptions WithRaisedResolutionReader(OcrEngineOptions options) {
  options.pageReader.loadPage = [](const std::string& path, int pageIndex) {
    Page page = LoadPage(path, pageIndex + 1);
    RaiseLowResolution(page);
    return page;
  };
  return options;
}

}  // namespace zelk
