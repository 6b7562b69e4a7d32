#include "dialogs/PdfOptionsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <array>

namespace zelk {
namespace {

// [PDF], in the order the keys are written (not the file order: the keys
// a file lacks are added in this order).
constexpr std::array kKeys = {SettingId::PDF_KeepDir,     SettingId::PDF_OutputTif,
                              SettingId::PDF_OutputOfd,   SettingId::PDF_Grouping,
                              SettingId::PDF_ConvertType, SettingId::PDF_ImageResolution,
                              SettingId::PDF_PaperSize};

const QStringList kPaperSizeEntries = {"原纸张幅面", "原图像大小"};

}  // namespace

PdfOptionsDialog::PdfOptionsDialog(QWidget* parent, Settings& settings, const ProgramPlaces& places)
    : OptionDialog(parent, settings, places, "frmPDFOptions", QStringLiteral("单层PDF转换设置")),
      convertType_(this, QStringLiteral("单页图像合并为一个PDF文件"),
                   QStringLiteral("适用于单页Tif及Jpg图像文件合并转换"),
                   QStringLiteral("一个图像文件对应一个PDF文件"),
                   QStringLiteral("适用于多页Tif或单页Tif图像文件单独转换")),
      chkDir_(MakeCheckBox("chkDir", QStringLiteral("保持原有目录结构"))),
      chkTif_(MakeCheckBox("chkTif", QStringLiteral("同时输出多页Tif文件"))),
      chkOfd_(MakeCheckBox("chkOfd", QStringLiteral("同时输出OFD文件"))),
      grouping_(this, places, GroupingControls::ButtonStyle::Pictures),
      cboResolution_(MakeList("cboResolution", ResolutionEntries())),
      cboPaperSize_(MakeList("cboPaperSize", kPaperSizeEntries)) {
  QGroupBox* framConvertType = MakeFrame(QStringLiteral("framConvertType"), QStringLiteral("转换方式设置"));
  auto* convertLayout = new QGridLayout(framConvertType);
  convertLayout->addWidget(convertType_.optMergeFiles, 0, 0, 1, 2);
  convertLayout->addWidget(convertType_.optOne2One, 0, 2, 1, 3);
  convertLayout->addWidget(chkDir_, 1, 0, 1, 2);
  convertLayout->addWidget(chkTif_, 1, 2, 1, 2);
  convertLayout->addWidget(chkOfd_, 1, 4);
  convertLayout->addWidget(grouping_.chkGroup, 2, 0);
  convertLayout->addWidget(grouping_.txtTemplate, 2, 1, 1, 2);
  convertLayout->addWidget(grouping_.cmdTemplate, 2, 3);
  convertLayout->addWidget(grouping_.cmdTemplateFile, 2, 4);
  convertLayout->setColumnStretch(2, 1);

  QGroupBox* framImageDisplay = MakeFrame(QStringLiteral("framImageDisplay"), QStringLiteral("图像显示设置"));
  auto* displayLayout = new QHBoxLayout(framImageDisplay);
  displayLayout->addWidget(MakeLabel(ArrayName("lblTitle", 0), QStringLiteral("图像分辨率统一设为")));
  displayLayout->addWidget(cboResolution_);
  displayLayout->addSpacing(16);
  displayLayout->addWidget(MakeLabel(ArrayName("lblTitle", 1), QStringLiteral("图像尺寸统一设为")));
  displayLayout->addWidget(cboPaperSize_);
  displayLayout->addStretch(1);

  QPushButton* cmdImageCompress = MakeImageCompressButton();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(framConvertType);
  layout->addWidget(framImageDisplay);
  layout->addLayout(MakeButtonRow(cmdImageCompress));

  SetTabOrder({convertType_.optMergeFiles, convertType_.optOne2One, chkDir_, chkTif_, chkOfd_,
               grouping_.chkGroup, grouping_.txtTemplate, grouping_.cmdTemplate,
               grouping_.cmdTemplateFile, cboResolution_, cboPaperSize_, cmdImageCompress,
               okButton(), cancelButton()});
  Load();
}

void PdfOptionsDialog::Load() {
  const auto& stored = settings().PDF;
  convertType_.Show(stored.ConvertType);
  ShowFlag(chkDir_, stored.KeepDir);
  ShowFlag(chkTif_, stored.OutputTif);
  ShowFlag(chkOfd_, stored.OutputOfd);
  grouping_.Show(stored.Grouping);
  ShowEntry(cboResolution_, stored.ImageResolution);
  ShowEntry(cboPaperSize_, stored.PaperSize);
}

bool PdfOptionsDialog::Store() {
  auto& section = settings().PDF;
  section.ConvertType = convertType_.Value();
  section.KeepDir = FlagValue(chkDir_);
  section.OutputTif = FlagValue(chkTif_);
  section.OutputOfd = FlagValue(chkOfd_);
  section.Grouping = grouping_.Value();
  section.ImageResolution = EntryValue(cboResolution_);
  section.PaperSize = EntryValue(cboPaperSize_);
  WriteSection(settings(), kKeys);
  return true;
}

}  // namespace zelk
