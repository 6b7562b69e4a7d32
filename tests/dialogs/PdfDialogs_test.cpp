// The single-layer PDF, dual-layer PDF and OCR dialogs: list and option
// mappings, write orders, and stored values the lists cannot show.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "dialogs/OcrOptionsDialog.h"
#include "dialogs/PdfOptionsDialog.h"
#include "dialogs/TwoPdfOptionsDialog.h"
#include "DialogTestSupport.h"

namespace zelk::test {
namespace {

class PdfDialogsTest : public DialogTest {
 protected:
  // The dialog, changed and then cancelled or closed, leaves file and
  // record as they were; confirmed unchanged, it writes back the values
  // the file already holds.
  template <class Dialog>
  void ExpectCancelStoresNothing() {
    const std::string before = FileBytes();
    const Settings stored = settings_;
    for (bool viaClose : {false, true}) {
      Dialog dialog(nullptr, settings_, Places());
      dialog.show();
      Child<QRadioButton>(&dialog, "optOne2One")->click();
      for (QComboBox* list : dialog.template findChildren<QComboBox*>()) list->setCurrentIndex(1);
      for (QCheckBox* box : dialog.template findChildren<QCheckBox*>()) box->click();
      viaClose ? static_cast<void>(dialog.close()) : dialog.cancelButton()->click();
      EXPECT_EQ(FileBytes(), before);
      EXPECT_EQ(settings_.PDF.ConvertType, stored.PDF.ConvertType);
      EXPECT_EQ(settings_.TwoPDF.ConvertType, stored.TwoPDF.ConvertType);
      EXPECT_EQ(settings_.OCR.ConvertType, stored.OCR.ConvertType);
      EXPECT_EQ(settings_.TwoPDF.KeepDir, stored.TwoPDF.KeepDir);
    }
    Dialog dialog(nullptr, settings_, Places());
    dialog.show();
    dialog.okButton()->click();
    EXPECT_EQ(FileBytes(), before);
  }
};

TEST_F(PdfDialogsTest, PdfConfirmWritesTheSevenKeysInOrder) {
  settings_.PDF = {1, 0, 0, "/g.xls", 4, 0};
  UseFileWithoutSection("PDF");
  PdfOptionsDialog dialog(nullptr, settings_, Places());
  dialog.show();
  EXPECT_TRUE(Child<QRadioButton>(&dialog, "optMergeFiles")->isChecked());
  EXPECT_EQ(Child<QComboBox>(&dialog, "cboResolution")->currentText(), "300");
  EXPECT_EQ(Child<QPushButton>(&dialog, "cmdTemplate")->toolTip(), QStringLiteral("选择模板文件"));
  EXPECT_EQ(Child<QPushButton>(&dialog, "cmdTemplateFile")->toolTip(), QStringLiteral("打开模板文件"));

  Child<QRadioButton>(&dialog, "optOne2One")->click();
  Child<QCheckBox>(&dialog, "chkDir")->click();
  Child<QCheckBox>(&dialog, "chkTif")->click();
  Child<QCheckBox>(&dialog, "chkOfd")->click();
  Child<QComboBox>(&dialog, "cboResolution")->setCurrentIndex(7);  // "600"
  Child<QComboBox>(&dialog, "cboPaperSize")->setCurrentIndex(1);
  const std::string expected = BytesAfterWrites("PDF", {{"KeepDir", "1"},
                                                        {"OutputTif", "1"},
                                                        {"OutputOfd", "1"},
                                                        {"Grouping", "/g.xls"},
                                                        {"ConvertType", "2"},
                                                        {"ImageResolution", "7"},
                                                        {"PaperSize", "1"}});
  dialog.okButton()->click();
  EXPECT_EQ(FileBytes(), expected);
}

TEST_F(PdfDialogsTest, PdfListValueOutOfRangeShowsNothingAndStoresTheFirstEntry) {
  settings_.PDF = {0, 1, 0, "", 9, -1};
  UseFileWithoutSection("PDF");
  PdfOptionsDialog dialog(nullptr, settings_, Places());
  dialog.show();
  EXPECT_TRUE(Child<QRadioButton>(&dialog, "optOne2One")->isChecked());
  EXPECT_EQ(Child<QComboBox>(&dialog, "cboResolution")->currentIndex(), -1);
  EXPECT_EQ(Child<QComboBox>(&dialog, "cboPaperSize")->currentIndex(), -1);
  dialog.okButton()->click();
  EXPECT_EQ(settings_.PDF.ConvertType, 2);
  EXPECT_EQ(settings_.PDF.ImageResolution, 0);
  EXPECT_EQ(settings_.PDF.PaperSize, 0);
}

TEST_F(PdfDialogsTest, TwoPdfConfirmWritesTheTenKeysInOrder) {
  settings_.TwoPDF = {0, 1, 0, 0, "/g.xls", 7, 1, 2, 0};
  UseFileWithoutSection("2PDF");
  TwoPdfOptionsDialog dialog(nullptr, settings_, Places());
  dialog.show();
  // ConvertType 0 shows the one-to-one option; PaperSize 7 shows nothing.
  EXPECT_TRUE(Child<QRadioButton>(&dialog, "optOne2One")->isChecked());
  EXPECT_EQ(Child<QComboBox>(&dialog, "cboPaperSize")->currentIndex(), -1);
  EXPECT_EQ(Child<QComboBox>(&dialog, "cboImageQuality")->currentText(), QStringLiteral("最小尺寸"));

  Child<QCheckBox>(&dialog, "chkTxt")->click();
  Child<QCheckBox>(&dialog, "chkOfd")->click();
  Child<QCheckBox>(&dialog, "chkGroup")->click();  // cleared: the path is not stored
  Child<QComboBox>(&dialog, "cboImageResolution")->setCurrentIndex(2);
  const std::string expected = BytesAfterWrites("2PDF", {{"ConvertType", "2"},
                                                         {"KeepDir", "1"},
                                                         {"OutputTxt", "1"},
                                                         {"OutputTif", "0"},
                                                         {"OutputOfd", "1"},
                                                         {"Grouping", ""},
                                                         {"PaperSize", "0"},
                                                         {"TextOutputMode", "1"},
                                                         {"ImageQuality", "2"},
                                                         {"ImageResolution", "2"}});
  dialog.okButton()->click();
  EXPECT_EQ(FileBytes(), expected);
  EXPECT_EQ(settings_.TwoPDF.Grouping, "");
}

TEST_F(PdfDialogsTest, OcrConfirmWritesTheFourKeysInOrder) {
  settings_.OCR = {1, 1, 0, 0};
  UseFileWithoutSection("OCR");
  OcrOptionsDialog dialog(nullptr, settings_, Places());
  dialog.show();
  EXPECT_EQ(Child<QComboBox>(&dialog, "cboFileType")->currentText(), QStringLiteral("Word 2007以上文档"));
  Child<QRadioButton>(&dialog, "optOne2One")->click();
  Child<QComboBox>(&dialog, "cboFileType")->setCurrentIndex(2);
  Child<QComboBox>(&dialog, "cboRecognizeMode")->setCurrentIndex(3);
  Child<QCheckBox>(&dialog, "chkKeep")->click();
  const std::string expected = BytesAfterWrites("OCR", {{"ConvertType", "2"},
                                                        {"OutputType", "2"},
                                                        {"RecognizeMode", "3"},
                                                        {"KeepTextAndBackgroundColor", "1"}});
  dialog.okButton()->click();
  EXPECT_EQ(FileBytes(), expected);
}

TEST_F(PdfDialogsTest, CancelStoresNothing) {
  UseDefaultSettingsFile();
  ExpectCancelStoresNothing<PdfOptionsDialog>();
  ExpectCancelStoresNothing<TwoPdfOptionsDialog>();
  ExpectCancelStoresNothing<OcrOptionsDialog>();
}

}  // namespace
}  // namespace zelk::test
