#pragma once
// PageRecognizer on one tesseract::TessBaseAPI.

#include <memory>
#include <string>

#include "ocr/PageRecognizer.h"

namespace tesseract {
class TessBaseAPI;
}

namespace zelk {

struct TesseractSetup {
  std::string tessdataDirectory;  // holds <code>.traineddata for every language
  std::string languages;          // Tesseract codes joined with "+", e.g. "chi_sim+eng"
};

class TesseractRecognizer : public PageRecognizer {
 public:
  // Loads the language data; raises EngineLoadError when Tesseract refuses it.
  explicit TesseractRecognizer(const TesseractSetup& setup);
  ~TesseractRecognizer() override;
  TesseractRecognizer(const TesseractRecognizer&) = delete;
  TesseractRecognizer& operator=(const TesseractRecognizer&) = delete;

  PageLayout Recognise(const Page& page) override;
  // Tesseract asks its progress monitor's cancel function between words.
  PageLayout RecogniseUnlessCancelled(const Page& page,
                                      const RecognitionCancelCheck& cancelled) override;

 private:
  std::unique_ptr<tesseract::TessBaseAPI> api_;
};

}  // namespace zelk
