#include "app/SelectAllOnFocus.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace zelk {

namespace {

class SelectAllFilter : public QObject {
 public:
  explicit SelectAllFilter(QLineEdit* box) : QObject(box), box_(box) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != box_) return false;
    switch (event->type()) {
      case QEvent::FocusIn: {
        // A click that brought the focus keeps the selection while the
        // button is down: a small move of the mouse would drag it away.
        clickFocus_ = static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason;
        QPointer<QLineEdit> box = box_;
        QTimer::singleShot(0, box_, [box] {
          if (box && box->hasFocus()) box->selectAll();
        });
        return false;
      }
      case QEvent::MouseMove:
        return clickFocus_;
      case QEvent::MouseButtonRelease:
        clickFocus_ = false;
        return false;
      default:
        return false;
    }
  }

 private:
  QLineEdit* box_;
  bool clickFocus_ = false;
};

}  // namespace

void SelectAllOnFocus(QLineEdit* box) { box->installEventFilter(new SelectAllFilter(box)); }

}  // namespace zelk
