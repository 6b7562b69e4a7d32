#pragma once
// frmOCROptions, "OCR文本识别设置": the [OCR] keys of the Word document
// jobs.

#include "dialogs/DialogWidgets.h"
#include "dialogs/OptionDialog.h"

class QCheckBox;
class QComboBox;

namespace zelk {

class OcrOptionsDialog : public OptionDialog {
 public:
  OcrOptionsDialog(QWidget* parent, Settings& settings, const ProgramPlaces& places);

 protected:
  bool Store() override;

 private:
  void Load();

  ConvertTypeOptions convertType_;
  QComboBox* cboFileType_;
  QComboBox* cboRecognizeMode_;
  QCheckBox* chkKeep_;
};

}  // namespace zelk
