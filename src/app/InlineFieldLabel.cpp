#include "app/InlineFieldLabel.h"

#include <QEvent>
#include <QPainter>
#include <algorithm>

namespace zelk {

InlineFieldLabel::InlineFieldLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void InlineFieldLabel::SetInlineField(QWidget* field, int minimumFieldWidth) {
  field_ = field;
  minimumFieldWidth_ = minimumFieldWidth;
  const QString content = text();
  gapStart_ = static_cast<int>(content.indexOf(QLatin1Char(' ')));
  gapLength_ = 0;
  if (gapStart_ >= 0) {
    while (gapStart_ + gapLength_ < content.size() && content[gapStart_ + gapLength_] == ' ') {
      ++gapLength_;
    }
  }
  field_->setParent(this);
  updateGeometry();
  PlaceField();
}

InlineFieldLabel::Geometry InlineFieldLabel::Measure() const {
  const QFontMetrics metrics(font());
  const QString content = text();
  if (gapStart_ < 0) return {metrics.horizontalAdvance(content), 0, 0};
  const int blanks = metrics.horizontalAdvance(content.mid(gapStart_, gapLength_));
  return {metrics.horizontalAdvance(content.left(gapStart_)), std::max(blanks, minimumFieldWidth_),
          metrics.horizontalAdvance(content.mid(gapStart_ + gapLength_))};
}

QSize InlineFieldLabel::sizeHint() const {
  if (!field_) return QLabel::sizeHint();
  const Geometry g = Measure();
  const QMargins margins = contentsMargins();
  const int height = std::max(fontMetrics().height(), field_->sizeHint().height());
  return {g.before + g.gap + g.after + margins.left() + margins.right(),
          height + margins.top() + margins.bottom()};
}

QSize InlineFieldLabel::minimumSizeHint() const { return sizeHint(); }

void InlineFieldLabel::PlaceField() {
  if (!field_) return;
  const Geometry g = Measure();
  const QRect area = contentsRect();
  const int height = std::min(field_->sizeHint().height(), area.height());
  field_->setGeometry(area.left() + g.before, area.top() + (area.height() - height) / 2, g.gap,
                      height);
}

void InlineFieldLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  PlaceField();
}

void InlineFieldLabel::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
    updateGeometry();
    PlaceField();
  }
}

// Draws the two halves of the text on either side of the field, so that a
// field wider than the blanks never covers a character.
void InlineFieldLabel::paintEvent(QPaintEvent* event) {
  if (!field_ || gapStart_ < 0) {
    QLabel::paintEvent(event);
    return;
  }
  QPainter painter(this);
  const Geometry g = Measure();
  const QRect area = contentsRect();
  const QString content = text();
  const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
  painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                 QPalette::WindowText));
  painter.drawText(area, flags, content.left(gapStart_));
  painter.drawText(area.adjusted(g.before + g.gap, 0, 0, 0), flags,
                   content.mid(gapStart_ + gapLength_));
}

}  // namespace zelk
