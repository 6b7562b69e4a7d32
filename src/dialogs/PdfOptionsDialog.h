#pragma once
// frmPDFOptions, "单层PDF转换设置": the [PDF] keys of the single-layer PDF
// jobs.

#include "dialogs/DialogWidgets.h"
#include "dialogs/GroupingControls.h"
#include "dialogs/OptionDialog.h"

class QCheckBox;
class QComboBox;

namespace zelk {

class PdfOptionsDialog : public OptionDialog {
 public:
  PdfOptionsDialog(QWidget* parent, Settings& settings, const ProgramPlaces& places);

 protected:
  bool Store() override;

 private:
  void Load();

  ConvertTypeOptions convertType_;
  QCheckBox* chkDir_;
  QCheckBox* chkTif_;
  QCheckBox* chkOfd_;
  GroupingControls grouping_;
  QComboBox* cboResolution_;
  QComboBox* cboPaperSize_;
};

}  // namespace zelk
