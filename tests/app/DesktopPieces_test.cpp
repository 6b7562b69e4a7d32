// The desktop pieces on their own: the folder picker's start and its new
// output folder, the screen check of a kept placement, the per-user
// preferences file, Qt's Chinese texts and the program icon.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTranslator>
#include <filesystem>
#include <fstream>

#include "app/DesktopLook.h"
#include "app/FolderPicker.h"
#include "app/WindowPlacement.h"
#include "app/WindowPreferences.h"
#include "AppTestSupport.h"

namespace zelk::test {
namespace {

namespace fs = std::filesystem;

QString Native(const fs::path& path) { return QString::fromStdString(path.string()); }

TEST(FolderPickerTest, StartsAtTheBoxsDirectoryOrTheNearestAboveOrElseAtHome) {
  TempProgramDir dir;
  fs::create_directories(dir.Path() / "扫描 2024");
  std::ofstream(dir.Path() / "file.txt") << "x";
  EXPECT_EQ(FolderPickerStart(Native(dir.Path() / "扫描 2024")), Native(dir.Path() / "扫描 2024"));
  EXPECT_EQ(FolderPickerStart("  " + Native(dir.Path()) + " "), Native(dir.Path()));
  EXPECT_EQ(FolderPickerStart(""), QDir::homePath());
  // A folder not made yet, or a file, opens at the nearest folder above it.
  EXPECT_EQ(FolderPickerStart(Native(dir.Path() / "missing" / "新")), Native(dir.Path()));
  EXPECT_EQ(FolderPickerStart(Native(dir.Path() / "file.txt")), Native(dir.Path()));
  EXPECT_EQ(FolderPickerStart("/no-such-folder/x"), QDir::homePath());
}

TEST(FolderPickerTest, OutputPickerTakesANameTypedForAFolderThatDoesNotExistYet) {
  TempProgramDir dir;
  fs::create_directories(dir.Path() / "old");
  FolderDialog dialog(nullptr, "请选择待转换图像目录：", Native(dir.Path()), true);
  EXPECT_EQ(dialog.directory().absolutePath(), Native(dir.Path()));
  auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
  ASSERT_NE(name, nullptr);
  auto* box = dialog.findChild<QDialogButtonBox*>("buttonBox");
  ASSERT_NE(box, nullptr);
  QPushButton* choose = box->button(QDialogButtonBox::Open);
  ASSERT_NE(choose, nullptr);

  dialog.show();
  name->setText("新目录");
  QApplication::processEvents();
  EXPECT_TRUE(choose->isEnabled());
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.ChosenFolder(), Native(dir.Path() / "新目录"));
  EXPECT_FALSE(fs::exists(dir.Path() / "新目录"));  // the run makes it

  // The source picker wants an existing folder: the button stays off.
  FolderDialog source(nullptr, "请选择待转换图像目录：", Native(dir.Path()), false);
  source.show();
  auto* sourceName = source.findChild<QLineEdit*>("fileNameEdit");
  sourceName->setText("新目录");
  QApplication::processEvents();
  EXPECT_FALSE(source.findChild<QDialogButtonBox*>("buttonBox")
                   ->button(QDialogButtonBox::Open)
                   ->isEnabled());
  sourceName->setText("old");
  QApplication::processEvents();
  source.accept();
  EXPECT_EQ(source.result(), QDialog::Accepted);
  EXPECT_EQ(source.ChosenFolder(), Native(dir.Path() / "old"));
}

TEST(WindowPlacementTest, APlaceCountsOnlyWhenItsTopEdgeCanBeGrabbedOnAScreen) {
  const QList<QRect> twoScreens = {QRect(0, 0, 1920, 1050), QRect(1920, 0, 1280, 1000)};
  EXPECT_TRUE(ReachableOnScreens(QRect(100, 100, 800, 600), twoScreens));
  EXPECT_TRUE(ReachableOnScreens(QRect(2000, 50, 800, 600), twoScreens));  // second screen
  // Hanging off the left with enough of the title bar left to grab.
  EXPECT_TRUE(ReachableOnScreens(QRect(-600, 10, 800, 600), twoScreens));
  // The second screen was unplugged.
  EXPECT_FALSE(ReachableOnScreens(QRect(2000, 50, 800, 600), {twoScreens[0]}));
  // Only a sliver left, or the title bar above the top of the screens.
  EXPECT_FALSE(ReachableOnScreens(QRect(1860, 10, 800, 600), {twoScreens[0]}));
  EXPECT_FALSE(ReachableOnScreens(QRect(100, -200, 800, 600), twoScreens));
  EXPECT_FALSE(ReachableOnScreens(QRect(), twoScreens));
  EXPECT_FALSE(ReachableOnScreens(QRect(100, 100, 800, 600), {}));
}

TEST(WindowPreferencesTest, KeepsGeometryAndAutostartInTheUsersConfigDirectory) {
  ScopedConfigHome home;
  EXPECT_EQ(WindowPreferencesPath(), Native(home.Path() / "zelk/window.ini"));
  {
    const WindowPreferences fresh;
    EXPECT_FALSE(fresh.Geometry().has_value());
    EXPECT_FALSE(fresh.Maximized());
    EXPECT_TRUE(fresh.AutostartWanted());
  }
  WindowPreferences preferences;
  preferences.SetGeometry(QRect(10, 20, 640, 480), true);
  preferences.SetAutostartWanted(false);
  const WindowPreferences again;
  EXPECT_EQ(again.Geometry(), QRect(10, 20, 640, 480));
  EXPECT_TRUE(again.Maximized());
  EXPECT_FALSE(again.AutostartWanted());

  // A damaged file reads as nothing kept.
  std::ofstream(home.Path() / "zelk/window.ini", std::ios::trunc) << "[Window]\nGeometry=garbage\n";
  EXPECT_FALSE(WindowPreferences().Geometry().has_value());
  EXPECT_TRUE(WindowPreferences().AutostartWanted());

  // Without a home nothing is kept and nothing fails.
  WindowPreferences nowhere{QString()};
  nowhere.SetGeometry(QRect(1, 2, 300, 200), false);
  nowhere.SetAutostartWanted(false);
  EXPECT_FALSE(nowhere.Geometry().has_value());
  EXPECT_TRUE(nowhere.AutostartWanted());
}

TEST(DesktopLookTest, QtsOwnTextsComeInChineseWhenTheTranslationsAreInstalled) {
  const QString file =
      QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_zh_CN.qm";
  if (!QFileInfo::exists(file)) GTEST_SKIP() << "no " << file.toStdString();
  QTranslator* translator = InstallQtChinese(*qApp);
  ASSERT_NE(translator, nullptr);
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "OK"), QString("确定"));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("取消"));
  QCoreApplication::removeTranslator(translator);
  delete translator;
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "OK"), QString("OK"));
}

TEST(DesktopLookTest, TheIconIsBuiltInAndItsFileIsFoundBesideTheProgram) {
  TempProgramDir dir;
  EXPECT_EQ(ApplicationIconFile(dir.Places()), QString());
  std::ofstream(dir.Path() / "zelk.svg") << "<svg/>";
  EXPECT_EQ(ApplicationIconFile(dir.Places()), Native(dir.Path() / "zelk.svg"));

  const QIcon icon = ApplicationIcon();
  if (icon.isNull()) GTEST_SKIP() << "Qt's svg image plugin is not installed";
  const QImage picture = icon.pixmap(64, 64).toImage();
  ASSERT_FALSE(picture.isNull());
  // Drawn, not empty: the middle of the front page is white, a corner of
  // the square is left transparent.
  EXPECT_EQ(picture.pixelColor(20, 50).rgb(), QColor(Qt::white).rgb());
  EXPECT_EQ(picture.pixelColor(1, 1).alpha(), 0);
  if (const char* binDir = std::getenv("ZELK_BIN_DIR")) {
    const QString out = QDir(QString::fromLocal8Bit(binDir)).absoluteFilePath("../screenshots");
    QDir().mkpath(out);
    icon.pixmap(128, 128).save(out + "/icon.png");
  }
}

}  // namespace
}  // namespace zelk::test
