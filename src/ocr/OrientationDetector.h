#pragma once
// Tesseract's orientation detection (osd.traineddata, Debian's package
// tesseract-ocr-osd): which way up a page lies.  It is asked only about
// pages whose recognition looks wrong, so its data is loaded on first use.
// Without the data it answers nothing and recognition tries every turn.

#include <memory>
#include <optional>
#include <string>

#include "imaging/Page.h"

namespace tesseract {
class TessBaseAPI;
}

namespace zelk {

struct OrientationGuess {
  int quarterTurns = 0;   // clockwise quarter turns that bring the page upright
  float confidence = 0;   // Tesseract's: above 10 on a clear page of Latin text
};

class OrientationDetector {
 public:
  // Looks for osd.traineddata in `tessdataDirectory`, then where Tesseract's
  // data usually lies.
  explicit OrientationDetector(const std::string& tessdataDirectory);
  ~OrientationDetector();
  OrientationDetector(const OrientationDetector&) = delete;
  OrientationDetector& operator=(const OrientationDetector&) = delete;

  // The page's orientation, or nothing when detection is unavailable or
  // finds too little text.
  std::optional<OrientationGuess> Detect(const Pix* page, int dpi);

 private:
  bool Load();

  std::string tessdataDirectory_;
  std::unique_ptr<tesseract::TessBaseAPI> api_;
  bool unavailable_ = false;
};

}  // namespace zelk
