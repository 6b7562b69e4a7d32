#pragma once
// frmSplitOptions, "多页分拆设置": the [Split] keys - the file type of the
// pages the split job writes and the rule that names them.

#include "dialogs/NamingRuleFrame.h"
#include "dialogs/OptionDialog.h"

class QRadioButton;

namespace zelk {

class SplitOptionsDialog : public OptionDialog {
 public:
  SplitOptionsDialog(QWidget* parent, Settings& settings, const ProgramPlaces& places);

 protected:
  bool Store() override;

 private:
  void Load();

  QRadioButton* optJpg_;
  QRadioButton* optTif_;
  NamingRuleFrame naming_;
};

}  // namespace zelk
