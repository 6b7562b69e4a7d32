#pragma once
// The word-processor export options a run takes from its [OCR] section.

#include "documents/WordExport.h"
#include "settings/Settings.h"

namespace zelk {

// RecognizeMode 0 keeps the page's look (frames at their places), 1 gives
// an easily edited copy, 2 formatted text, 3 plain text; any other value
// leaves the engine's own choice.  KeepTextAndBackgroundColor 0 writes
// black on white, any other value the colours of the page.
WordExportOptions WordExportOptionsOf(const Settings::OcrSection& ocr);

}  // namespace zelk
