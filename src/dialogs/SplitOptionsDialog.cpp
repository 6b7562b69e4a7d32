#include "dialogs/SplitOptionsDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dialogs/DialogWidgets.h"

namespace zelk {
namespace {

constexpr int16_t kTifPages = 1;
constexpr int16_t kJpgPages = 2;

}  // namespace

SplitOptionsDialog::SplitOptionsDialog(QWidget* parent, Settings& settings,
                                       const ProgramPlaces& places)
    : OptionDialog(parent, settings, places, "frmSplitOptions", QStringLiteral("多页分拆设置")),
      optJpg_(
          MakeOption(QStringLiteral("optJpg"), QStringLiteral("Jpg图像文件(不能使用于黑白图像)"))),
      optTif_(MakeOption(QStringLiteral("optTif"), QStringLiteral("Tif图像文件"))),
      naming_(QStringLiteral("分拆后文件名定义"), QStringLiteral("文件名")) {
  auto* types = new QButtonGroup(this);
  types->addButton(optJpg_);
  types->addButton(optTif_);
  QGroupBox* framFileType = MakeFrame(QStringLiteral("framFileType"), QStringLiteral("分拆后的文件类型"));
  auto* typeLayout = new QHBoxLayout(framFileType);
  typeLayout->addWidget(optJpg_);
  typeLayout->addWidget(optTif_);
  typeLayout->addStretch(1);

  QPushButton* cmdImageCompress = MakeImageCompressButton();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(framFileType);
  layout->addWidget(naming_.framCustomName);
  layout->addLayout(MakeButtonRow(cmdImageCompress));

  SetTabOrder({optJpg_, optTif_, okButton(), cancelButton(), cmdImageCompress,
               naming_.chkFileName, naming_.txtPrefix, naming_.cboLength, naming_.txtPostfix,
               naming_.txtInitValue, naming_.chkAddZero});
  Load();
}

void SplitOptionsDialog::Load() {
  const auto& stored = settings().Split;
  naming_.Show({stored.FileNameAutoAdd, stored.FileNamePre, stored.FileNameInit,
                stored.FileNameLength, stored.AddZero, stored.FileNamePos});
  (stored.FileType == kTifPages ? optTif_ : optJpg_)->setChecked(true);
}

bool SplitOptionsDialog::Store() {
  NamingRule rule;
  if (!naming_.Read(this, rule)) return false;
  auto& section = settings().Split;
  section.FileType = optTif_->isChecked() ? kTifPages : kJpgPages;
  section.FileNameAutoAdd = rule.AutoAdd;
  section.FileNamePre = rule.Prefix;
  section.FileNameInit = rule.Init;
  section.FileNameLength = rule.Length;
  section.AddZero = rule.AddZero;
  section.FileNamePos = rule.Postfix;
  WriteSection(settings(), SettingSection::Split);
  return true;
}

}  // namespace zelk
