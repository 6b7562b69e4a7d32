#include "dialogs/MergeOptionsDialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "DialogTestSupport.h"
#include "dialogs/DialogWidgets.h"
#include "support/TempDir.h"

namespace zelk::test {
namespace {

class MergeOptionsDialogTest : public DialogTest {
 protected:
  void Open() {
    dialog_ = std::make_unique<MergeOptionsDialog>(nullptr, settings_, Places());
    dialog_->show();
  }
  QCheckBox* Box(const char* name) { return Child<QCheckBox>(dialog_.get(), name); }
  QLineEdit* Path() { return Child<QLineEdit>(dialog_.get(), "txtTemplate"); }
  QPushButton* Button(const char* name) { return Child<QPushButton>(dialog_.get(), name); }

  std::unique_ptr<MergeOptionsDialog> dialog_;
};

TEST_F(MergeOptionsDialogTest, ConfirmWritesTheFourKeysInOrder) {
  settings_.Merge = {1, 0, 0, ""};
  UseFileWithoutSection("Merge");
  Open();
  EXPECT_TRUE(Box("chkTif")->isChecked());
  EXPECT_FALSE(Box("chkJpg")->isChecked());
  EXPECT_FALSE(Box("chkGroup")->isChecked());
  EXPECT_TRUE(Path()->text().isEmpty());

  Box("chkJpg")->click();
  Box("chkDir")->click();
  Box("chkGroup")->click();
  Path()->setText(QStringLiteral("/数据/分件.xls"));
  const std::string expected = BytesAfterWrites(
      "Merge", {{"Tif", "1"}, {"Jpg", "1"}, {"KeepDir", "1"}, {"Grouping", "/数据/分件.xls"}});
  dialog_->okButton()->click();

  EXPECT_EQ(dialog_->result(), QDialog::Accepted);
  EXPECT_EQ(FileBytes(), expected);
  EXPECT_EQ(settings_.Merge.Grouping, "/数据/分件.xls");
  EXPECT_EQ(settings_.Merge.KeepDir, 1);
}

TEST_F(MergeOptionsDialogTest, BothTypesClearIsRefusedAndNothingChanges) {
  UseDefaultSettingsFile();
  const std::string before = FileBytes();
  Open();
  Box("chkTif")->setChecked(false);
  Box("chkJpg")->setChecked(false);
  Box("chkDir")->setChecked(false);
  dialog_->okButton()->click();

  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0].text, QStringLiteral("必须选择一个要合并的文件类型！    "));
  EXPECT_EQ(services_.messages[0].title, QStringLiteral("提示信息"));
  EXPECT_EQ(services_.messages[0].icon, MessageIcon::Warning);
  EXPECT_TRUE(dialog_->isVisible());
  EXPECT_EQ(FileBytes(), before);
  EXPECT_EQ(settings_.Merge.Tif, 1);
  EXPECT_EQ(settings_.Merge.KeepDir, 1);
}

TEST_F(MergeOptionsDialogTest, GroupingIsStoredOnlyWithATickAndAPath) {
  settings_.Merge = {1, 1, 0, "/old/分件.xls"};
  UseFileWithoutSection("Merge");
  Open();
  EXPECT_TRUE(Box("chkGroup")->isChecked());
  EXPECT_EQ(Path()->text(), QStringLiteral("/old/分件.xls"));

  // Cleared: empty, although the box still shows the path.
  Box("chkGroup")->click();
  dialog_->okButton()->click();
  EXPECT_EQ(settings_.Merge.Grouping, "");

  // Ticked with an empty path: empty, so no grouping; the next opening
  // shows the box clear.
  Open();
  Box("chkGroup")->click();
  Path()->clear();
  dialog_->okButton()->click();
  EXPECT_EQ(settings_.Merge.Grouping, "");
  Open();
  EXPECT_FALSE(Box("chkGroup")->isChecked());
}

TEST_F(MergeOptionsDialogTest, PickerFillsThePathAndOpenShowsTheTemplate) {
  UseDefaultSettingsFile();
  Open();
  Path()->setText("/kept.xls");
  services_.nextPick = std::nullopt;  // cancelled: the text stays
  Button("cmdTemplate")->click();
  EXPECT_EQ(Path()->text(), "/kept.xls");

  services_.nextPick = QStringLiteral("/数据/新.xlsx");
  Button("cmdTemplate")->click();
  EXPECT_EQ(Path()->text(), QStringLiteral("/数据/新.xlsx"));
  EXPECT_FALSE(Box("chkGroup")->isChecked());  // choosing does not tick it
  ASSERT_EQ(services_.pickerTitles.size(), 2u);
  EXPECT_EQ(services_.pickerTitles[1], QStringLiteral("选择分件数据文件"));
  EXPECT_EQ(services_.pickerFilters[1],
            QStringLiteral("97-2003Excel(*.xls)|*.xls|2007以上Excel(*.xlsx)|*.xlsx"));

  Button("cmdTemplateFile")->click();
  ASSERT_EQ(services_.opened.size(), 1u);
  const QString templatePath = QString::fromStdString((dir_ / "template.xls").string());
  EXPECT_EQ(services_.opened[0], templatePath);
  EXPECT_TRUE(services_.messages.empty());

  // Without a program to open it with, the user is told, with the path.
  services_.openerPresent = false;
  Button("cmdTemplateFile")->click();
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_EQ(services_.messages[0].icon, MessageIcon::Warning);
  EXPECT_EQ(services_.messages[0].title, QStringLiteral("提示信息"));
  EXPECT_TRUE(services_.messages[0].text.contains(templatePath)) << services_.messages[0].text.toStdString();
}

// Under an installed program the user's own copy of the shipped template
// is opened, made on the first click; with nothing shipped nothing opens.
TEST_F(MergeOptionsDialogTest, AnInstalledProgramOpensTheUsersCopyOfTheTemplate) {
  UseDefaultSettingsFile();
  PlaceFacts facts;
  facts.ExecutableDir = (dir_ / "usr" / "bin").string();
  facts.SharedDataInstalled = true;
  facts.Home = (dir_ / "home").string();
  const ProgramPlaces places = DecidePlaces(facts);
  std::filesystem::create_directories(dir_ / "usr" / "share" / "zelk");
  WriteBytes(dir_ / "usr" / "share" / "zelk" / "template.xls", "shipped");
  const QString copy = QString::fromStdString(places.TemplateWorkbook());
  MergeOptionsDialog dialog(nullptr, settings_, places);

  Child<QPushButton>(&dialog, "cmdTemplateFile")->click();
  ASSERT_EQ(services_.opened, std::vector<QString>{copy});
  EXPECT_EQ(ReadBytes(places.TemplateWorkbook()), "shipped");
  EXPECT_TRUE(services_.messages.empty());

  std::filesystem::remove(places.TemplateWorkbook());
  std::filesystem::remove(dir_ / "usr" / "share" / "zelk" / "template.xls");
  Child<QPushButton>(&dialog, "cmdTemplateFile")->click();
  EXPECT_EQ(services_.opened.size(), 1u) << "no program is started on a missing file";
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_TRUE(services_.messages[0].text.contains(copy))
      << services_.messages[0].text.toStdString();
}

TEST_F(MergeOptionsDialogTest, CompressionStoredFromHereSurvivesCancel) {
  UseDefaultSettingsFile();
  const std::string expected = BytesAfterWrites("ImageCompress", {{"Tif1Compress", "4"},
                                                                  {"Tif2Compress", "1"},
                                                                  {"Tif2Quality", "0"},
                                                                  {"Tif2QualityValue", "75"},
                                                                  {"JpgCompress", "0"},
                                                                  {"JpgQuality", "0"},
                                                                  {"JpgQualityValue", "75"}});
  Open();
  Box("chkJpg")->click();
  OnNextModalDialog([](QWidget* compression) {
    EXPECT_EQ(compression->objectName(), "frmImageCompressOptions");
    Child<QRadioButton>(compression, ArrayName("optTif1Compress", 4))->click();
    Child<QPushButton>(compression, "cmdOK")->click();
  });
  Button("cmdImageCompress")->click();
  dialog_->cancelButton()->click();

  EXPECT_EQ(settings_.ImageCompress.Tif1Compress, 4);
  EXPECT_EQ(settings_.Merge.Jpg, 1);  // the shipped value, not the click
  EXPECT_EQ(FileBytes(), expected);
}

TEST_F(MergeOptionsDialogTest, CancelAndCloseLeaveTheFileAlone) {
  UseDefaultSettingsFile();
  const std::string before = FileBytes();
  for (bool viaClose : {false, true}) {
    Open();
    Box("chkDir")->click();
    Box("chkGroup")->click();
    Path()->setText("/x.xls");
    viaClose ? static_cast<void>(dialog_->close()) : dialog_->cancelButton()->click();
    EXPECT_EQ(FileBytes(), before);
    EXPECT_EQ(settings_.Merge.KeepDir, 1);
    EXPECT_EQ(settings_.Merge.Grouping, "");
  }
}

}  // namespace
}  // namespace zelk::test
