#include "app/ShellServices.h"

#include <QMessageBox>
#include <QSystemTrayIcon>

#include "app/FolderPicker.h"
#include "dialogs/DialogServices.h"

namespace zelk {

void OpenOrSay(ShellServices& shell, QWidget* parent, const QUrl& url) {
  if (shell.OpenUrl(url)) return;
  ShowCannotOpen(shell, parent, url.isLocalFile() ? url.toLocalFile() : url.toString());
}

void QtShellServices::ShowMessage(QWidget* parent, MessageIcon icon, const QString& title,
                                  const QString& text) {
  ShowMessageBox(parent, icon, title, text);
}

bool QtShellServices::HasSystemTray() { return QSystemTrayIcon::isSystemTrayAvailable(); }

bool QtShellServices::AskYesNo(QWidget* parent, const QString& title, const QString& text) {
  return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::Yes) == QMessageBox::Yes;
}

QString QtShellServices::BrowseForFolder(QWidget* parent, const QString& title,
                                         const QString& startDir, FolderChoice choice) {
  return PickFolder(parent, title, startDir, choice == FolderChoice::MayNotExistYet);
}

bool QtShellServices::OpenUrl(const QUrl& url) { return OpenWithDesktop(url); }

void QtShellServices::OpenDialog(DialogId id, QWidget* parent, Settings& settings,
                                 const ProgramPlaces& places) {
  if (DialogOpener open = FindDialogOpener(id)) open(parent, settings, places);
}

}  // namespace zelk
