#pragma once
// Small building blocks shared by the option dialogs: controls created with
// their object names and captions, the 0/1 flag and list-index conversions,
// and option arrays.  Object names are the control names the rest of the
// program and the tests look the controls up by; an element of a control
// array is named like "optTif1Compress(0)".

#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

namespace zelk {

QString ArrayName(const char* name, int index);

QGroupBox* MakeFrame(const QString& name, const QString& caption);
QCheckBox* MakeCheckBox(const char* name, const QString& caption);
QRadioButton* MakeOption(const QString& name, const QString& caption);
QPushButton* MakeButton(const char* name, const QString& caption);
QLabel* MakeLabel(const QString& name, const QString& caption);
// A drop-down list that accepts no typed text, filled with `entries`.
QComboBox* MakeList(const char* name, const QStringList& entries);

// A text box that, whenever it takes the focus, either puts the caret after
// the last character or selects its whole text.
class FocusLineEdit : public QLineEdit {
 public:
  enum class OnFocus { CaretAtEnd, SelectAll };
  FocusLineEdit(const char* name, OnFocus onFocus);

 protected:
  void focusInEvent(QFocusEvent* event) override;

 private:
  OnFocus onFocus_;
};

// Flags are 0 and 1; a box is ticked exactly when its value is 1.
void ShowFlag(QCheckBox* box, int16_t value);
int16_t FlagValue(const QCheckBox* box);

// Selects entry `index`, or no entry when the list has none of that index.
void ShowEntry(QComboBox* list, int index);
// The selected entry's index; 0, the first entry, when none is selected.
int16_t EntryValue(const QComboBox* list);

// The resolution list of the PDF dialogs: index 0 keeps the image's own
// resolution, 1 to 7 set 96 to 600 dpi.
QStringList ResolutionEntries();

// Sets the tab order to the order of `widgets`.
void SetTabOrder(const std::vector<QWidget*>& widgets);

// A control array of option buttons, one selected at a time; the stored
// value of the array is the index of the selected option.
class OptionArray {
 public:
  OptionArray(QWidget* owner, const char* name, const QStringList& captions);

  QRadioButton* Option(int index) const { return options_[static_cast<std::size_t>(index)]; }
  int Count() const { return static_cast<int>(options_.size()); }
  const std::vector<QRadioButton*>& Options() const { return options_; }

  // Selects option `index`; the first option when there is no such option.
  void Show(int index);
  // The index of the selected option; 0 when none is selected.
  int16_t Value() const;

 private:
  QButtonGroup* group_;
  std::vector<QRadioButton*> options_;
};

// The two option buttons of a conversion mode: `optMergeFiles` (value 1,
// one output per directory) and `optOne2One` (value 2, one per image file).
class ConvertTypeOptions {
 public:
  ConvertTypeOptions(QWidget* owner, const QString& mergeCaption, const QString& mergeTip,
                     const QString& one2OneCaption, const QString& one2OneTip);

  QRadioButton* optMergeFiles;
  QRadioButton* optOne2One;

  // 1 selects optMergeFiles; any other value selects optOne2One.
  void Show(int16_t convertType);
  int16_t Value() const;
};

}  // namespace zelk
