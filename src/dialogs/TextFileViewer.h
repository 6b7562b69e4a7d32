#pragma once
// A small read-only window showing a UTF-8 text file: the log viewer's
// fallback when the desktop has no program to open a result list with.

#include <QString>

class QDialog;
class QWidget;

namespace zelk {

// Shows the file at `path` in a non-modal window owned by `parent` (it
// goes when the parent goes, or when closed).  Bytes that are not valid
// UTF-8 show as replacement characters.  Returns the window, or nullptr
// when the file cannot be read; the caller reports that.
QDialog* ShowTextFile(QWidget* parent, const QString& path);

}  // namespace zelk
