#include "jobs/WordExportSettings.h"

namespace zelk {
namespace {

LayoutRetention RetentionOf(int16_t recognizeMode) {
  switch (recognizeMode) {
    case 0: return LayoutRetention::ExactCopy;
    case 1: return LayoutRetention::EditableCopy;
    case 2: return LayoutRetention::FormattedText;
    case 3: return LayoutRetention::PlainText;
    default: return kDefaultLayoutRetention;
  }
}

}  // namespace

WordExportOptions WordExportOptionsOf(const Settings::OcrSection& ocr) {
  WordExportOptions options;
  options.retention = RetentionOf(ocr.RecognizeMode);
  options.keepColours = ocr.KeepTextAndBackgroundColor != 0;
  return options;
}

}  // namespace zelk
