#include "app/DirectoryDrop.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

namespace zelk {

namespace {

class DirectoryDropFilter : public QObject {
 public:
  explicit DirectoryDropFilter(QLineEdit* box) : QObject(box), box_(box) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != box_) return false;
    switch (event->type()) {
      case QEvent::DragEnter:
      case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (DroppedDirectory(*drag->mimeData()).isEmpty()) {
          drag->ignore();
        } else {
          drag->acceptProposedAction();
        }
        return true;
      }
      case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString directory = DroppedDirectory(*drop->mimeData());
        if (directory.isEmpty()) {
          drop->ignore();
        } else {
          box_->setText(directory);
          box_->setFocus(Qt::OtherFocusReason);
          drop->acceptProposedAction();
        }
        return true;
      }
      default:
        return false;
    }
  }

 private:
  QLineEdit* box_;
};

}  // namespace

QString DroppedDirectory(const QMimeData& data) {
  if (!data.hasUrls()) return {};
  const QList<QUrl> urls = data.urls();
  if (urls.size() != 1 || !urls.front().isLocalFile()) return {};
  const QFileInfo info(urls.front().toLocalFile());
  if (!info.isDir()) return {};
  return QDir::cleanPath(info.absoluteFilePath());
}

void AcceptDirectoryDrops(QLineEdit* box) {
  box->setAcceptDrops(true);
  box->installEventFilter(new DirectoryDropFilter(box));
}

}  // namespace zelk
