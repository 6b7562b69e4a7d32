#pragma once
// The work list shown in lvwDocList: one row per directory or file a run
// will process, with the columns "序号" (number from 1), "文档图像" (full
// path), "页数" (page count) and "状态" (the job's status word).  A failed
// row keeps why it failed, as the tooltip of its "状态" cell.
//
// The engine keeps its own list of work items; this model mirrors it for the
// window.  The worker thread feeds it through queued calls of the slots
// below, so they all run on the window's thread.

#include <QAbstractTableModel>
#include <QString>
#include <vector>

#include "scan/WorkList.h"

namespace zelk {

class WorkListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kNumberColumn, kPathColumn, kPagesColumn, kStatusColumn, kColumnCount };

  // A page count that could not be read; "页数" shows "?" for it, as the
  // engine's own rows do.
  static constexpr int kUnknownPageCount = WorkRow::kUnknownPages;

  explicit WorkListModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

  // The row's key: "D" followed by its number.
  QString Key(int row) const;
  QString Path(int row) const;
  int PageCount(int row) const;
  QString Status(int row) const;
  // Why the row failed; empty for a row that has not failed.
  QString FailureReason(int row) const;

 public slots:
  void Clear();
  // Adds a row numbered one past the last; returns its index.
  int AppendRow(const QString& path, int pageCount);
  // Out-of-range rows are ignored.
  void SetStatus(int row, const QString& status);
  void SetFailureReason(int row, const QString& reason);

 private:
  struct Row {
    QString path;
    int pageCount;
    QString status;
    QString failureReason;
  };
  bool IsRow(int row) const { return row >= 0 && row < static_cast<int>(rows_.size()); }

  std::vector<Row> rows_;
};

}  // namespace zelk
