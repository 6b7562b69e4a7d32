// The result-list viewer: which files it lists, in which order, and which
// file "查 看" and a double click open.

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>

#include "dialogs/ConvertLogsDialog.h"
#include "DialogTestSupport.h"

namespace zelk::test {
namespace {

namespace fs = std::filesystem;

class ConvertLogsTest : public DialogTest {
 protected:
  fs::path Logs() const { return dir_ / "Logs"; }
  void AddList(const std::string& name) {
    fs::create_directories(Logs());
    std::ofstream(Logs() / name) << "x\r\n";
  }
  QString PathOf(const std::string& name) const {
    return QString::fromStdString((Logs() / name).string());
  }
  static QStringList Column(const QTreeWidget* list, int column) {
    QStringList texts;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
      texts << list->topLevelItem(row)->text(column);
    }
    return texts;
  }
};

TEST_F(ConvertLogsTest, ListsEveryTxtFileNewestFirstNumberedFromOne) {
  for (const char* name : {"2026年03月07日-成功.txt", "2026年03月06日-成功.txt", "p10.txt",
                           "2026年03月06日-失败.txt", "p2.txt", "NOTES.TXT", "scan.tif"}) {
    AddList(name);
  }
  fs::create_directories(Logs() / "old.txt");  // a directory, not a list

  ConvertLogsDialog dialog(nullptr, Places());
  EXPECT_EQ(dialog.objectName(), QString("frmConvertLogs"));
  EXPECT_EQ(dialog.windowTitle(), QString("查看转换日志"));
  auto* list = Child<QTreeWidget>(&dialog, "lvwLogList");
  EXPECT_EQ(list->headerItem()->text(0), QString("序号"));
  EXPECT_EQ(list->headerItem()->text(1), QString("日志名称"));
  EXPECT_EQ(Child<QPushButton>(&dialog, "cmdView")->text(), QString("查 看"));
  EXPECT_EQ(Child<QPushButton>(&dialog, "cmdClose")->text(), QString("关 闭"));

  // The reverse of the listing order, which is natural order: the later
  // day comes first and p10 before p2.
  EXPECT_EQ(Column(list, 1),
            QStringList({"p10.txt", "p2.txt", "NOTES.TXT", "2026年03月07日-成功.txt",
                         "2026年03月06日-成功.txt", "2026年03月06日-失败.txt"}));
  EXPECT_EQ(Column(list, 0), QStringList({"1", "2", "3", "4", "5", "6"}));
}

// Lists and records of shard runs stay with their day, after the usual
// list of their kind, shards upwards; each opens like any other list.
TEST_F(ConvertLogsTest, ShardListsFollowTheListOfTheirDayAndKindByShardNumber) {
  for (const char* name :
       {"2026年03月06日-成功.txt", "2026年03月06日-成功.shard-01-of-2.txt",
        "2026年03月06日-成功.shard-00-of-2.txt", "2026年03月07日-成功.shard-10-of-16.txt",
        "2026年03月07日-成功.shard-02-of-16.txt", "2026年03月07日-失败.shard-02-of-16.txt",
        "2026年03月07日-汇总.shard-02-of-16.txt", "2026年03月07日-汇总.shard-10-of-16.txt",
        "2026年03月07日-成功.txt", "2026年03月07日-成功.shard-3-of-4.txt"}) {
    AddList(name);
  }
  ConvertLogsDialog dialog(nullptr, Places());
  auto* list = Child<QTreeWidget>(&dialog, "lvwLogList");
  EXPECT_EQ(Column(list, 1),
            QStringList({"2026年03月07日-汇总.shard-02-of-16.txt",
                         "2026年03月07日-汇总.shard-10-of-16.txt",
                         "2026年03月07日-成功.txt", "2026年03月07日-成功.shard-02-of-16.txt",
                         "2026年03月07日-成功.shard-10-of-16.txt",
                         // not a name a run writes: ordered as any other file
                         "2026年03月07日-成功.shard-3-of-4.txt",
                         "2026年03月07日-失败.shard-02-of-16.txt", "2026年03月06日-成功.txt",
                         "2026年03月06日-成功.shard-00-of-2.txt",
                         "2026年03月06日-成功.shard-01-of-2.txt"}));

  list->topLevelItem(0)->setSelected(true);
  Child<QPushButton>(&dialog, "cmdView")->click();
  EXPECT_EQ(services_.opened,
            std::vector<QString>({PathOf("2026年03月07日-汇总.shard-02-of-16.txt")}));
}

TEST_F(ConvertLogsTest, ViewOpensTheSelectedRowOrTheFirstWhenNoneIsSelected) {
  for (const char* name : {"2026年03月06日-成功.txt", "2026年03月07日-成功.txt",
                           "2026年03月08日-失败.txt"}) {
    AddList(name);
  }
  ConvertLogsDialog dialog(nullptr, Places());
  auto* list = Child<QTreeWidget>(&dialog, "lvwLogList");
  auto* view = Child<QPushButton>(&dialog, "cmdView");
  ASSERT_TRUE(list->selectedItems().isEmpty());

  view->click();
  list->topLevelItem(2)->setSelected(true);
  view->click();
  emit list->itemDoubleClicked(list->topLevelItem(1), 0);

  EXPECT_EQ(services_.opened,
            std::vector<QString>({PathOf("2026年03月08日-失败.txt"),
                                  PathOf("2026年03月06日-成功.txt"),
                                  PathOf("2026年03月07日-成功.txt")}));
}

TEST_F(ConvertLogsTest, NoLogsDirectoryGivesAnEmptyListAndViewDoesNothing) {
  ConvertLogsDialog dialog(nullptr, Places());
  EXPECT_EQ(Child<QTreeWidget>(&dialog, "lvwLogList")->topLevelItemCount(), 0);
  Child<QPushButton>(&dialog, "cmdView")->click();
  EXPECT_TRUE(services_.opened.empty());
  EXPECT_TRUE(ListResultLists((Logs() / "missing").string()).empty());
}

TEST_F(ConvertLogsTest, WithoutAnOpenerTheListIsShownReadOnlyInsideTheViewer) {
  fs::create_directories(Logs());
  // Two lines in UTF-8 with CR LF ends, and one byte that is not UTF-8.
  std::ofstream(Logs() / "2026年03月07日-失败.txt", std::ios::binary)
      << "/srv/扫描/卷001\r\n/srv/扫描/卷\xff" "2\r\n";
  services_.openerPresent = false;
  ConvertLogsDialog dialog(nullptr, Places());
  Child<QPushButton>(&dialog, "cmdView")->click();

  ASSERT_EQ(services_.opened.size(), 1u);  // the desktop was asked first
  EXPECT_TRUE(services_.messages.empty());
  auto* view = dialog.findChild<QPlainTextEdit*>("txtContent");
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(view->isReadOnly());
  EXPECT_TRUE(view->window()->isVisible());
  EXPECT_FALSE(view->window()->isModal());
  EXPECT_EQ(view->window()->windowTitle(), QStringLiteral("2026年03月07日-失败.txt"));
  EXPECT_EQ(view->toPlainText(), QStringLiteral("/srv/扫描/卷001\n/srv/扫描/卷\uFFFD2\n"));

  // A list that went away meanwhile cannot be shown either: that is said.
  services_.opened.clear();
  fs::remove(Logs() / "2026年03月07日-失败.txt");
  Child<QPushButton>(&dialog, "cmdView")->click();
  ASSERT_EQ(services_.messages.size(), 1u);
  EXPECT_TRUE(services_.messages[0].text.contains(PathOf("2026年03月07日-失败.txt")));
}

TEST_F(ConvertLogsTest, ShownModallyUntilClosed) {
  AddList("2026年03月06日-成功.txt");
  bool wasModal = false;
  OnNextModalDialog([&](QWidget* dialog) {
    wasModal = dialog->objectName() == QString("frmConvertLogs") && dialog->isModal();
    Child<QPushButton>(dialog, "cmdClose")->click();
  });
  EXPECT_FALSE(ShowConvertLogs(nullptr, settings_, Places()));
  EXPECT_TRUE(wasModal);
  EXPECT_TRUE(services_.opened.empty());
}

}  // namespace
}  // namespace zelk::test
