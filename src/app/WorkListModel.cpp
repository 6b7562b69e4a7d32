#include "app/WorkListModel.h"

namespace zelk {

WorkListModel::WorkListModel(QObject* parent) : QAbstractTableModel(parent) {}

int WorkListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int WorkListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant WorkListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || !IsRow(index.row())) return {};
  const Row& row = rows_[static_cast<size_t>(index.row())];
  if (role == Qt::DisplayRole) {
    switch (index.column()) {
      case kNumberColumn: return QString::number(index.row() + 1);
      case kPathColumn: return row.path;
      case kPagesColumn:
        return row.pageCount == kUnknownPageCount ? QStringLiteral("?")
                                                  : QString::number(row.pageCount);
      case kStatusColumn: return row.status;
      default: return {};
    }
  }
  if (role == Qt::ToolTipRole && index.column() == kPathColumn) return row.path;
  if (role == Qt::ToolTipRole && index.column() == kStatusColumn && !row.failureReason.isEmpty()) {
    return row.failureReason;
  }
  if (role == Qt::TextAlignmentRole &&
      (index.column() == kNumberColumn || index.column() == kPagesColumn)) {
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  }
  return {};
}

QVariant WorkListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case kNumberColumn: return QStringLiteral("序号");
    case kPathColumn: return QStringLiteral("文档图像");
    case kPagesColumn: return QStringLiteral("页数");
    case kStatusColumn: return QStringLiteral("状态");
    default: return {};
  }
}

QString WorkListModel::Key(int row) const {
  return IsRow(row) ? QStringLiteral("D%1").arg(row + 1) : QString();
}

QString WorkListModel::Path(int row) const {
  return IsRow(row) ? rows_[static_cast<size_t>(row)].path : QString();
}

int WorkListModel::PageCount(int row) const {
  return IsRow(row) ? rows_[static_cast<size_t>(row)].pageCount : kUnknownPageCount;
}

QString WorkListModel::Status(int row) const {
  return IsRow(row) ? rows_[static_cast<size_t>(row)].status : QString();
}

QString WorkListModel::FailureReason(int row) const {
  return IsRow(row) ? rows_[static_cast<size_t>(row)].failureReason : QString();
}

void WorkListModel::Clear() {
  if (rows_.empty()) return;
  beginResetModel();
  rows_.clear();
  endResetModel();
}

int WorkListModel::AppendRow(const QString& path, int pageCount) {
  const int row = static_cast<int>(rows_.size());
  beginInsertRows(QModelIndex(), row, row);
  rows_.push_back({path, pageCount, QString(), QString()});
  endInsertRows();
  return row;
}

void WorkListModel::SetStatus(int row, const QString& status) {
  if (!IsRow(row)) return;
  rows_[static_cast<size_t>(row)].status = status;
  const QModelIndex cell = index(row, kStatusColumn);
  emit dataChanged(cell, cell, {Qt::DisplayRole});
}

void WorkListModel::SetFailureReason(int row, const QString& reason) {
  if (!IsRow(row)) return;
  rows_[static_cast<size_t>(row)].failureReason = reason;
  const QModelIndex cell = index(row, kStatusColumn);
  emit dataChanged(cell, cell, {Qt::ToolTipRole});
}

}  // namespace zelk
