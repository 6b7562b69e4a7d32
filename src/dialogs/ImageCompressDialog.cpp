#include "dialogs/ImageCompressDialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialogs/DialogServices.h"
#include "platform/LenientNumber.h"

namespace zelk {
namespace {

const QStringList kTif1Captions = {"CCITT,GROUP 4", "CCITT,GROUP 3,2 DIM", "CCITT,GROUP 3,1 DIM",
                                   "CCITT", "LZW"};
const QStringList kTif2Captions = {"无压缩", "JPEG YUV 4:4:4", "JPEG YUV 4:2:2", "JPEG YUV 4:1:1",
                                   "LZW"};
const QStringList kJpgCaptions = {"无损 YUV 4:4:4", "有损 YUV 4:2:2", "有损 YUV 4:1:1"};
const QStringList kQualityCaptions = {"最好的图像质量", "好的图像质量及较小的文件", "最小的文件",
                                      "自定义品质"};

// The preset whose value is typed into the text box.
constexpr int kCustomPreset = 3;

const QString kQualityRangeWarning = QStringLiteral("图像质量值必须在1-100之间！    ");
const QString kQualityNotStorable = QStringLiteral("图像质量值必须在-32768到32767之间！    ");

QGroupBox* MakeOptionFrame(const QString& name, const QString& caption, const OptionArray& array) {
  QGroupBox* frame = MakeFrame(name, caption);
  auto* layout = new QVBoxLayout(frame);
  for (QRadioButton* option : array.Options()) layout->addWidget(option);
  layout->addStretch(1);
  return frame;
}

}  // namespace

ImageCompressDialog::ImageCompressDialog(QWidget* parent, Settings& settings,
                                         const ProgramPlaces& places)
    : OptionDialog(parent, settings, places, "frmImageCompressOptions",
                   QStringLiteral("图像压缩设置")),
      stabFileType_(new QTabWidget),
      tif1Compress_(this, "optTif1Compress", kTif1Captions),
      tif2Compress_(this, "optTif2Compress", kTif2Captions),
      tif2Quality_(this, "optTif2Quality", kQualityCaptions),
      jpgCompress_(this, "optJpgCompress", kJpgCaptions),
      jpgQuality_(this, "optJpgQuality", kQualityCaptions),
      tifQuality_{&tif2Quality_, new FocusLineEdit("txtQuality1", FocusLineEdit::OnFocus::CaretAtEnd),
                  &Settings::ImageCompressSection::Tif2QualityValue, 1},
      jpgQualityControls_{&jpgQuality_,
                          new FocusLineEdit("txtQuality2", FocusLineEdit::OnFocus::CaretAtEnd),
                          &Settings::ImageCompressSection::JpgQualityValue, 2} {
  stabFileType_->setObjectName(QStringLiteral("stabFileType"));
  stabFileType_->addTab(
      MakeTab(MakeOptionFrame(ArrayName("framImageCompress", 0), QStringLiteral("图像压缩格式"),
                              tif1Compress_),
              nullptr),
      QStringLiteral("TIF(黑白)"));
  stabFileType_->addTab(
      MakeTab(MakeOptionFrame(ArrayName("framImageCompress", 1), QStringLiteral("图像压缩格式"),
                              tif2Compress_),
              MakeQualityFrame(0, tifQuality_)),
      QStringLiteral("TIF(彩色或灰度)"));
  stabFileType_->addTab(
      MakeTab(MakeOptionFrame(ArrayName("framImageCompress", 2), QStringLiteral("图像压缩格式"),
                              jpgCompress_),
              MakeQualityFrame(1, jpgQualityControls_)),
      QStringLiteral("JPG"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(stabFileType_);
  layout->addLayout(MakeButtonRow(nullptr));

  for (const Quality* quality : {&tifQuality_, &jpgQualityControls_}) {
    for (int i = 0; i < quality->presets->Count(); ++i) {
      connect(quality->presets->Option(i), &QRadioButton::toggled, this,
              [this, quality, i](bool selected) {
                if (selected) OnPresetSelected(*quality, i);
              });
    }
    quality->custom->setToolTip(QStringLiteral("原图像质量的百分比"));
    quality->custom->setEnabled(false);
    connect(quality->custom, &QLineEdit::textChanged, this,
            &ImageCompressDialog::WarnIfOutOfRange);
  }

  std::vector<QWidget*> order = {stabFileType_};
  for (const OptionArray* array :
       {&tif1Compress_, &tif2Compress_, &tif2Quality_, &jpgCompress_, &jpgQuality_}) {
    order.insert(order.end(), array->Options().begin(), array->Options().end());
    if (array == &tif2Quality_) order.push_back(tifQuality_.custom);
    if (array == &jpgQuality_) order.push_back(jpgQualityControls_.custom);
  }
  order.push_back(okButton());
  order.push_back(cancelButton());
  SetTabOrder(order);
}

QWidget* ImageCompressDialog::MakeTab(QWidget* compressFrame, QWidget* qualityFrame) {
  auto* tab = new QWidget;
  auto* layout = new QHBoxLayout(tab);
  layout->addWidget(compressFrame);
  if (qualityFrame != nullptr) layout->addWidget(qualityFrame);
  return tab;
}

QWidget* ImageCompressDialog::MakeQualityFrame(int frameIndex, const Quality& quality) {
  QGroupBox* frame = MakeFrame(ArrayName("framImageQuality", frameIndex), QStringLiteral("图像质量"));
  auto* layout = new QVBoxLayout(frame);
  for (int i = 0; i < kCustomPreset; ++i) layout->addWidget(quality.presets->Option(i));
  // The custom value's box stands right beside its option.
  auto* customRow = new QHBoxLayout;
  customRow->addWidget(quality.presets->Option(kCustomPreset));
  quality.custom->setFixedWidth(quality.custom->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
  customRow->addWidget(quality.custom);
  customRow->addStretch(1);
  layout->addLayout(customRow);
  layout->addStretch(1);
  return frame;
}

void ImageCompressDialog::showEvent(QShowEvent* event) {
  OptionDialog::showEvent(event);
  // Queued, so that the dialog is on screen before a warning can show.
  if (!activated_) {
    QMetaObject::invokeMethod(this, &ImageCompressDialog::Activate, Qt::QueuedConnection);
  }
}

void ImageCompressDialog::Activate() {
  if (activated_) return;
  activated_ = true;
  const auto& stored = settings().ImageCompress;
  tif1Compress_.Show(stored.Tif1Compress);
  tif2Compress_.Show(stored.Tif2Compress);
  tif2Quality_.Show(stored.Tif2Quality);
  jpgCompress_.Show(stored.JpgCompress);
  jpgQuality_.Show(stored.JpgQuality);
}

void ImageCompressDialog::OnPresetSelected(const Quality& quality, int index) {
  if (index != kCustomPreset) {
    quality.custom->setEnabled(false);
    return;
  }
  quality.custom->setEnabled(true);
  quality.custom->setText(QString::number(settings().ImageCompress.*quality.storedValue));
  // The box cannot take the focus while its tab is hidden; then it stays
  // where it is.
  if (quality.custom->isVisible()) quality.custom->setFocus();
}

void ImageCompressDialog::WarnIfOutOfRange(const QString& text) {
  const double value = LeadingNumber(text.toStdString());
  if (value < 1 || value > 100) ShowNotice(this, MessageIcon::Information, kQualityRangeWarning);
}

bool ImageCompressDialog::ReadCustomValue(const Quality& quality, int16_t& value) {
  value = settings().ImageCompress.*quality.storedValue;
  if (quality.presets->Value() != kCustomPreset) return true;
  const auto typed = LeadingInt16(quality.custom->text().toStdString());
  if (!typed) {
    ShowNotice(this, MessageIcon::Information, kQualityNotStorable);
    stabFileType_->setCurrentIndex(quality.tab);
    quality.custom->setFocus();
    return false;
  }
  value = *typed;
  return true;
}

bool ImageCompressDialog::Store() {
  Activate();  // confirmed before it appeared: store what is stored
  int16_t tifValue = 0;
  int16_t jpgValue = 0;
  if (!ReadCustomValue(tifQuality_, tifValue) || !ReadCustomValue(jpgQualityControls_, jpgValue)) {
    return false;
  }
  auto& section = settings().ImageCompress;
  section.Tif1Compress = tif1Compress_.Value();
  section.Tif2Compress = tif2Compress_.Value();
  section.Tif2Quality = tif2Quality_.Value();
  section.Tif2QualityValue = tifValue;
  section.JpgCompress = jpgCompress_.Value();
  section.JpgQuality = jpgQuality_.Value();
  section.JpgQualityValue = jpgValue;
  WriteSection(settings(), SettingSection::ImageCompress);
  return true;
}

}  // namespace zelk
