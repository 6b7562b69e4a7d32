#pragma once
// What the option dialogs ask of the desktop: message boxes, the open-file
// picker and opening a document with its associated program.  The dialogs
// reach these only through Services(), so tests can put a recorder in their
// place and run the dialogs without blocking.

#include <QString>
#include <optional>

#include "dialogs/MessagePresenter.h"

class QUrl;
class QWidget;

namespace zelk {

class DialogServices : public MessagePresenter {
 public:
  // An open-file dialog with no initial file name.  `filter` lists
  // description and pattern alternately, separated by "|"
  // ("Text(*.txt)|*.txt|...").  nullopt when the user cancels.
  virtual std::optional<QString> PickOpenFile(QWidget* parent, const QString& title,
                                              const QString& filter) = 0;

  // Opens a document with the program the desktop associates with it.
  // False when the desktop has no program to hand it to; nothing is shown
  // then, the caller decides what to do instead.
  virtual bool OpenDocument(const QString& path) = 0;
};

// The services in use: the desktop's own unless a test replaced them.
DialogServices& Services();

// Installs other services for the lifetime of this object.
class ScopedDialogServices {
 public:
  explicit ScopedDialogServices(DialogServices& services);
  ~ScopedDialogServices();
  ScopedDialogServices(const ScopedDialogServices&) = delete;
  ScopedDialogServices& operator=(const ScopedDialogServices&) = delete;

 private:
  DialogServices* previous_;
};

// Shows `text` with the title "提示信息" through Services().
void ShowNotice(QWidget* parent, MessageIcon icon, const QString& text);

// Opens the document at `path` through Services(); when that fails, says so
// with the path.
void OpenDocumentOrSay(QWidget* parent, const QString& path);

// Hands `url` to the desktop's opener (xdg-open on Linux desktops).  False
// when there is none or it could not be started.
bool OpenWithDesktop(const QUrl& url);

// A "|"-separated filter turned into Qt's name-filter form
// ("Text(*.txt);;Images(*.png *.jpg)").
QString QtNameFilter(const QString& filter);

}  // namespace zelk
