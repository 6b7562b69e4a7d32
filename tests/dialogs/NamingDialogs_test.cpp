// The split and rename dialogs share their naming frame; the frame's rules
// are tested through the split dialog, the rename dialog's own mapping and
// write order separately.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "dialogs/RenameOptionsDialog.h"
#include "dialogs/SplitOptionsDialog.h"
#include "DialogTestSupport.h"

namespace zelk::test {
namespace {

const QString kStartValueEmpty = QStringLiteral("顺序号初始值不能为空！    ");

class SplitOptionsDialogTest : public DialogTest {
 protected:
  void Open() {
    dialog_ = std::make_unique<SplitOptionsDialog>(nullptr, settings_, Places());
    dialog_->show();
  }
  template <class T = QLineEdit>
  T* Get(const char* name) {
    return Child<T>(dialog_.get(), name);
  }
  // Types `start` as the start value and confirms; the stored start value.
  int16_t StoreStart(const QString& start) {
    Open();
    Get("txtInitValue")->setText(start);
    dialog_->okButton()->click();
    return settings_.Split.FileNameInit;
  }

  std::unique_ptr<SplitOptionsDialog> dialog_;
};

TEST_F(SplitOptionsDialogTest, ConfirmWritesTheSevenKeysInOrder) {
  settings_.Split = {1, 0, "A", 7, 2, 0, "B"};
  UseFileWithoutSection("Split");
  Open();
  EXPECT_TRUE(Get<QRadioButton>("optTif")->isChecked());
  EXPECT_EQ(Get("txtPrefix")->text(), "A");
  EXPECT_EQ(Get("txtInitValue")->text(), "7");
  EXPECT_EQ(Get<QComboBox>("cboLength")->currentText(), "2");

  Get<QRadioButton>("optJpg")->click();
  Get<QCheckBox>("chkFileName")->click();  // puts "-" in place of "A"
  Get("txtInitValue")->setText("12abc");
  Get<QComboBox>("cboLength")->setCurrentIndex(3);
  Get<QCheckBox>("chkAddZero")->click();
  Get("txtPostfix")->setText(QStringLiteral("后"));
  const std::string expected = BytesAfterWrites("Split", {{"FileType", "2"},
                                                          {"FileNameAutoAdd", "1"},
                                                          {"FileNamePre", "-"},
                                                          {"FileNameInit", "12"},
                                                          {"FileNameLength", "4"},
                                                          {"AddZero", "1"},
                                                          {"FileNamePos", "后"}});
  dialog_->okButton()->click();

  EXPECT_EQ(dialog_->result(), QDialog::Accepted);
  EXPECT_EQ(FileBytes(), expected);
  EXPECT_EQ(settings_.Split.FileNamePre, "-");
  EXPECT_EQ(settings_.Split.FileNameInit, 12);
}

TEST_F(SplitOptionsDialogTest, FileNameBoxReplacesOrEmptiesThePrefix) {
  settings_.Split = {1, 1, "ABC", 1, 4, 1, ""};
  UseFileWithoutSection("Split");
  Open();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog_.get()));
  // Opening shows the stored prefix, not the "-" a click would put there.
  EXPECT_TRUE(Get<QCheckBox>("chkFileName")->isChecked());
  EXPECT_EQ(Get("txtPrefix")->text(), "ABC");
  Get<QCheckBox>("chkFileName")->click();
  EXPECT_EQ(Get("txtPrefix")->text(), "");
  Get("txtPrefix")->setText("XY");
  Get<QCheckBox>("chkFileName")->click();
  EXPECT_EQ(Get("txtPrefix")->text(), "-");
  EXPECT_TRUE(Get("txtPrefix")->hasFocus());
}

TEST_F(SplitOptionsDialogTest, StartValueIsReadByItsLeadingNumber) {
  UseDefaultSettingsFile();
  EXPECT_EQ(StoreStart("12abc"), 12);
  EXPECT_EQ(StoreStart("abc"), 0);
  EXPECT_EQ(StoreStart(" -3 "), -3);
  EXPECT_EQ(StoreStart("2.5"), 2);
  EXPECT_EQ(StoreStart("3.5"), 4);
  EXPECT_TRUE(services_.messages.empty());
}

TEST_F(SplitOptionsDialogTest, EmptyOrOversizedStartValueKeepsTheDialogOpen) {
  UseDefaultSettingsFile();
  const std::string before = FileBytes();
  for (const QString& start : {QString(), QStringLiteral("40000")}) {
    services_.messages.clear();
    StoreStart(start);
    ASSERT_EQ(services_.messages.size(), 1u);
    EXPECT_EQ(services_.messages[0].text,
              start.isEmpty() ? kStartValueEmpty
                              : QStringLiteral("顺序号初始值必须在-32768到32767之间！    "));
    EXPECT_EQ(services_.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(services_.messages[0].title, QStringLiteral("提示信息"));
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(FileBytes(), before);
    EXPECT_EQ(settings_.Split.FileNameInit, 1);
  }
}

TEST_F(SplitOptionsDialogTest, StoredValuesOutsideTheirRangeOpenSafely) {
  settings_.Split = {7, 0, "", 1, 9, 0, ""};
  UseFileWithoutSection("Split");
  Open();
  EXPECT_TRUE(Get<QRadioButton>("optJpg")->isChecked());  // any FileType but 1
  EXPECT_EQ(Get<QComboBox>("cboLength")->currentIndex(), -1);
  dialog_->okButton()->click();
  EXPECT_EQ(settings_.Split.FileType, 2);
  EXPECT_EQ(settings_.Split.FileNameLength, 0);  // no digit count chosen
}

TEST_F(SplitOptionsDialogTest, CancelLeavesTheFileAlone) {
  UseDefaultSettingsFile();
  const std::string before = FileBytes();
  Open();
  Get<QRadioButton>("optJpg")->click();
  Get("txtInitValue")->setText("99");
  dialog_->cancelButton()->click();
  EXPECT_EQ(FileBytes(), before);
  EXPECT_EQ(settings_.Split.FileType, 1);
  EXPECT_EQ(settings_.Split.FileNameInit, 1);
}

class RenameOptionsDialogTest : public DialogTest {};

TEST_F(RenameOptionsDialogTest, ConfirmWritesTheSixKeysInOrderAndCancelNothing) {
  settings_.Rename = {0, "R", 5, 3, 1, "P"};
  UseFileWithoutSection("Rename");
  const std::string before = FileBytes();
  {
    RenameOptionsDialog dialog(nullptr, settings_, Places());
    dialog.show();
    Child<QLineEdit>(&dialog, "txtInitValue")->setText("8");
    dialog.cancelButton()->click();
    EXPECT_EQ(FileBytes(), before);
    EXPECT_EQ(settings_.Rename.RFileNameInit, 5);
  }
  RenameOptionsDialog dialog(nullptr, settings_, Places());
  dialog.show();
  EXPECT_EQ(Child<QCheckBox>(&dialog, "chkFileName")->text(), QStringLiteral("目录名"));
  Child<QCheckBox>(&dialog, "chkFileName")->click();
  Child<QLineEdit>(&dialog, "txtInitValue")->setText("0012x");
  Child<QComboBox>(&dialog, "cboLength")->setCurrentIndex(7);
  Child<QCheckBox>(&dialog, "chkAddZero")->click();
  const std::string expected = BytesAfterWrites("Rename", {{"RFileNameAutoAdd", "1"},
                                                           {"RFileNamePre", "-"},
                                                           {"RFileNameInit", "12"},
                                                           {"RFileNameLength", "8"},
                                                           {"RAddZero", "0"},
                                                           {"RFileNamePos", "P"}});
  dialog.okButton()->click();
  EXPECT_EQ(FileBytes(), expected);
  EXPECT_EQ(settings_.Rename.RFileNameLength, 8);
}

}  // namespace
}  // namespace zelk::test
