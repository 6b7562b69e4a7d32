#include "dialogs/OcrOptionsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zelk {
namespace {

const QStringList kFileTypeEntries = {"Word 97-2003 文档", "Word 2007以上文档", "RTF文档"};
const QStringList kRecognizeModeEntries = {"和原稿保持一致", "容易编辑的原稿版本", "带格式的文本",
                                           "纯文本"};

}  // namespace

OcrOptionsDialog::OcrOptionsDialog(QWidget* parent, Settings& settings, const ProgramPlaces& places)
    : OptionDialog(parent, settings, places, "frmOCROptions", QStringLiteral("OCR文本识别设置")),
      convertType_(this, QStringLiteral("单页图像合并识别为一个文件"), QString(),
                   QStringLiteral("一个图像文件识别为对应一个文件"),
                   QStringLiteral("适用于多页Tif或单页Tif图像文件独立识别")),
      cboFileType_(MakeList("cboFileType", kFileTypeEntries)),
      cboRecognizeMode_(MakeList("cboRecognizeMode", kRecognizeModeEntries)),
      chkKeep_(MakeCheckBox("chkKeep", QStringLiteral("保留文本和背景颜色"))) {
  QGroupBox* framConvertType = MakeFrame(QStringLiteral("framConvertType"), QStringLiteral("转换方式设置"));
  auto* convertLayout = new QVBoxLayout(framConvertType);
  convertLayout->addWidget(convertType_.optMergeFiles);
  convertLayout->addWidget(convertType_.optOne2One);

  QGroupBox* frmFileType = MakeFrame(QStringLiteral("frmFileType"), QStringLiteral("输出文件类型"));
  (new QVBoxLayout(frmFileType))->addWidget(cboFileType_);
  QGroupBox* framOCRRecognizeMode =
      MakeFrame(QStringLiteral("framOCRRecognizeMode"), QStringLiteral("图像识别模式"));
  (new QVBoxLayout(framOCRRecognizeMode))->addWidget(cboRecognizeMode_);
  auto* lists = new QHBoxLayout;
  lists->addWidget(frmFileType);
  lists->addWidget(framOCRRecognizeMode);

  QPushButton* cmdImageCompress = MakeImageCompressButton();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(framConvertType);
  layout->addLayout(lists);
  layout->addWidget(chkKeep_);
  layout->addLayout(MakeButtonRow(cmdImageCompress));

  SetTabOrder({convertType_.optMergeFiles, convertType_.optOne2One, cboFileType_,
               cboRecognizeMode_, chkKeep_, cmdImageCompress, okButton(), cancelButton()});
  Load();
}

void OcrOptionsDialog::Load() {
  const auto& stored = settings().OCR;
  convertType_.Show(stored.ConvertType);
  ShowEntry(cboFileType_, stored.OutputType);
  ShowEntry(cboRecognizeMode_, stored.RecognizeMode);
  ShowFlag(chkKeep_, stored.KeepTextAndBackgroundColor);
}

bool OcrOptionsDialog::Store() {
  auto& section = settings().OCR;
  section.ConvertType = convertType_.Value();
  section.OutputType = EntryValue(cboFileType_);
  section.RecognizeMode = EntryValue(cboRecognizeMode_);
  section.KeepTextAndBackgroundColor = FlagValue(chkKeep_);
  WriteSection(settings(), SettingSection::OCR);
  return true;
}

}  // namespace zelk
