#include "dialogs/GroupingControls.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "dialogs/DialogServices.h"
#include "dialogs/DialogWidgets.h"
#include "filesafety/UserFiles.h"

namespace zelk {
namespace {

const QString kPickerTitle = QStringLiteral("选择分件数据文件");
const QString kPickerFilter =
    QStringLiteral("97-2003Excel(*.xls)|*.xls|2007以上Excel(*.xlsx)|*.xlsx");
const QString kPickCaption = QStringLiteral("选择模板文件");
const QString kOpenCaption = QStringLiteral("打开模板文件");

QPushButton* MakePictureButton(const char* name, QStyle::StandardPixmap picture,
                               const QString& tip) {
  QPushButton* button = MakeButton(name, QString());
  button->setIcon(QApplication::style()->standardIcon(picture));
  button->setToolTip(tip);
  button->setAccessibleName(tip);
  return button;
}

}  // namespace

GroupingControls::GroupingControls(QWidget* dialog, const ProgramPlaces& places, ButtonStyle style)
    : chkGroup(MakeCheckBox("chkGroup", QStringLiteral("按照Excel模板自动分件"))),
      txtTemplate(new FocusLineEdit("txtTemplate", FocusLineEdit::OnFocus::CaretAtEnd)) {
  // Room for a typical path without scrolling.
  txtTemplate->setMinimumWidth(txtTemplate->fontMetrics().averageCharWidth() * 40);
  if (style == ButtonStyle::Captions) {
    cmdTemplate = MakeButton("cmdTemplate", kPickCaption);
    cmdTemplateFile = MakeButton("cmdTemplateFile", kOpenCaption);
  } else {
    cmdTemplate = MakePictureButton("cmdTemplate", QStyle::SP_DirOpenIcon, kPickCaption);
    cmdTemplateFile = MakePictureButton("cmdTemplateFile", QStyle::SP_FileDialogContentsView,
                                        kOpenCaption);
  }

  QLineEdit* path = txtTemplate;
  QObject::connect(cmdTemplate, &QPushButton::clicked, dialog, [dialog, path] {
    // Choosing a workbook does not tick chkGroup; cancelling keeps the text.
    if (const auto chosen = Services().PickOpenFile(dialog, kPickerTitle, kPickerFilter)) {
      path->setText(*chosen);
    }
  });
  QObject::connect(cmdTemplateFile, &QPushButton::clicked, dialog, [dialog, places] {
    const QString templatePath = QString::fromStdString(places.TemplateWorkbook());
    // Without a workbook to open (none shipped, or no room for the user's
    // copy) no program is started on a missing file.
    if (PrepareUserTemplateWorkbook(places)) {
      OpenDocumentOrSay(dialog, templatePath);
    } else {
      ShowCannotOpen(Services(), dialog, templatePath);
    }
  });
}

void GroupingControls::Show(const std::string& grouping) {
  chkGroup->setChecked(!grouping.empty());
  txtTemplate->setText(QString::fromStdString(grouping));
}

std::string GroupingControls::Value() const {
  return chkGroup->isChecked() ? txtTemplate->text().toStdString() : std::string();
}

}  // namespace zelk
