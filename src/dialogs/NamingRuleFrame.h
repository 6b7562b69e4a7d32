#pragma once
// The naming rule frame shared by the split and rename dialogs: an optional
// name put in front (chkFileName), a prefix, a sequence number with its
// start value, digit count and zero padding, and a suffix.

#include <QString>
#include <cstdint>
#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QWidget;

namespace zelk {

class FocusLineEdit;

// The values of the frame as the settings hold them.
struct NamingRule {
  int16_t AutoAdd = 0;
  std::string Prefix;
  int16_t Init = 0;
  int16_t Length = 0;  // 1..8 digits, 0 when none is chosen
  int16_t AddZero = 0;
  std::string Postfix;
};

class NamingRuleFrame {
 public:
  // `caption` is the frame's, `autoAddCaption` that of chkFileName.
  NamingRuleFrame(const QString& caption, const QString& autoAddCaption);

  QGroupBox* framCustomName;
  QCheckBox* chkFileName;
  FocusLineEdit* txtPrefix;
  QComboBox* cboLength;
  FocusLineEdit* txtPostfix;
  FocusLineEdit* txtInitValue;
  QCheckBox* chkAddZero;

  void Show(const NamingRule& rule);
  // Reads the frame into `rule`; false, after telling the user over
  // `dialog`, when the start value is empty or does not fit 16 bits.
  bool Read(QWidget* dialog, NamingRule& rule) const;
};

}  // namespace zelk
