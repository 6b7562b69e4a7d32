#include "dialogs/TwoPdfOptionsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zelk {
namespace {

const QStringList kPaperSizeEntries = {"自动", "原图像大小", "A4", "A3"};
const QStringList kTextOutputModeEntries = {"图像在上文本在下", "图像在下文本在上"};
const QStringList kImageQualityEntries = {"最佳质量", "平衡", "最小尺寸", "最快速度"};

// A frame holding one list.
QGroupBox* ListFrame(const char* name, const QString& caption, QComboBox* list) {
  QGroupBox* frame = MakeFrame(QLatin1String(name), caption);
  auto* layout = new QVBoxLayout(frame);
  layout->addWidget(list);
  return frame;
}

}  // namespace

TwoPdfOptionsDialog::TwoPdfOptionsDialog(QWidget* parent, Settings& settings,
                                         const ProgramPlaces& places)
    : OptionDialog(parent, settings, places, "frm2PDFOptions", QStringLiteral("双层PDF转换设置")),
      convertType_(this, QStringLiteral("单页图像合并为一个双层PDF文件"), QString(),
                   QStringLiteral("一个图像文件对应一个双层PDF文件"),
                   QStringLiteral("适用于多页Tif或单页Tif图像文件独立转换")),
      chkDir_(MakeCheckBox("chkDir", QStringLiteral("保持原有目录结构"))),
      chkTxt_(MakeCheckBox("chkTxt", QStringLiteral("同时OCR为TXT文件"))),
      chkTif_(MakeCheckBox("chkTif", QStringLiteral("同时输出多页Tif文件"))),
      chkOfd_(MakeCheckBox("chkOfd", QStringLiteral("同时输出OFD文件"))),
      grouping_(this, places, GroupingControls::ButtonStyle::Captions),
      cboPaperSize_(MakeList("cboPaperSize", kPaperSizeEntries)),
      cboTextOutputMode_(MakeList("cboTextOutputMode", kTextOutputModeEntries)),
      cboImageQuality_(MakeList("cboImageQuality", kImageQualityEntries)),
      cboImageResolution_(MakeList("cboImageResolution", ResolutionEntries())) {
  QGroupBox* framConvertType = MakeFrame(QStringLiteral("framConvertType"), QStringLiteral("转换方式设置"));
  auto* convertLayout = new QGridLayout(framConvertType);
  convertLayout->addWidget(convertType_.optMergeFiles, 0, 0, 1, 2);
  convertLayout->addWidget(convertType_.optOne2One, 0, 2, 1, 2);
  convertLayout->addWidget(chkDir_, 1, 0);
  convertLayout->addWidget(chkTxt_, 1, 1);
  convertLayout->addWidget(chkTif_, 1, 2);
  convertLayout->addWidget(chkOfd_, 1, 3);
  convertLayout->addWidget(grouping_.chkGroup, 2, 0, 1, 4);
  convertLayout->addWidget(grouping_.txtTemplate, 3, 0, 1, 2);
  convertLayout->addWidget(grouping_.cmdTemplate, 3, 2);
  convertLayout->addWidget(grouping_.cmdTemplateFile, 3, 3);
  convertLayout->setColumnStretch(1, 1);

  auto* lists = new QGridLayout;
  lists->addWidget(ListFrame("frmPaperSize", QStringLiteral("纸张尺寸设置"), cboPaperSize_), 0, 0);
  lists->addWidget(ListFrame("framTextOutputMode", QStringLiteral("文本输出模式"), cboTextOutputMode_), 0, 1);
  lists->addWidget(ListFrame("framImageQuality", QStringLiteral("图像质量设置"), cboImageQuality_), 1, 0);
  lists->addWidget(ListFrame("framImageResolution", QStringLiteral("图像分辨率设置"), cboImageResolution_),
                   1, 1);

  QPushButton* cmdImageCompress = MakeImageCompressButton();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(framConvertType);
  layout->addLayout(lists);
  layout->addLayout(MakeButtonRow(cmdImageCompress));

  SetTabOrder({convertType_.optMergeFiles, convertType_.optOne2One, chkDir_, chkTxt_, chkTif_,
               chkOfd_,
               grouping_.chkGroup, grouping_.txtTemplate, grouping_.cmdTemplate,
               grouping_.cmdTemplateFile, cboPaperSize_, cboTextOutputMode_, cboImageQuality_,
               cboImageResolution_, cmdImageCompress, okButton(), cancelButton()});
  Load();
}

void TwoPdfOptionsDialog::Load() {
  const auto& stored = settings().TwoPDF;
  convertType_.Show(stored.ConvertType);
  ShowFlag(chkDir_, stored.KeepDir);
  ShowFlag(chkTxt_, stored.OutputTxt);
  ShowFlag(chkTif_, stored.OutputTif);
  ShowFlag(chkOfd_, stored.OutputOfd);
  grouping_.Show(stored.Grouping);
  ShowEntry(cboPaperSize_, stored.PaperSize);
  ShowEntry(cboTextOutputMode_, stored.TextOutputMode);
  ShowEntry(cboImageQuality_, stored.ImageQuality);
  ShowEntry(cboImageResolution_, stored.ImageResolution);
}

bool TwoPdfOptionsDialog::Store() {
  auto& section = settings().TwoPDF;
  section.ConvertType = convertType_.Value();
  section.KeepDir = FlagValue(chkDir_);
  section.OutputTxt = FlagValue(chkTxt_);
  section.OutputTif = FlagValue(chkTif_);
  section.OutputOfd = FlagValue(chkOfd_);
  section.Grouping = grouping_.Value();
  section.PaperSize = EntryValue(cboPaperSize_);
  section.TextOutputMode = EntryValue(cboTextOutputMode_);
  section.ImageQuality = EntryValue(cboImageQuality_);
  section.ImageResolution = EntryValue(cboImageResolution_);
  WriteSection(settings(), SettingSection::TwoPDF);
  return true;
}

}  // namespace zelk
