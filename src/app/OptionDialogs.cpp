#include "app/OptionDialogs.h"

#include <iterator>

namespace zelk {

namespace {

// One opener per dialog, in DialogId order.  An empty entry leaves the menu
// item, icon or button without effect until the dialog is added here.
constexpr DialogOpener kDialogOpeners[] = {
    nullptr,  // ImageCompress
    nullptr,  // Merge
    nullptr,  // Split
    nullptr,  // Rename
    nullptr,  // Pdf
    nullptr,  // TwoPdf
    nullptr,  // Ocr
    nullptr,  // ConvertLogs
};
static_assert(std::size(kDialogOpeners) == static_cast<size_t>(DialogId::ConvertLogs) + 1,
              "one opener per dialog");

}  // namespace

DialogOpener FindDialogOpener(DialogId id) {
  return kDialogOpeners[static_cast<size_t>(id)];
}

}  // namespace zelk
