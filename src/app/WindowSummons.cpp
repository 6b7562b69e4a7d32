#include "app/WindowSummons.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>

#include <unistd.h>

namespace zelk {
namespace {

constexpr int kWaitMilliseconds = 1000;
constexpr char kRequest[] = "show\n";

}  // namespace

QString WindowSummonsName(const std::string& settingsDir) {
  const QString directory = QDir(QString::fromStdString(settingsDir)).absolutePath();
  const QByteArray hash =
      QCryptographicHash::hash(directory.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
  return QStringLiteral("zelk-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash));
}

WindowSummonsListener::WindowSummonsListener(const QString& name,
                                             std::function<void()> bringToFront)
    : bringToFront_(std::move(bringToFront)) {
  // This process holds the settings' lock, so a socket of that name is one
  // a window that died left behind.
  QLocalServer::removeServer(name);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  server_.listen(name);
  connect(&server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      // Any request brings the window forward; its text is not needed.
      bringToFront_();
    }
  });
}

bool SummonRunningWindow(const QString& name) {
  QLocalSocket socket;
  socket.connectToServer(name);
  if (!socket.waitForConnected(kWaitMilliseconds)) return false;
  socket.write(kRequest);
  const bool written = socket.waitForBytesWritten(kWaitMilliseconds);
  socket.disconnectFromServer();
  return written;
}

}  // namespace zelk
