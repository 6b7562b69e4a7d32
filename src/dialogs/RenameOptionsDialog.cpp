#include "dialogs/RenameOptionsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/DialogWidgets.h"

namespace zelk {

RenameOptionsDialog::RenameOptionsDialog(QWidget* parent, Settings& settings,
                                         const ProgramPlaces& places)
    : OptionDialog(parent, settings, places, "frmRenameOptions", QStringLiteral("批量更名设置")),
      naming_(QStringLiteral("重命名规则"), QStringLiteral("目录名")) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(naming_.framCustomName);
  layout->addLayout(MakeButtonRow(nullptr));

  SetTabOrder({okButton(), cancelButton(), naming_.chkFileName, naming_.txtPrefix,
               naming_.cboLength, naming_.txtPostfix, naming_.txtInitValue, naming_.chkAddZero});
  Load();
}

void RenameOptionsDialog::Load() {
  const auto& stored = settings().Rename;
  naming_.Show({stored.RFileNameAutoAdd, stored.RFileNamePre, stored.RFileNameInit,
                stored.RFileNameLength, stored.RAddZero, stored.RFileNamePos});
}

bool RenameOptionsDialog::Store() {
  NamingRule rule;
  if (!naming_.Read(this, rule)) return false;
  auto& section = settings().Rename;
  section.RFileNameAutoAdd = rule.AutoAdd;
  section.RFileNamePre = rule.Prefix;
  section.RFileNameInit = rule.Init;
  section.RFileNameLength = rule.Length;
  section.RAddZero = rule.AddZero;
  section.RFileNamePos = rule.Postfix;
  WriteSection(settings(), SettingSection::Rename);
  return true;
}

}  // namespace zelk
