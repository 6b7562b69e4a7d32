#include "app/FolderPicker.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

namespace zelk {

namespace {

// The accept button of Qt's file dialog ("选择" / "Choose").
QPushButton* AcceptButton(const QFileDialog& dialog) {
  auto* box = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
  return box != nullptr ? box->button(QDialogButtonBox::Open) : nullptr;
}

}  // namespace

QString FolderPickerStart(const QString& boxText) {
  const QString trimmed = boxText.trimmed();
  if (trimmed.isEmpty()) return QDir::homePath();
  // A folder not made yet (the destination before the first run) opens at
  // the nearest folder above it that exists, not far off in the home one.
  QString path = QDir::cleanPath(QFileInfo(trimmed).absoluteFilePath());
  while (!QFileInfo(path).isDir()) {
    const QString parent = QFileInfo(path).path();
    if (parent == path) break;
    path = parent;
  }
  return QFileInfo(path).isDir() && !QDir(path).isRoot() ? path : QDir::homePath();
}

FolderDialog::FolderDialog(QWidget* parent, const QString& title, const QString& startDir,
                           bool mayNotExist)
    : QFileDialog(parent, title, startDir), mayNotExist_(mayNotExist) {
  setObjectName(QStringLiteral("dlgFolderPicker"));
  setFileMode(QFileDialog::Directory);
  // Qt's own dialog: a desktop's native one cannot be told to take a new
  // name, and this one follows the program's language.
  setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
  // The dialog opens inside the start folder (given to the constructor),
  // listing its sub-folders with the name field empty, so that "选择" gives
  // that folder back.  Never selectFile() a folder: the dialog then opens at
  // its parent with the name typed in (a native one, with it highlighted).
  // The dialog disables its accept button whenever the typed name is not an
  // existing directory; for a new output folder the button is put back.
  if (mayNotExist_) {
    if (QPushButton* button = AcceptButton(*this)) button->installEventFilter(this);
  }
}

bool FolderDialog::NewFolderTyped() const {
  auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  if (name == nullptr || name->text().trimmed().isEmpty()) return false;
  const QStringList files = selectedFiles();
  return files.size() == 1 && !files.front().isEmpty() && !QFileInfo::exists(files.front());
}

bool FolderDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::EnabledChange) {
    auto* button = qobject_cast<QPushButton*>(watched);
    if (button != nullptr && !button->isEnabled() && NewFolderTyped()) button->setEnabled(true);
  }
  return QFileDialog::eventFilter(watched, event);
}

void FolderDialog::accept() {
  if (mayNotExist_ && NewFolderTyped()) {
    QDialog::accept();
    return;
  }
  QFileDialog::accept();
}

QString FolderDialog::ChosenFolder() const {
  const QStringList files = selectedFiles();
  return files.isEmpty() ? QString() : QDir::cleanPath(files.front());
}

QString PickFolder(QWidget* parent, const QString& title, const QString& startDir,
                   bool mayNotExist) {
  FolderDialog dialog(parent, title, startDir, mayNotExist);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.ChosenFolder();
}

}  // namespace zelk
