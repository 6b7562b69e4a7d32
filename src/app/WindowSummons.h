#pragma once
// A second start of the program brings the running window to the front
// (also out of the tray) instead of only saying that it runs.  The window
// that holds the settings file's lock listens on a local socket named after
// that settings directory and the user; a second start on the same
// settings connects and asks; only when nobody answers does it show
// "程序已在运行。".

#include <QLocalServer>
#include <QObject>
#include <QString>

#include <functional>
#include <string>

namespace zelk {

// The socket's name for the settings in `settingsDir`: one per settings
// directory and user, short enough for any socket path.
QString WindowSummonsName(const std::string& settingsDir);

// Listens for summons while it lives; `bringToFront` runs on the thread of
// the event loop for each one.
class WindowSummonsListener : public QObject {
 public:
  WindowSummonsListener(const QString& name, std::function<void()> bringToFront);

  bool Listening() const { return server_.isListening(); }

 private:
  QLocalServer server_;
  std::function<void()> bringToFront_;
};

// Asks the window listening under `name` to come to the front.  True when
// the request was delivered, within about a second.
bool SummonRunningWindow(const QString& name);

}  // namespace zelk
