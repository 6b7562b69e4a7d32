#include "app/OptionDialogs.h"

#include <iterator>

#include "dialogs/ConvertLogsDialog.h"
#include "dialogs/OptionDialogs.h"

namespace zelk {

namespace {

// One opener per dialog, in DialogId order.  An empty entry leaves the menu
// item, icon or button without effect until the dialog is added here.
constexpr DialogOpener kDialogOpeners[] = {
    ShowImageCompressOptions,  // ImageCompress
    ShowMergeOptions,          // Merge
    ShowSplitOptions,          // Split
    ShowRenameOptions,         // Rename
    ShowPdfOptions,            // Pdf
    ShowTwoPdfOptions,         // TwoPdf
    ShowOcrOptions,            // Ocr
    ShowConvertLogs,           // ConvertLogs
};
static_assert(std::size(kDialogOpeners) == static_cast<size_t>(DialogId::ConvertLogs) + 1,
              "one opener per dialog");

}  // namespace

DialogOpener FindDialogOpener(DialogId id) {
  return kDialogOpeners[static_cast<size_t>(id)];
}

}  // namespace zelk
