#pragma once
// What the main window asks of the desktop: message boxes (the dialogs'
// message presenter), the folder picker, opening a folder, document or web
// address with its program, and the modal dialogs.  Behind an interface so
// that tests can answer in place of the user and see what would have been
// shown or opened.

#include <QString>
#include <QUrl>
#include <string>

#include "app/OptionDialogs.h"
#include "dialogs/MessagePresenter.h"

class QWidget;

namespace zelk {

class ShellServices : public MessagePresenter {
 public:
  // The chosen directory, or an empty string when the user cancels.
  virtual QString BrowseForFolder(QWidget* parent, const QString& title) = 0;

  // Opens a local folder or document, or a web address, with the program
  // the desktop associates with it.  Failures are not reported.
  virtual void OpenUrl(const QUrl& url) = 0;

  // Opens one of the modal dialogs; does nothing while it is not built in.
  virtual void OpenDialog(DialogId id, QWidget* parent, Settings& settings,
                          const std::string& programDir) = 0;
};

// The real desktop: QMessageBox, QFileDialog, QDesktopServices and the
// dialog table.
class QtShellServices : public ShellServices {
 public:
  void ShowMessage(QWidget* parent, MessageIcon icon, const QString& title,
                   const QString& text) override;
  QString BrowseForFolder(QWidget* parent, const QString& title) override;
  void OpenUrl(const QUrl& url) override;
  void OpenDialog(DialogId id, QWidget* parent, Settings& settings,
                  const std::string& programDir) override;
};

}  // namespace zelk
