#pragma once
// The modal dialogs the main window opens from its settings menu, its six
// settings icons and the log button.  The dialogs themselves live in the
// dialogs module; the table in OptionDialogs.cpp connects each of them here
// with one line.

class QWidget;

namespace zelk {

struct ProgramPlaces;
struct Settings;

enum class DialogId {
  ImageCompress,  // image compression options
  Merge,          // merge options
  Split,          // split options
  Rename,         // batch rename options
  Pdf,            // single-layer PDF options
  TwoPdf,         // dual-layer PDF options
  Ocr,            // OCR to Word options
  ConvertLogs,    // the result-list viewer
};

// Shows a dialog modally over `parent`.  It reads and writes `settings`;
// `places` tells where the result lists and the template workbook lie.  The
// result (confirmed or not) is not needed by the window.
using DialogOpener = bool (*)(QWidget* parent, Settings& settings, const ProgramPlaces& places);

// The opener of `id`, or nullptr while that dialog is not part of the build.
DialogOpener FindDialogOpener(DialogId id);

}  // namespace zelk
