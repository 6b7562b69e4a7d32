#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "dialogs/ImageCompressDialog.h"
#include "DialogTestSupport.h"

namespace zelk::test {
namespace {

const QString kRangeWarning = QStringLiteral("图像质量值必须在1-100之间！    ");

class ImageCompressDialogTest : public DialogTest {
 protected:
  // Shows the dialog and lets its first activation run.
  void Open() {
    dialog_ = std::make_unique<ImageCompressDialog>(nullptr, settings_, Places());
    dialog_->show();
    ProcessEvents();
  }
  QRadioButton* Option(const char* array, int index) {
    return Child<QRadioButton>(dialog_.get(), ArrayName(array, index));
  }
  QLineEdit* Text(const char* name) { return Child<QLineEdit>(dialog_.get(), name); }
  int RangeWarnings() const {
    int count = 0;
    for (const auto& message : services_.messages) {
      count += message.text == kRangeWarning && message.icon == MessageIcon::Information &&
               message.title == QStringLiteral("提示信息");
    }
    return count;
  }

  std::unique_ptr<ImageCompressDialog> dialog_;
};

TEST_F(ImageCompressDialogTest, ConfirmWritesAllSevenKeysInOrder) {
  auto& c = settings_.ImageCompress;
  c = {2, 1, 0, 75, 0, 3, 80};
  UseFileWithoutSection("ImageCompress");
  Open();
  EXPECT_TRUE(Option("optTif1Compress", 2)->isChecked());
  EXPECT_TRUE(Option("optTif2Compress", 1)->isChecked());
  EXPECT_TRUE(Option("optTif2Quality", 0)->isChecked());
  EXPECT_FALSE(Text("txtQuality1")->isEnabled());
  EXPECT_TRUE(Option("optJpgQuality", 3)->isChecked());
  EXPECT_EQ(Text("txtQuality2")->text(), "80");
  EXPECT_TRUE(Text("txtQuality2")->isEnabled());

  Option("optTif1Compress", 4)->click();
  Option("optTif2Quality", 3)->click();
  EXPECT_EQ(Text("txtQuality1")->text(), "75");
  Text("txtQuality1")->setText("50.5");   // a half goes to the even neighbour
  Text("txtQuality2")->setText(" 1 2abc");  // blanks ignored, the leading number counts
  const std::string expected =
      BytesAfterWrites("ImageCompress", {{"Tif1Compress", "4"},
                                         {"Tif2Compress", "1"},
                                         {"Tif2Quality", "3"},
                                         {"Tif2QualityValue", "50"},
                                         {"JpgCompress", "0"},
                                         {"JpgQuality", "3"},
                                         {"JpgQualityValue", "12"}});
  dialog_->okButton()->click();

  EXPECT_EQ(dialog_->result(), QDialog::Accepted);
  EXPECT_EQ(FileBytes(), expected);
  EXPECT_EQ(c.Tif1Compress, 4);
  EXPECT_EQ(c.Tif2QualityValue, 50);
  EXPECT_EQ(c.JpgQualityValue, 12);
  EXPECT_TRUE(services_.messages.empty());
}

TEST_F(ImageCompressDialogTest, PresetKeepsTheStoredCustomValue) {
  settings_.ImageCompress = {0, 0, 3, 60, 0, 0, 70};
  UseFileWithoutSection("ImageCompress");
  Open();
  Text("txtQuality1")->setText("90");
  Option("optTif2Quality", 1)->click();
  EXPECT_FALSE(Text("txtQuality1")->isEnabled());
  dialog_->okButton()->click();
  EXPECT_EQ(settings_.ImageCompress.Tif2Quality, 1);
  EXPECT_EQ(settings_.ImageCompress.Tif2QualityValue, 60);
  EXPECT_EQ(settings_.ImageCompress.JpgQualityValue, 70);
}

TEST_F(ImageCompressDialogTest, RangeWarningOnEveryOutOfRangeChange) {
  settings_.ImageCompress.Tif2Quality = 1;
  settings_.ImageCompress.Tif2QualityValue = 0;
  UseFileWithoutSection("ImageCompress");
  Open();
  EXPECT_EQ(RangeWarnings(), 0);
  dialog_->findChild<QTabWidget*>("stabFileType")->setCurrentIndex(1);

  Option("optTif2Quality", 3)->click();  // shows the stored 0 at once
  QLineEdit* box = Text("txtQuality1");
  EXPECT_EQ(box->text(), "0");
  EXPECT_EQ(RangeWarnings(), 1);
  box->clear();
  EXPECT_EQ(RangeWarnings(), 2);
  QTest::keyClicks(box, "100");
  EXPECT_EQ(RangeWarnings(), 2);
  QTest::keyClicks(box, "0");
  EXPECT_EQ(RangeWarnings(), 3);
  EXPECT_EQ(box->text(), "1000");  // the text stays as typed

  // Out of 1..100 but within 16 bits: stored as typed.
  dialog_->okButton()->click();
  EXPECT_EQ(dialog_->result(), QDialog::Accepted);
  EXPECT_EQ(settings_.ImageCompress.Tif2QualityValue, 1000);
}

TEST_F(ImageCompressDialogTest, StoredCustomZeroWarnsWhenTheDialogOpens) {
  settings_.ImageCompress.JpgQuality = 3;
  settings_.ImageCompress.JpgQualityValue = 0;
  UseFileWithoutSection("ImageCompress");
  Open();
  EXPECT_EQ(RangeWarnings(), 1);
}

TEST_F(ImageCompressDialogTest, CustomValueBeyond16BitsIsRefused) {
  UseDefaultSettingsFile();
  const std::string before = FileBytes();
  Open();
  Option("optJpgQuality", 3)->click();
  Text("txtQuality2")->setText("32767.5");  // rounds to 32768
  services_.messages.clear();
  dialog_->okButton()->click();

  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0].text, QStringLiteral("图像质量值必须在-32768到32767之间！    "));
  EXPECT_NE(dialog_->result(), QDialog::Accepted);
  EXPECT_TRUE(dialog_->isVisible());
  EXPECT_EQ(dialog_->findChild<QTabWidget*>("stabFileType")->currentIndex(), 2);
  EXPECT_EQ(FileBytes(), before);
  EXPECT_EQ(settings_.ImageCompress.JpgQuality, 0);

  Text("txtQuality2")->setText("-32768.5");  // rounds to -32768: storable
  dialog_->okButton()->click();
  EXPECT_EQ(dialog_->result(), QDialog::Accepted);
  EXPECT_EQ(settings_.ImageCompress.JpgQualityValue, -32768);
}

TEST_F(ImageCompressDialogTest, StoredIndexOutOfRangeSelectsTheFirstOption) {
  settings_.ImageCompress = {9, -1, 4, 50, 3, 0, 50};
  UseFileWithoutSection("ImageCompress");
  Open();
  EXPECT_TRUE(Option("optTif1Compress", 0)->isChecked());
  EXPECT_TRUE(Option("optTif2Compress", 0)->isChecked());
  EXPECT_TRUE(Option("optTif2Quality", 0)->isChecked());
  EXPECT_TRUE(Option("optJpgCompress", 0)->isChecked());
  dialog_->okButton()->click();
  EXPECT_EQ(settings_.ImageCompress.Tif1Compress, 0);
  EXPECT_EQ(settings_.ImageCompress.Tif2Compress, 0);
  EXPECT_EQ(settings_.ImageCompress.Tif2Quality, 0);
  EXPECT_EQ(settings_.ImageCompress.JpgCompress, 0);
}

TEST_F(ImageCompressDialogTest, CancelAndCloseStoreNothing) {
  UseDefaultSettingsFile();
  const std::string before = FileBytes();
  const auto stored = settings_.ImageCompress;
  for (bool viaClose : {false, true}) {
    Open();
    Option("optTif1Compress", 3)->click();
    Option("optTif2Quality", 3)->click();
    Text("txtQuality1")->setText("33");
    if (viaClose) {
      dialog_->close();
    } else {
      dialog_->cancelButton()->click();
    }
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
    EXPECT_EQ(FileBytes(), before);
    EXPECT_EQ(settings_.ImageCompress.Tif1Compress, stored.Tif1Compress);
    EXPECT_EQ(settings_.ImageCompress.Tif2Quality, stored.Tif2Quality);
  }
}

}  // namespace
}  // namespace zelk::test
