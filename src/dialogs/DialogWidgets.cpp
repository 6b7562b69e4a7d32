#include "dialogs/DialogWidgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace zelk {

QString ArrayName(const char* name, int index) {
  return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QGroupBox* MakeFrame(const QString& name, const QString& caption) {
  auto* frame = new QGroupBox(caption);
  frame->setObjectName(name);
  return frame;
}

QCheckBox* MakeCheckBox(const char* name, const QString& caption) {
  auto* box = new QCheckBox(caption);
  box->setObjectName(QLatin1String(name));
  return box;
}

QRadioButton* MakeOption(const QString& name, const QString& caption) {
  auto* option = new QRadioButton(caption);
  option->setObjectName(name);
  return option;
}

QPushButton* MakeButton(const char* name, const QString& caption) {
  auto* button = new QPushButton(caption);
  button->setObjectName(QLatin1String(name));
  button->setAutoDefault(false);
  return button;
}

QLabel* MakeLabel(const QString& name, const QString& caption) {
  auto* label = new QLabel(caption);
  label->setObjectName(name);
  return label;
}

QComboBox* MakeList(const char* name, const QStringList& entries) {
  auto* list = new QComboBox;
  list->setObjectName(QLatin1String(name));
  list->setEditable(false);
  list->addItems(entries);
  list->setCurrentIndex(-1);
  return list;
}

FocusLineEdit::FocusLineEdit(const char* name, OnFocus onFocus) : onFocus_(onFocus) {
  setObjectName(QLatin1String(name));
}

void FocusLineEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (onFocus_ == OnFocus::SelectAll) {
    selectAll();
  } else {
    end(false);
  }
}

void ShowFlag(QCheckBox* box, int16_t value) { box->setChecked(value == 1); }

int16_t FlagValue(const QCheckBox* box) { return box->isChecked() ? 1 : 0; }

void ShowEntry(QComboBox* list, int index) {
  list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

int16_t EntryValue(const QComboBox* list) {
  const int index = list->currentIndex();
  return static_cast<int16_t>(index >= 0 ? index : 0);
}

QStringList ResolutionEntries() {
  return {QStringLiteral("图像原分辨率"), "96", "150", "200", "300", "400", "500", "600"};
}

void SetTabOrder(const std::vector<QWidget*>& widgets) {
  QWidget* previous = nullptr;
  for (QWidget* widget : widgets) {
    if (previous != nullptr) QWidget::setTabOrder(previous, widget);
    previous = widget;
  }
}

OptionArray::OptionArray(QWidget* owner, const char* name, const QStringList& captions)
    : group_(new QButtonGroup(owner)) {
  for (int i = 0; i < captions.size(); ++i) {
    QRadioButton* option = MakeOption(ArrayName(name, i), captions[i]);
    group_->addButton(option, i);
    options_.push_back(option);
  }
}

void OptionArray::Show(int index) {
  Option(index >= 0 && index < Count() ? index : 0)->setChecked(true);
}

int16_t OptionArray::Value() const {
  const int id = group_->checkedId();
  return static_cast<int16_t>(id >= 0 ? id : 0);
}

ConvertTypeOptions::ConvertTypeOptions(QWidget* owner, const QString& mergeCaption,
                                       const QString& mergeTip, const QString& one2OneCaption,
                                       const QString& one2OneTip)
    : optMergeFiles(MakeOption(QStringLiteral("optMergeFiles"), mergeCaption)),
      optOne2One(MakeOption(QStringLiteral("optOne2One"), one2OneCaption)) {
  auto* group = new QButtonGroup(owner);
  group->addButton(optMergeFiles);
  group->addButton(optOne2One);
  if (!mergeTip.isEmpty()) optMergeFiles->setToolTip(mergeTip);
  if (!one2OneTip.isEmpty()) optOne2One->setToolTip(one2OneTip);
}

void ConvertTypeOptions::Show(int16_t convertType) {
  (convertType == 1 ? optMergeFiles : optOne2One)->setChecked(true);
}

int16_t ConvertTypeOptions::Value() const { return optMergeFiles->isChecked() ? 1 : 2; }

}  // namespace zelk
