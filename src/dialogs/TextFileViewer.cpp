#include "dialogs/TextFileViewer.h"

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/DialogWidgets.h"

namespace zelk {

QDialog* ShowTextFile(QWidget* parent, const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return nullptr;
  QString text = QString::fromUtf8(file.readAll());
  // The result lists end their lines with CR LF; the view wants LF only.
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));

  auto* window = new QDialog(parent);
  window->setObjectName(QStringLiteral("frmTextView"));
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowTitle(QFileInfo(path).fileName());

  auto* view = new QPlainTextEdit(window);
  view->setObjectName(QStringLiteral("txtContent"));
  view->setReadOnly(true);
  view->setLineWrapMode(QPlainTextEdit::NoWrap);
  view->setPlainText(text);

  QPushButton* close = MakeButton("cmdClose", QStringLiteral("关 闭"));
  QObject::connect(close, &QPushButton::clicked, window, &QDialog::close);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(window);
  layout->addWidget(view, 1);
  layout->addLayout(buttons);
  window->resize(640, 480);
  window->show();
  return window;
}

}  // namespace zelk
