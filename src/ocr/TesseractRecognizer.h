#pragma once
// PageRecognizer on one tesseract::TessBaseAPI.
//
// Each page is first read as it lies, prepared by PrepareForRecognition
// (background flattened, straightened).  A page that reads plainly (lines
// across the page, most words recognised with confidence) is done.  Any
// other page may lie sideways or upside down: the orientation detector's
// guess is tried first, then the other quarter turns, until one reads
// plainly; the turn that read best is kept.  A page whose lines run down
// it may be text set in columns: after the likeliest turn, it is read
// with the vertical Chinese model too.

#include <memory>
#include <optional>
#include <string>

#include "ocr/PageRecognizer.h"

namespace tesseract {
class TessBaseAPI;
}

namespace zelk {

class OrientationDetector;
struct RecognitionImage;

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
  struct Reading;
  Reading ReadTurned(const Page& page, int quarterTurns, const RecognitionCancelCheck& cancelled);
  Reading Read(RecognitionImage image, int dpi, const RecognitionCancelCheck& cancelled,
               tesseract::TessBaseAPI& api, bool columns);
  // The page read as text set in columns; nothing without the model.
  std::optional<Reading> ReadColumns(const Page& page, int characterSize,
                                     const RecognitionCancelCheck& cancelled);
  tesseract::TessBaseAPI* ColumnsEngine();
  void RereadGarbledLines(PageLayout& layout, int dpi);
  std::optional<LayoutLine> ReadOneLine(const TextBox& box, int width, int height, int dpi);

  std::string tessdataDirectory_;
  std::string languages_;
  std::unique_ptr<tesseract::TessBaseAPI> api_;
  std::unique_ptr<tesseract::TessBaseAPI> columnsApi_;  // loaded on first use
  bool columnsUnavailable_ = false;
  std::unique_ptr<OrientationDetector> orientation_;
};

}  // namespace zelk
