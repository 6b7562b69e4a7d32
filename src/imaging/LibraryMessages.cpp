#include "imaging/LibraryMessages.h"

#include <leptonica/allheaders.h>
#include <poppler/cpp/poppler-global.h>
#include <tiffio.h>

#include <mutex>
#include <string>

namespace zelk {
namespace {

void IgnoreLeptonicaMessage(const char*) {}
void IgnorePopplerMessage(const std::string&, void*) {}

}  // namespace

void SilenceImageLibraries() {
  static std::once_flag once;
  std::call_once(once, [] {
    setMsgSeverity(L_SEVERITY_NONE);
    leptSetStderrHandler(IgnoreLeptonicaMessage);
    // Each libtiff handle of ours has its own handlers that collect the
    // messages; these global ones only catch what is reported without a
    // handle.
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
    poppler::set_debug_error_function(IgnorePopplerMessage, nullptr);
  });
}

}  // namespace zelk
