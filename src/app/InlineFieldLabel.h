#pragma once
// A label whose text leaves a run of blanks for an input field, and which
// keeps that field laid over the blanks, so that label and field read as
// one sentence ("隔 [5] 分钟自动扫描").

#include <QLabel>

namespace zelk {

class InlineFieldLabel : public QLabel {
  Q_OBJECT

 public:
  explicit InlineFieldLabel(const QString& text, QWidget* parent = nullptr);

  // Lays `field` (made a child of this label) over the first run of blanks
  // in the text.  The field is widened, together with the label, when the
  // blanks are narrower than `minimumFieldWidth` pixels.
  void SetInlineField(QWidget* field, int minimumFieldWidth);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Geometry {
    int before;  // width of the text before the blanks
    int gap;     // width given to the field
    int after;   // width of the text after the blanks
  };
  Geometry Measure() const;
  void PlaceField();

  QWidget* field_ = nullptr;
  int minimumFieldWidth_ = 0;
  int gapStart_ = -1;
  int gapLength_ = 0;
};

}  // namespace zelk
