#include "app/ShellServices.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>

namespace zelk {

void QtShellServices::ShowMessage(QWidget* parent, MessageBoxIcon icon, const QString& title,
                                  const QString& text) {
  QMessageBox box(icon == MessageBoxIcon::Warning ? QMessageBox::Warning : QMessageBox::Information,
                  title, text, QMessageBox::Ok, parent);
  box.exec();
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
