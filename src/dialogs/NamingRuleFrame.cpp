#include "dialogs/NamingRuleFrame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include "dialogs/DialogServices.h"
#include "dialogs/DialogWidgets.h"
#include "platform/LenientNumber.h"

namespace zelk {
namespace {

const QStringList kLengthEntries = {"1", "2", "3", "4", "5", "6", "7", "8"};
const QString kStartValueEmpty = QStringLiteral("顺序号初始值不能为空！    ");
const QString kStartValueNotStorable = QStringLiteral("顺序号初始值必须在-32768到32767之间！    ");

void SetTextWidth(FocusLineEdit* edit, int characters) {
  edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(characters, QLatin1Char('0'))) + 12);
}

}  // namespace

NamingRuleFrame::NamingRuleFrame(const QString& caption, const QString& autoAddCaption)
    : framCustomName(MakeFrame(QStringLiteral("framCustomName"), caption)),
      chkFileName(MakeCheckBox("chkFileName", autoAddCaption)),
      txtPrefix(new FocusLineEdit("txtPrefix", FocusLineEdit::OnFocus::CaretAtEnd)),
      cboLength(MakeList("cboLength", kLengthEntries)),
      txtPostfix(new FocusLineEdit("txtPostfix", FocusLineEdit::OnFocus::CaretAtEnd)),
      txtInitValue(new FocusLineEdit("txtInitValue", FocusLineEdit::OnFocus::SelectAll)),
      chkAddZero(MakeCheckBox("chkAddZero", QStringLiteral("空位补0"))) {
  chkFileName->setToolTip(QStringLiteral("自动增加文件名为前缀"));
  SetTextWidth(txtPrefix, 8);
  SetTextWidth(txtInitValue, 6);
  SetTextWidth(txtPostfix, 8);

  auto* layout = new QGridLayout(framCustomName);
  layout->addWidget(MakeLabel(ArrayName("lblTitle", 0), QStringLiteral("文件名前缀")), 0, 0, 1, 2);
  layout->addWidget(MakeLabel(ArrayName("lblTitle", 1), QStringLiteral("顺序号(初始值/位数/空位处理)")),
                    0, 2, 1, 3);
  layout->addWidget(MakeLabel(ArrayName("lblTitle", 2), QStringLiteral("文件名后缀")), 0, 5);
  layout->addWidget(chkFileName, 1, 0);
  layout->addWidget(txtPrefix, 1, 1);
  layout->addWidget(txtInitValue, 1, 2);
  layout->addWidget(cboLength, 1, 3);
  layout->addWidget(chkAddZero, 1, 4);
  layout->addWidget(txtPostfix, 1, 5);
  layout->addWidget(MakeLabel(QStringLiteral("lblExample"), QStringLiteral("文件名示例：")), 2, 0);
  layout->addWidget(MakeLabel(QStringLiteral("lblFileName"), QStringLiteral("A-0001-B.tif")), 2, 1,
                    1, 5);

  // Ticking puts the separator "-" in place of the prefix; clearing empties
  // it.  Only the user's click does this, not the value shown on opening.
  FocusLineEdit* prefix = txtPrefix;
  QObject::connect(chkFileName, &QCheckBox::clicked, framCustomName, [prefix](bool ticked) {
    prefix->setText(ticked ? QStringLiteral("-") : QString());
    if (prefix->isEnabled() && prefix->isVisible()) prefix->setFocus();
  });
}

void NamingRuleFrame::Show(const NamingRule& rule) {
  ShowFlag(chkFileName, rule.AutoAdd);
  txtPrefix->setText(QString::fromStdString(rule.Prefix));
  txtInitValue->setText(QString::number(rule.Init));
  ShowEntry(cboLength, rule.Length - 1);
  ShowFlag(chkAddZero, rule.AddZero);
  txtPostfix->setText(QString::fromStdString(rule.Postfix));
}

bool NamingRuleFrame::Read(QWidget* dialog, NamingRule& rule) const {
  const QString startText = txtInitValue->text();
  const auto start = LeadingInt16(startText.toStdString());
  if (startText.isEmpty() || !start) {
    ShowNotice(dialog, MessageIcon::Information,
               startText.isEmpty() ? kStartValueEmpty : kStartValueNotStorable);
    txtInitValue->setFocus();
    return false;
  }
  rule.AutoAdd = FlagValue(chkFileName);
  rule.Prefix = txtPrefix->text().toStdString();
  rule.Init = *start;
  // No entry selected stores 0.
  rule.Length = static_cast<int16_t>(cboLength->currentIndex() + 1);
  rule.AddZero = FlagValue(chkAddZero);
  rule.Postfix = txtPostfix->text().toStdString();
  return true;
}

}  // namespace zelk
