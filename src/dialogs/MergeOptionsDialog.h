#pragma once
// frmMergeOptions, "单页合并设置": the [Merge] keys - which image types a
// directory may hold to be merged, whether the output keeps the source
// directory structure, and the grouping workbook.

#include "dialogs/GroupingControls.h"
#include "dialogs/OptionDialog.h"

class QCheckBox;

namespace zelk {

class MergeOptionsDialog : public OptionDialog {
 public:
  MergeOptionsDialog(QWidget* parent, Settings& settings, const ProgramPlaces& places);

 protected:
  bool Store() override;

 private:
  void Load();

  GroupingControls grouping_;
  QCheckBox* chkDir_;
  QCheckBox* chkJpg_;
  QCheckBox* chkTif_;
};

}  // namespace zelk
