#pragma once
// What the main window asks of the desktop: message boxes (the dialogs'
// message presenter) and yes/no questions, the folder picker, opening a
// folder, document or web address with its program, and the modal dialogs.
// Behind an interface so that tests can answer in place of the user and
// see what would have been shown or opened.

#include <QString>
#include <QUrl>
#include <string>

#include "app/OptionDialogs.h"
#include "dialogs/MessagePresenter.h"

class QWidget;

namespace zelk {

// What a folder picker may return.
enum class FolderChoice {
  Existing,        // only a directory that exists
  MayNotExistYet,  // also a name typed in that does not exist yet
};

class ShellServices : public MessagePresenter {
 public:
  // Whether the desktop shows icons in a system tray.
  virtual bool HasSystemTray() = 0;

  // A modal question with the buttons Yes and No; true for Yes.
  virtual bool AskYesNo(QWidget* parent, const QString& title, const QString& text) = 0;

  // The chosen directory, or an empty string when the user cancels.  The
  // picker opens at `startDir`.
  virtual QString BrowseForFolder(QWidget* parent, const QString& title, const QString& startDir,
                                  FolderChoice choice) = 0;

  // Opens a local folder or document, or a web address, with the program
  // the desktop associates with it.  False when the desktop has no program
  // to hand it to.
  virtual bool OpenUrl(const QUrl& url) = 0;

  // Opens one of the modal dialogs; does nothing while it is not built in.
  virtual void OpenDialog(DialogId id, QWidget* parent, Settings& settings,
                          const ProgramPlaces& places) = 0;
};

// Opens `url` through `shell`; when that fails, says so with the path (or
// the address) in a message box.
void OpenOrSay(ShellServices& shell, QWidget* parent, const QUrl& url);

// The real desktop: QMessageBox, the folder picker of FolderPicker.h,
// QDesktopServices, QSystemTrayIcon and the dialog table.
class QtShellServices : public ShellServices {
 public:
  void ShowMessage(QWidget* parent, MessageIcon icon, const QString& title,
                   const QString& text) override;
  bool HasSystemTray() override;
  bool AskYesNo(QWidget* parent, const QString& title, const QString& text) override;
  QString BrowseForFolder(QWidget* parent, const QString& title, const QString& startDir,
                          FolderChoice choice) override;
  bool OpenUrl(const QUrl& url) override;
  void OpenDialog(DialogId id, QWidget* parent, Settings& settings,
                  const ProgramPlaces& places) override;
};

}  // namespace zelk
