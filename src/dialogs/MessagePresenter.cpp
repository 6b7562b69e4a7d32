#include "dialogs/MessagePresenter.h"

#include <QMessageBox>

namespace zelk {

void ShowMessageBox(QWidget* parent, MessageIcon icon, const QString& title, const QString& text) {
  QMessageBox box(icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::Information,
                  title, text, QMessageBox::Ok, parent);
  box.exec();
}

void ShowNotice(MessagePresenter& presenter, QWidget* parent, MessageIcon icon,
                const QString& text) {
  presenter.ShowMessage(parent, icon, QString::fromUtf8(kMessageTitle), text);
}

}  // namespace zelk
