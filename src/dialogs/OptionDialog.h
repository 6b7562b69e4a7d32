#pragma once
// What every option dialog shares: it is modal, edits one section of the
// settings record, and on "确 定" reads its controls into the record and
// writes every key of its section to the settings file, in a fixed order.
// "取 消", Esc and the title bar's close button store nothing.

#include <QDialog>
#include <span>
#include <string>

#include "platform/ProgramPlaces.h"
#include "settings/SettingKeys.h"
#include "settings/Settings.h"

class QBoxLayout;
class QPushButton;

namespace zelk {

class OptionDialog : public QDialog {
 public:
  QPushButton* okButton() const { return cmdOK_; }
  QPushButton* cancelButton() const { return cmdCancel_; }

 protected:
  OptionDialog(QWidget* parent, Settings& settings, ProgramPlaces places, const char* name,
               const QString& caption);

  // Reads the controls into the record and writes the section; returns
  // false, after telling the user why, when a value is refused and the
  // dialog must stay open.
  virtual bool Store() = 0;

  Settings& settings() const { return settings_; }

  // The button "图像压缩设置" (cmdImageCompress), opening the compression
  // dialog over this one.
  QPushButton* MakeImageCompressButton();

  // A row with `leading` (when given) on the left and "确 定", "取 消" on
  // the right.
  QBoxLayout* MakeButtonRow(QPushButton* leading);

 private:
  Settings& settings_;
  ProgramPlaces places_;
  QPushButton* cmdOK_;
  QPushButton* cmdCancel_;
};

// Writes the record's current values of every key of `section` to the
// settings file, one key after the other in file order.
void WriteSection(const Settings& settings, SettingSection section);
// The same for `keys`, in the given order.
void WriteSection(const Settings& settings, std::span<const SettingId> keys);

}  // namespace zelk
