#pragma once
// frmConvertLogs "查看转换日志": the result lists the runs wrote into
// the Logs directory, one row per .txt file, and opening the chosen
// one with the program the desktop associates with it, or in a built-in
// read-only view when the desktop has none.
//
// Rows run in the reverse of the listing order (natural order of the
// names), so the newest day's lists of the form yyyy年MM月dd日-成功.txt come
// first.  The lists of shard runs (yyyy年MM月dd日-成功.shard-03-of-16.txt,
// and the day's records -汇总.shard-…) follow the list of their kind and
// day, by shard number upwards.  The list is read once when the dialog
// opens.

#include <QDialog>
#include <string>
#include <vector>

#include "platform/ProgramPlaces.h"
#include "settings/Settings.h"

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace zelk {

// Full paths of the .txt files (extension in any letter case) directly in
// `logsDir`, in listing order; empty when the directory is missing or
// cannot be listed.
std::vector<std::string> ListResultLists(const std::string& logsDir);

class ConvertLogsDialog : public QDialog {
 public:
  ConvertLogsDialog(QWidget* parent, const ProgramPlaces& places);

  // "查 看" and a double click: the selected row's file, or the first row's
  // when none is selected; nothing when the list is empty.
  void ViewSelected();

 private:
  void Open(const QTreeWidgetItem* row);

  QTreeWidget* lvwLogList_;
  QPushButton* cmdView_;
  QPushButton* cmdClose_;
};

// Shows the viewer modally over `parent`.  Nothing is confirmed there, so
// it returns false; `settings` is not used.
bool ShowConvertLogs(QWidget* parent, Settings& settings, const ProgramPlaces& places);

}  // namespace zelk
