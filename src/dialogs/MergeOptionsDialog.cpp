#include "dialogs/MergeOptionsDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/DialogServices.h"
#include "dialogs/DialogWidgets.h"

namespace zelk {
namespace {

const QString kNoTypeChosen = QStringLiteral("必须选择一个要合并的文件类型！    ");

}  // namespace

MergeOptionsDialog::MergeOptionsDialog(QWidget* parent, Settings& settings,
                                       const ProgramPlaces& places)
    : OptionDialog(parent, settings, places, "frmMergeOptions", QStringLiteral("单页合并设置")),
      grouping_(this, places, GroupingControls::ButtonStyle::Captions),
      chkDir_(MakeCheckBox("chkDir", QStringLiteral("保持原有目录结构"))),
      chkJpg_(MakeCheckBox("chkJpg", QStringLiteral("Jpg图像文件"))),
      chkTif_(MakeCheckBox("chkTif", QStringLiteral("Tif图像文件"))) {
  QGroupBox* framConvertType = MakeFrame(QStringLiteral("framConvertType"), QStringLiteral("转换方式设置"));
  auto* convertLayout = new QGridLayout(framConvertType);
  convertLayout->addWidget(grouping_.txtTemplate, 0, 0, 1, 2);
  convertLayout->addWidget(grouping_.cmdTemplateFile, 0, 2);
  convertLayout->addWidget(grouping_.cmdTemplate, 0, 3);
  convertLayout->addWidget(grouping_.chkGroup, 1, 0);
  convertLayout->addWidget(chkDir_, 1, 1, 1, 3);
  convertLayout->setColumnStretch(1, 1);

  QGroupBox* framMergeOptions =
      MakeFrame(QStringLiteral("framMergeOptions"), QStringLiteral("合并到多页Tif的图像类型"));
  auto* typeLayout = new QHBoxLayout(framMergeOptions);
  typeLayout->addWidget(chkJpg_);
  typeLayout->addWidget(chkTif_);
  typeLayout->addStretch(1);

  QPushButton* cmdImageCompress = MakeImageCompressButton();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(framConvertType);
  layout->addWidget(framMergeOptions);
  layout->addLayout(MakeButtonRow(cmdImageCompress));

  SetTabOrder({grouping_.txtTemplate, grouping_.cmdTemplateFile, grouping_.cmdTemplate,
               grouping_.chkGroup, chkDir_, cmdImageCompress, cancelButton(), okButton(), chkJpg_,
               chkTif_});
  Load();
}

void MergeOptionsDialog::Load() {
  const auto& stored = settings().Merge;
  ShowFlag(chkTif_, stored.Tif);
  ShowFlag(chkJpg_, stored.Jpg);
  ShowFlag(chkDir_, stored.KeepDir);
  grouping_.Show(stored.Grouping);
}

bool MergeOptionsDialog::Store() {
  if (!chkTif_->isChecked() && !chkJpg_->isChecked()) {
    ShowNotice(this, MessageIcon::Warning, kNoTypeChosen);
    return false;
  }
  auto& section = settings().Merge;
  section.Tif = FlagValue(chkTif_);
  section.Jpg = FlagValue(chkJpg_);
  section.KeepDir = FlagValue(chkDir_);
  section.Grouping = grouping_.Value();
  WriteSection(settings(), SettingSection::Merge);
  return true;
}

}  // namespace zelk
