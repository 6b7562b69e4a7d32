#pragma once
// Dropping a folder from a file manager onto a directory box fills the box
// with its path.  Only a single local directory is taken: files, several
// items and remote addresses are refused while they are dragged, so the
// cursor tells the user before the drop.

#include <QObject>
#include <QString>

class QLineEdit;
class QMimeData;

namespace zelk {

// The local directory a drag carries (text/uri-list with one file: URL
// naming an existing directory); empty when it carries anything else.
QString DroppedDirectory(const QMimeData& data);

// Takes folder drops for `box` (and turns off the box's own text drops,
// which would paste the URL's text into it).  Owned by the box.
void AcceptDirectoryDrops(QLineEdit* box);

}  // namespace zelk
