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
bool RunModal(QWidget* parent, Settings& settings, const std::string& programDir) {
  Dialog dialog(parent, settings, programDir);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace

bool ShowImageCompressOptions(QWidget* parent, Settings& settings, const std::string& programDir) {
  return RunModal<ImageCompressDialog>(parent, settings, programDir);
}

bool ShowMergeOptions(QWidget* parent, Settings& settings, const std::string& programDir) {
  return RunModal<MergeOptionsDialog>(parent, settings, programDir);
}

bool ShowSplitOptions(QWidget* parent, Settings& settings, const std::string& programDir) {
  return RunModal<SplitOptionsDialog>(parent, settings, programDir);
}

bool ShowRenameOptions(QWidget* parent, Settings& settings, const std::string& programDir) {
  return RunModal<RenameOptionsDialog>(parent, settings, programDir);
}

bool ShowPdfOptions(QWidget* parent, Settings& settings, const std::string& programDir) {
  return RunModal<PdfOptionsDialog>(parent, settings, programDir);
}

bool ShowTwoPdfOptions(QWidget* parent, Settings& settings, const std::string& programDir) {
  return RunModal<TwoPdfOptionsDialog>(parent, settings, programDir);
}

bool ShowOcrOptions(QWidget* parent, Settings& settings, const std::string& programDir) {
  return RunModal<OcrOptionsDialog>(parent, settings, programDir);
}

}  // namespace zelk
