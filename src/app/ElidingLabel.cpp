#include "app/ElidingLabel.h"

#include <QFontMetrics>
#include <QResizeEvent>
#include <algorithm>

namespace zelk {

ElidingLabel::ElidingLabel(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setWordWrap(false);
}

void ElidingLabel::SetFullText(const QString& text) {
  fullText_ = text;
  setToolTip(text);
  Elide();
}

QSize ElidingLabel::minimumSizeHint() const {
  return {1, QLabel::minimumSizeHint().height()};
}

void ElidingLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  Elide();
}

void ElidingLabel::showEvent(QShowEvent* event) {
  QLabel::showEvent(event);
  Elide();
}

void ElidingLabel::Elide() {
  const QFontMetrics metrics = fontMetrics();
  const int width = contentsRect().width();
  if (!isVisible() || metrics.horizontalAdvance(fullText_) <= width) {
    setText(fullText_);
    return;
  }
  QString head = fullText_;
  QString tail;
  if (tail_.isValid() && !tail_.pattern().isEmpty()) {
    const QRegularExpressionMatch match = tail_.match(fullText_);
    if (match.hasMatch() && match.capturedEnd() == fullText_.size()) {
      head = fullText_.left(match.capturedStart());
      tail = match.captured();
    }
  }
  const int room = std::max(0, width - metrics.horizontalAdvance(tail));
  setText(metrics.elidedText(head, Qt::ElideMiddle, room) + tail);
}

QRegularExpression PageCounterTail() {
  return QRegularExpression(QStringLiteral("  第\\d+页\\s*共\\d+页$"));
}

}  // namespace zelk
