#include "app/WorkListModel.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

namespace zelk {
namespace {

QString Cell(const WorkListModel& model, int row, int column) {
  return model.data(model.index(row, column)).toString();
}

TEST(WorkListModel, RowsAreNumberedFromOneWithKeysPathsPagesAndStatus) {
  WorkListModel model;
  EXPECT_EQ(model.AppendRow("/src/卷1", 12), 0);
  EXPECT_EQ(model.AppendRow("/src/卷2/a.tif", WorkListModel::kUnknownPageCount), 1);

  ASSERT_EQ(model.rowCount(), 2);
  ASSERT_EQ(model.columnCount(), 4);
  EXPECT_EQ(Cell(model, 0, WorkListModel::kNumberColumn), QString("1"));
  EXPECT_EQ(Cell(model, 1, WorkListModel::kNumberColumn), QString("2"));
  EXPECT_EQ(Cell(model, 0, WorkListModel::kPathColumn), QString("/src/卷1"));
  EXPECT_EQ(Cell(model, 0, WorkListModel::kPagesColumn), QString("12"));
  EXPECT_EQ(Cell(model, 1, WorkListModel::kPagesColumn), QString("?"));
  EXPECT_EQ(Cell(model, 0, WorkListModel::kStatusColumn), QString(""));
  EXPECT_EQ(model.Key(1), QString("D2"));
  EXPECT_EQ(model.Path(1), QString("/src/卷2/a.tif"));

  const QStringList headers{"序号", "文档图像", "页数", "状态"};
  for (int column = 0; column < 4; ++column) {
    EXPECT_EQ(model.headerData(column, Qt::Horizontal).toString(), headers[column]);
  }
  // A flat list: no row has children.
  EXPECT_EQ(model.rowCount(model.index(0, 0)), 0);
}

TEST(WorkListModel, StatusUpdatesNotifyTheViewAndIgnoreRowsThatDoNotExist) {
  WorkListModel model;
  model.AppendRow("/a", 1);
  model.AppendRow("/b", 2);
  QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

  model.SetStatus(1, "合并...");
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed[0][0].value<QModelIndex>(), model.index(1, WorkListModel::kStatusColumn));
  EXPECT_EQ(model.Status(1), QString("合并..."));
  EXPECT_EQ(model.Status(0), QString(""));

  model.SetStatus(2, "x");
  model.SetStatus(-1, "x");
  EXPECT_EQ(changed.count(), 1);
  EXPECT_EQ(model.Key(5), QString());
  EXPECT_EQ(model.PageCount(5), WorkListModel::kUnknownPageCount);
}

TEST(WorkListModel, ClearEmptiesTheListAndNumberingStartsAgain) {
  WorkListModel model;
  model.AppendRow("/a", 1);
  model.SetStatus(0, "已合并");
  model.Clear();
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_EQ(model.AppendRow("/b", 3), 0);
  EXPECT_EQ(model.Key(0), QString("D1"));
  EXPECT_EQ(model.Status(0), QString(""));
}

TEST(WorkListModel, AFailedRowsReasonIsTheTooltipOfItsStatusCellOnly) {
  WorkListModel model;
  model.AppendRow("/a", 1);
  model.AppendRow("/b", 1);
  QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
  model.SetFailureReason(1, "无法读取TIFF图像：/b/1.tif: cannot read as TIFF");
  model.SetFailureReason(7, "x");
  ASSERT_EQ(changed.count(), 1);
  const QModelIndex status = model.index(1, WorkListModel::kStatusColumn);
  EXPECT_EQ(model.data(status, Qt::ToolTipRole).toString(),
            QString("无法读取TIFF图像：/b/1.tif: cannot read as TIFF"));
  EXPECT_EQ(model.data(model.index(1, WorkListModel::kPathColumn), Qt::ToolTipRole).toString(),
            QString("/b"));
  EXPECT_FALSE(model.data(model.index(0, WorkListModel::kStatusColumn), Qt::ToolTipRole).isValid());
  model.Clear();
  model.AppendRow("/b", 1);
  EXPECT_EQ(model.FailureReason(0), QString());
}

}  // namespace
}  // namespace zelk
