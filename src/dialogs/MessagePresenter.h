#pragma once
// Message boxes.  The window and the dialogs show every message through a
// MessagePresenter, so that tests can record what would have been shown
// instead of blocking on a modal box.
//
// Every message box of the program carries the title kMessageTitle
// (platform/UserMessage.h), so that the engine, the window and the dialogs
// share one text.

#include <QString>

#include "platform/UserMessage.h"

class QWidget;

namespace zelk {

// The icon of a message box: the engine's own choice for its messages.
using MessageIcon = UserMessage::Icon;

class MessagePresenter {
 public:
  virtual ~MessagePresenter() = default;

  // A modal message box with one OK button.
  virtual void ShowMessage(QWidget* parent, MessageIcon icon, const QString& title,
                           const QString& text) = 0;
};

// The desktop's modal message box with one OK button: what the real
// presenters show.
void ShowMessageBox(QWidget* parent, MessageIcon icon, const QString& title, const QString& text);

// Shows `text` through `presenter` with the title "提示信息".
void ShowNotice(MessagePresenter& presenter, QWidget* parent, MessageIcon icon,
                const QString& text);

// Says that `target` (a path or a web address) could not be opened because
// the desktop has no program to open it with.
void ShowCannotOpen(MessagePresenter& presenter, QWidget* parent, const QString& target);

}  // namespace zelk
