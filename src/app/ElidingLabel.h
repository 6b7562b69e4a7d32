#pragma once
// A one-line label that never widens the window: a text longer than the
// label is shortened in the middle ("…"), so the start (the job's word)
// and the end (the file name) stay readable, and the whole text is the
// label's tooltip.  A label not on screen has no width to fit yet and holds
// the whole text.  A tail the label must always show whole (the status
// line's page counter "  第3页 共10页") can be kept out of the shortening.

#include <QLabel>
#include <QRegularExpression>
#include <QString>

namespace zelk {

class ElidingLabel : public QLabel {
  Q_OBJECT

 public:
  explicit ElidingLabel(QWidget* parent = nullptr);

  // The text to show, shortened to the label's width as needed.
  void SetFullText(const QString& text);
  const QString& FullText() const { return fullText_; }

  // A match of `tail` at the end of the text is never shortened.
  void KeepTail(const QRegularExpression& tail) { tail_ = tail; }

  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void Elide();

  QString fullText_;
  QRegularExpression tail_;
};

// The status line's page counter: two blanks, "第", the page, "页", the
// job's blanks, "共", the count, "页".
QRegularExpression PageCounterTail();

}  // namespace zelk
