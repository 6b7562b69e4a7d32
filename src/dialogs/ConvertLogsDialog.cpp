#include "dialogs/ConvertLogsDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "dialogs/DialogServices.h"
#include "dialogs/DialogWidgets.h"
#include "dialogs/TextFileViewer.h"
#include "run/ResultLog.h"
#include "scan/DirectoryListing.h"

namespace zelk {
namespace {

constexpr int kPathRole = Qt::UserRole;

bool HasTxtExtension(const std::string& name) {
  if (name.size() < 4) return false;
  return QString::fromStdString(name.substr(name.size() - 4)).compare(
             QStringLiteral(".txt"), Qt::CaseInsensitive) == 0;
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

ConvertLogsDialog::ConvertLogsDialog(QWidget* parent, const std::string& programDir)
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

  const std::vector<std::string> lists = ListResultLists(JoinPath(programDir, kLogsDirName));
  int number = 0;
  for (auto path = lists.rbegin(); path != lists.rend(); ++path) {
    const std::string name = path->substr(path->rfind('/') + 1);
    auto* row = new QTreeWidgetItem(
        lvwLogList_, {QString::number(++number), QString::fromStdString(name)});
    row->setData(0, kPathRole, QString::fromStdString(*path));
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

bool ShowConvertLogs(QWidget* parent, Settings& settings, const std::string& programDir) {
  (void)settings;
  ConvertLogsDialog dialog(parent, programDir);
  dialog.exec();
  return false;
}

}  // namespace zelk
