#pragma once
// The engine's run observer as Qt signals.  The engine calls the observer
// on the worker thread; each call becomes one signal, which the window
// receives through queued connections on its own thread, in the order the
// engine made the calls.  Nothing here waits: a message box the engine asks
// for is shown by the window while the run goes on.

#include <QMetaType>
#include <QObject>
#include <QString>

#include "run/RunObserver.h"
#include "run/RunProgress.h"

Q_DECLARE_METATYPE(zelk::RunProgress)

namespace zelk {

class QtRunObserver : public QObject, public RunObserver {
  Q_OBJECT

 public:
  using QObject::QObject;

  void OnRowAdded(const WorkRow& row) override;
  void OnTotalCount(std::size_t rows) override;
  void OnStatus(const std::string& text) override;
  void OnWorkListCleared() override;
  void OnRowStatus(std::size_t index, const std::string& text) override;
  void OnRowSelected(std::size_t index) override;
  void OnDoneCount(std::size_t successes) override;
  void OnItemFailed(std::size_t index, const std::string& reason) override;
  void OnProgress(const RunProgress& progress) override;
  void OnFileListCleared() override;
  void OnFileListEntry(const std::string& path, const std::string& name) override;
  void OnBusyChanged(bool busy) override;
  void OnMessage(const UserMessage& message) override;
  // A close refused during the run is acted on by the window once the
  // run's end has reached it (RunController::ConversionEnded), so the
  // engine's close request needs no signal of its own.

 signals:
  void RowAdded(const QString& path, int pages);
  void TotalCount(int rows);
  void StatusChanged(const QString& text);
  void WorkListCleared();
  void RowStatusChanged(int row, const QString& text);
  void RowSelected(int row);
  void DoneCount(int successes);
  void ItemFailed(int row, const QString& reason);
  void ProgressChanged(const zelk::RunProgress& progress);
  void FileListCleared();
  void FileListEntry(const QString& name);
  void BusyChanged(bool busy);
  // `icon` and `focus` are UserMessage::Icon and UserMessage::Focus.
  void MessageRequested(int icon, const QString& text, int focus);
};

}  // namespace zelk
