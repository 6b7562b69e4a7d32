#include "dialogs/OptionDialogs.h"

#include "dialogs/ImageCompressDialog.h"
#include "dialogs/MergeOptionsDialog.h"
#include "dialogs/OcrOptionsDialog.h"
#include "dialogs/PdfOptionsDialog.h"
#include "dialogs/RenameOptionsDialog.h"
#include "dialogs/SplitOptionsDialog.h"
#include "dialogs/TwoPdfOptionsDialog.h"

namespace zelk {
namespace {

template <class Dialog>
bool RunModal(QWidget* parent, Settings& settings, const ProgramPlaces& places) {
  Dialog dialog(parent, settings, places);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace

bool ShowImageCompressOptions(QWidget* parent, Settings& settings, const ProgramPlaces& places) {
  return RunModal<ImageCompressDialog>(parent, settings, places);
}

bool ShowMergeOptions(QWidget* parent, Settings& settings, const ProgramPlaces& places) {
  return RunModal<MergeOptionsDialog>(parent, settings, places);
}

bool ShowSplitOptions(QWidget* parent, Settings& settings, const ProgramPlaces& places) {
  return RunModal<SplitOptionsDialog>(parent, settings, places);
}

bool ShowRenameOptions(QWidget* parent, Settings& settings, const ProgramPlaces& places) {
  return RunModal<RenameOptionsDialog>(parent, settings, places);
}

bool ShowPdfOptions(QWidget* parent, Settings& settings, const ProgramPlaces& places) {
  return RunModal<PdfOptionsDialog>(parent, settings, places);
}

bool ShowTwoPdfOptions(QWidget* parent, Settings& settings, const ProgramPlaces& places) {
  return RunModal<TwoPdfOptionsDialog>(parent, settings, places);
}

bool ShowOcrOptions(QWidget* parent, Settings& settings, const ProgramPlaces& places) {
  return RunModal<OcrOptionsDialog>(parent, settings, places);
}

}  // namespace zelk
