#pragma once
// One recognition worker's engine instance.  Each instance serves one
// thread at a time; the pool gives every worker its own.

#include "imaging/Page.h"
#include "ocr/PageLayout.h"

namespace zelk {

class PageRecognizer {
 public:
  virtual ~PageRecognizer() = default;
  // Recognises one page image; raises RecognitionError when it cannot.
  virtual PageLayout Recognise(const Page& page) = 0;
};

// The resolution recognition assumes for a page: its own, or 300 dpi when
// the file gives none or one below 100 dpi (a scan never has so few).
int RecognitionResolution(const Page& page);

}  // namespace zelk
