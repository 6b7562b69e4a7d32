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

void ShowCannotOpen(MessagePresenter& presenter, QWidget* parent, const QString& target) {
  ShowNotice(presenter, parent, MessageIcon::Warning,
             QStringLiteral("无法打开：\n%1\n\n系统中没有找到可以打开它的程序"
                            "（请安装 xdg-utils 和相应的应用程序）。")
                 .arg(target));
}

}  // namespace zelk
