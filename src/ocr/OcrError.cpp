#include "ocr/OcrError.h"

namespace zelk {

EngineLoadError::EngineLoadError(const std::string& reason)
    : std::runtime_error("Error while loading OCR engine: " + reason) {}

}  // namespace zelk
