#pragma once
// frm2PDFOptions, "双层PDF转换设置": the [2PDF] keys of the dual-layer PDF
// jobs.

#include "dialogs/DialogWidgets.h"
#include "dialogs/GroupingControls.h"
#include "dialogs/OptionDialog.h"

class QCheckBox;
class QComboBox;

namespace zelk {

class TwoPdfOptionsDialog : public OptionDialog {
 public:
  TwoPdfOptionsDialog(QWidget* parent, Settings& settings, const ProgramPlaces& places);

 protected:
  bool Store() override;

 private:
  void Load();

  ConvertTypeOptions convertType_;
  QCheckBox* chkDir_;
  QCheckBox* chkTxt_;
  QCheckBox* chkTif_;
  QCheckBox* chkOfd_;
  GroupingControls grouping_;
  QComboBox* cboPaperSize_;
  QComboBox* cboTextOutputMode_;
  QComboBox* cboImageQuality_;
  QComboBox* cboImageResolution_;
};

}  // namespace zelk
