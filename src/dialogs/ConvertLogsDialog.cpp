#include "dialogs/ConvertLogsDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "dialogs/DialogServices.h"
#include "dialogs/DialogWidgets.h"
#include "dialogs/TextFileViewer.h"
#include "run/ResultLog.h"
#include "scan/DirectoryListing.h"
#include "scan/NaturalOrder.h"

namespace zelk {
namespace {

constexpr int kPathRole = Qt::UserRole;

bool HasTxtExtension(const std::string& name) {
  if (name.size() < 4) return false;
  return QString::fromStdString(name.substr(name.size() - 4)).compare(
             QStringLiteral(".txt"), Qt::CaseInsensitive) == 0;
}

// The order of rows: the name with its shard taken out descending, so the
// newest day comes first; of one day and kind the usual list, then the
// shards upwards.
bool ComesFirst(const std::string& a, const std::string& b) {
  const std::optional<ShardListParts> shardA = ParseShardListName(a);
  const std::optional<ShardListParts> shardB = ParseShardListName(b);
  const std::string& listA = shardA ? shardA->ListName : a;
  const std::string& listB = shardB ? shardB->ListName : b;
  if (listA != listB) return NaturalLess(listB, listA);
  if (!shardA || !shardB) return !shardA && shardB;
  if (shardA->Which.Count != shardB->Which.Count) return shardA->Which.Count < shardB->Which.Count;
  return shardA->Which.Index < shardB->Which.Index;
}

}  // namespace

std::vector<std::string> ListResultLists(const std::string& logsDir) {
  std::vector<std::string> paths;
  for (const DirEntry& entry : ListDirectory(logsDir)) {
    if (entry.IsFile() && HasTxtExtension(entry.Name)) {
      paths.push_back(JoinPath(logsDir, entry.Name));
    }
  }
  return paths;
}

ConvertLogsDialog::ConvertLogsDialog(QWidget* parent, const ProgramPlaces& places)
    : QDialog(parent),
      lvwLogList_(new QTreeWidget(this)),
      cmdView_(MakeButton("cmdView", QStringLiteral("查 看"))),
      cmdClose_(MakeButton("cmdClose", QStringLiteral("关 闭"))) {
  setObjectName(QStringLiteral("frmConvertLogs"));
  setWindowTitle(QStringLiteral("查看转换日志"));
  setModal(true);

  lvwLogList_->setObjectName(QStringLiteral("lvwLogList"));
  lvwLogList_->setHeaderLabels({QStringLiteral("序号"), QStringLiteral("日志名称")});
  lvwLogList_->setRootIsDecorated(false);
  lvwLogList_->setUniformRowHeights(true);
  lvwLogList_->setSelectionMode(QAbstractItemView::SingleSelection);
  lvwLogList_->header()->setStretchLastSection(true);
  lvwLogList_->setColumnWidth(0, fontMetrics().horizontalAdvance(QStringLiteral("序号")) + 32);

  const std::string& logs = places.LogsDir;
  std::vector<std::string> names;
  for (const std::string& path : ListResultLists(logs)) {
    names.push_back(path.substr(path.rfind('/') + 1));
  }
  std::sort(names.begin(), names.end(), ComesFirst);
  int number = 0;
  for (const std::string& name : names) {
    auto* row = new QTreeWidgetItem(
        lvwLogList_, {QString::number(++number), QString::fromStdString(name)});
    row->setData(0, kPathRole, QString::fromStdString(JoinPath(logs, name)));
    row->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
  }

  cmdView_->setDefault(true);
  connect(cmdView_, &QPushButton::clicked, this, &ConvertLogsDialog::ViewSelected);
  connect(lvwLogList_, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* row) { Open(row); });
  connect(cmdClose_, &QPushButton::clicked, this, &QDialog::close);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdView_);
  buttons->addWidget(cmdClose_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lvwLogList_, 1);
  layout->addLayout(buttons);
  resize(440, 360);
}

// With rows but none selected, the first row (the newest list) is meant:
// it is the one the user sees at the top.
void ConvertLogsDialog::ViewSelected() {
  if (lvwLogList_->topLevelItemCount() == 0) return;
  const QList<QTreeWidgetItem*> selected = lvwLogList_->selectedItems();
  Open(selected.isEmpty() ? lvwLogList_->topLevelItem(0) : selected.first());
}

// Without a program on the desktop to open the list with, the list is
// shown here, read-only; only a list that cannot even be read is reported.
void ConvertLogsDialog::Open(const QTreeWidgetItem* row) {
  if (row == nullptr) return;
  const QString path = row->data(0, kPathRole).toString();
  if (Services().OpenDocument(path)) return;
  if (ShowTextFile(this, path) == nullptr) ShowCannotOpen(Services(), this, path);
}

bool ShowConvertLogs(QWidget* parent, Settings& settings, const ProgramPlaces& places) {
  (void)settings;
  ConvertLogsDialog dialog(parent, places);
  dialog.exec();
  return false;
}

}  // namespace zelk
