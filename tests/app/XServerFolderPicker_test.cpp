// The folder pickers on a real X server (Xvfb, with whatever platform theme
// the environment names): each opens inside the folder its box names and
// lists that folder's own sub-folders, with the name field empty, so that
// the choose button gives that very folder back.  Run by
// tests/app/xvfb_schedule.sh; on any other platform the test skips.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <filesystem>

#include "app/FolderPicker.h"
#include "AppTestSupport.h"

namespace zelk::test {
namespace {

namespace fs = std::filesystem;

TEST(XServerFolderPickerTest, BothPickersOpenInsideTheFolderTheBoxNames) {
  if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
    GTEST_SKIP() << "needs a real X server: run tests/app/xvfb_schedule.sh";
  }
  TempProgramDir dir;
  const std::string folder = (dir.Path() / "扫描 2024").string();
  fs::create_directories(dir.Path() / "扫描 2024" / "卷001");
  for (const bool output : {false, true}) {
    FolderDialog picker(nullptr, "请选择待转换图像目录：", FolderPickerStart(QString::fromStdString(folder + "/")),
                        output);
    picker.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&picker));
    auto* list = picker.findChild<QListView*>("listView");
    ASSERT_NE(list, nullptr);
    auto* model = qobject_cast<QFileSystemModel*>(list->model());
    ASSERT_NE(model, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->rowCount(list->rootIndex()) == 1; }));
    EXPECT_EQ(model->filePath(list->rootIndex()).toStdString(), folder);
    EXPECT_EQ(model->fileName(model->index(0, 0, list->rootIndex())).toStdString(), "卷001");
    EXPECT_EQ(picker.findChild<QComboBox*>("lookInCombo")->currentText().toStdString(), folder);
    EXPECT_EQ(picker.findChild<QLineEdit*>("fileNameEdit")->text().toStdString(), "");
    picker.accept();
    EXPECT_EQ(picker.result(), QDialog::Accepted);
    EXPECT_EQ(picker.ChosenFolder().toStdString(), folder) << (output ? "output" : "source") << " picker";
  }
}

}  // namespace
}  // namespace zelk::test
