#pragma once
// frmRenameOptions, "批量更名设置": the [Rename] keys - the naming rule of
// the batch rename job.

#include "dialogs/NamingRuleFrame.h"
#include "dialogs/OptionDialog.h"

namespace zelk {

class RenameOptionsDialog : public OptionDialog {
 public:
  RenameOptionsDialog(QWidget* parent, Settings& settings, const ProgramPlaces& places);

 protected:
  bool Store() override;

 private:
  void Load();

  NamingRuleFrame naming_;
};

}  // namespace zelk
