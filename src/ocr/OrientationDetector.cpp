#include "ocr/OrientationDetector.h"

#include <tesseract/baseapi.h>

#include <variant>
#include <vector>

#include "ocr/TessdataLocation.h"

namespace zelk {

OrientationDetector::OrientationDetector(const std::string& tessdataDirectory)
    : tessdataDirectory_(tessdataDirectory) {}

OrientationDetector::~OrientationDetector() {
  if (api_) api_->End();
}

bool OrientationDetector::Load() {
  if (api_) return true;
  if (unavailable_) return false;
  std::vector<std::string> candidates{tessdataDirectory_};
  for (std::string& candidate : DefaultTessdataCandidates()) candidates.push_back(std::move(candidate));
  const auto found = FindTessdata(candidates, {"osd"});
  auto api = std::make_unique<tesseract::TessBaseAPI>();
  // Orientation detection runs on Tesseract's older engine, which the osd
  // data is made for.
  if (!std::holds_alternative<TessdataDirectory>(found) ||
      api->Init(std::get<TessdataDirectory>(found).path.c_str(), "osd", tesseract::OEM_TESSERACT_ONLY) != 0) {
    unavailable_ = true;
    return false;
  }
  api->SetPageSegMode(tesseract::PSM_OSD_ONLY);
  api_ = std::move(api);
  return true;
}

std::optional<OrientationGuess> OrientationDetector::Detect(const Pix* page, int dpi) {
  if (!Load()) return std::nullopt;
  api_->SetImage(const_cast<Pix*>(page));
  api_->SetSourceResolution(dpi);
  int degrees = 0;
  float confidence = 0;
  const char* script = nullptr;
  float scriptConfidence = 0;
  const bool found = api_->DetectOrientationScript(&degrees, &confidence, &script, &scriptConfidence);
  api_->Clear();
  if (!found) return std::nullopt;
  // Tesseract names how far the page is turned clockwise; turning it on by
  // the rest of a full turn brings it upright.
  return OrientationGuess{((360 - degrees) / 90) % 4, confidence};
}

}  // namespace zelk
