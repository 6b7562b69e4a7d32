#pragma once
// The progress of a conversion under the work list: a bar ("prgRun") and a
// line ("lblProgress") with the rows done, the time so far and the time
// left.  Hidden while no conversion runs.  The engine reports progress at
// the rows and during page work; in between the panel counts the seconds
// itself, so the times move on during a long page.

#include <QElapsedTimer>
#include <QWidget>
#include <optional>

#include "run/RunProgress.h"

class QLabel;
class QProgressBar;
class QTimer;

namespace zelk {

// What the line shows once a stop was asked for.
inline constexpr const char* kStoppingText = "正在停止，待当前项目结束 . . . ";

class RunProgressPanel : public QWidget {
  Q_OBJECT

 public:
  explicit RunProgressPanel(QWidget* parent = nullptr);

  // A conversion began: the bar moves without a measure until the scan has
  // found the rows.
  void Begin();
  void Show(const RunProgress& progress);
  // A stop was asked for: the line says so until the end.
  void ShowStopping();
  // The conversion is over: hidden again.
  void End();

  int BarValue() const;    // 0..kBarRange, or -1 while there is no measure yet
  QString LineText() const;
  static constexpr int kBarRange = 1000;

 private:
  void ShowLine();

  QProgressBar* bar_ = nullptr;
  QLabel* line_ = nullptr;
  QTimer* tick_ = nullptr;
  std::optional<RunProgress> last_;
  QElapsedTimer sinceLast_;
  bool stopping_ = false;
};

}  // namespace zelk
