#include "RecognisedPages.h"

#include <stdexcept>
#include <string>

#include "ocr/OcrEngine.h"

namespace zelk::ocrtest {

std::vector<PageLayout> RecognisePages(const std::vector<PixPtr>& images, const test::TempDir& directory) {
  OcrEngineOptions engineOptions;
  engineOptions.workers = 1;
  OcrEngine engine = OcrEngine::Load(engineOptions);
  OcrDocument document = engine.CreateDocument();
  for (std::size_t i = 0; i < images.size(); ++i) {
    const std::string path = directory.File("page" + std::to_string(i) + ".png");
    if (pixWrite(path.c_str(), images[i].get(), IFF_PNG) != 0) throw std::runtime_error("cannot write " + path);
    document.AddImageFile(path);
  }
  std::vector<PageLayout> layouts;
  for (std::size_t i = 0; i < images.size(); ++i) layouts.push_back(document.NextPage().layout);
  return layouts;
}

}  // namespace zelk::ocrtest
