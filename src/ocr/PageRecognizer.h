#pragma once
// One recognition worker's engine instance.  Each instance serves one
// thread at a time; the pool gives every worker its own.

#include <functional>

#include "imaging/Page.h"
#include "ocr/PageLayout.h"

namespace zelk {

// Asked while a page is recognised; true stops the page.  Called on the
// worker's thread, so it must be safe to call from any thread.
using RecognitionCancelCheck = std::function<bool()>;

class PageRecognizer {
 public:
  virtual ~PageRecognizer() = default;
  // Recognises one page image; raises RecognitionError when it cannot.
  virtual PageLayout Recognise(const Page& page) = 0;
  // The same, stopping early once `cancelled` returns true: then it raises
  // RecognitionCancelled.  An engine that cannot stop inside a page
  // recognises it whole.
  virtual PageLayout RecogniseUnlessCancelled(const Page& page,
                                              const RecognitionCancelCheck& cancelled) {
    (void)cancelled;
    return Recognise(page);
  }
};

}  // namespace zelk
