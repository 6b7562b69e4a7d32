#pragma once
// The folder picker of the two directory boxes: Qt's own folder dialog
// (the same on every desktop, and in Chinese with Qt's translations), which
// opens inside the folder the box names and, for the output directory, also
// takes the name of a folder that does not exist yet: the run creates it.

#include <QFileDialog>
#include <QString>

namespace zelk {

// Where the picker opens for a box holding `boxText`: that directory (its
// clean absolute path) when it exists, else the nearest one above it that
// does (not the file system's root), else the home directory.
QString FolderPickerStart(const QString& boxText);

// Qt's folder dialog in directory mode.  With `mayNotExist` a name typed
// into it that names nothing yet is accepted as well (the dialog itself
// would refuse it).
class FolderDialog : public QFileDialog {
 public:
  FolderDialog(QWidget* parent, const QString& title, const QString& startDir, bool mayNotExist);

  // The chosen folder; meaningful after the dialog was accepted.
  QString ChosenFolder() const;

 public slots:
  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // A single name typed in that does not exist (yet).
  bool NewFolderTyped() const;

  bool mayNotExist_;
};

// Shows the dialog modally; the chosen folder, or "" when cancelled.
QString PickFolder(QWidget* parent, const QString& title, const QString& startDir,
                   bool mayNotExist);

}  // namespace zelk
