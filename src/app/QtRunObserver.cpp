#include "app/QtRunObserver.h"

namespace zelk {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }
int Number(std::size_t value) { return static_cast<int>(value); }

}  // namespace

void QtRunObserver::OnRowAdded(const WorkRow& row) { emit RowAdded(Text(row.Path), row.Pages); }

void QtRunObserver::OnTotalCount(std::size_t rows) { emit TotalCount(Number(rows)); }

void QtRunObserver::OnStatus(const std::string& text) { emit StatusChanged(Text(text)); }

void QtRunObserver::OnWorkListCleared() { emit WorkListCleared(); }

void QtRunObserver::OnRowStatus(std::size_t index, const std::string& text) {
  emit RowStatusChanged(Number(index), Text(text));
}

void QtRunObserver::OnRowSelected(std::size_t index) { emit RowSelected(Number(index)); }

void QtRunObserver::OnDoneCount(std::size_t successes) { emit DoneCount(Number(successes)); }

void QtRunObserver::OnItemFailed(std::size_t index, const std::string& reason) {
  emit ItemFailed(Number(index), Text(reason));
}

void QtRunObserver::OnProgress(const RunProgress& progress) { emit ProgressChanged(progress); }

void QtRunObserver::OnFileListCleared() { emit FileListCleared(); }

void QtRunObserver::OnFileListEntry(const std::string& path, const std::string& name) {
  (void)path;
  emit FileListEntry(Text(name));
}

void QtRunObserver::OnBusyChanged(bool busy) { emit BusyChanged(busy); }

void QtRunObserver::OnMessage(const UserMessage& message) {
  emit MessageRequested(static_cast<int>(message.Kind), Text(message.Text),
                        static_cast<int>(message.FocusAfter));
}

}  // namespace zelk
