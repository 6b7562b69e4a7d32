#pragma once
// frmImageCompressOptions, "图像压缩设置": the seven keys of [ImageCompress]
// that decide how pages are compressed when the jobs save them.

#include <QString>

#include "dialogs/DialogWidgets.h"
#include "dialogs/OptionDialog.h"

class QTabWidget;

namespace zelk {

class ImageCompressDialog : public OptionDialog {
 public:
  ImageCompressDialog(QWidget* parent, Settings& settings, const ProgramPlaces& places);

  // Selects the stored options.  Runs once, just after the dialog first
  // appears, so that a range warning for a stored custom quality shows over
  // the dialog; later calls do nothing.
  void Activate();

 protected:
  void showEvent(QShowEvent* event) override;
  bool Store() override;

 private:
  // The quality frame of one tab: four presets, the last one "自定义品质"
  // with its text box.
  struct Quality {
    OptionArray* presets;
    FocusLineEdit* custom;
    int16_t Settings::ImageCompressSection::*storedValue;
    int tab;
  };

  QWidget* MakeTab(QWidget* compressFrame, QWidget* qualityFrame);
  QWidget* MakeQualityFrame(int frameIndex, const Quality& quality);
  void OnPresetSelected(const Quality& quality, int index);
  void WarnIfOutOfRange(const QString& text);
  // The custom value of `quality` when its custom preset is selected, else
  // the stored value; false after telling the user when it is refused.
  bool ReadCustomValue(const Quality& quality, int16_t& value);

  QTabWidget* stabFileType_;
  OptionArray tif1Compress_;
  OptionArray tif2Compress_;
  OptionArray tif2Quality_;
  OptionArray jpgCompress_;
  OptionArray jpgQuality_;
  Quality tifQuality_;
  Quality jpgQualityControls_;
  bool activated_ = false;
};

}  // namespace zelk
