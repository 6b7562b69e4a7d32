#include "app/ShellServices.h"

#include <QDesktopServices>
#include <QFileDialog>

namespace zelk {

void QtShellServices::ShowMessage(QWidget* parent, MessageIcon icon, const QString& title,
                                  const QString& text) {
  ShowMessageBox(parent, icon, title, text);
}

QString QtShellServices::BrowseForFolder(QWidget* parent, const QString& title) {
  return QFileDialog::getExistingDirectory(parent, title, QString(), QFileDialog::ShowDirsOnly);
}

void QtShellServices::OpenUrl(const QUrl& url) { QDesktopServices::openUrl(url); }

void QtShellServices::OpenDialog(DialogId id, QWidget* parent, Settings& settings,
                                 const std::string& programDir) {
  if (DialogOpener open = FindDialogOpener(id)) open(parent, settings, programDir);
}

}  // namespace zelk
