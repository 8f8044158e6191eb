#include "single_instance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace radixpad {

namespace {
constexpr char kAnswer[] = "done\n";
}

QString CSingleInstance::RuntimeFolder() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  return folder;
}

CSingleInstance::CSingleInstance(const QString& name, QObject* parent) : QObject(parent) {
  const QString folder = RuntimeFolder();
  lockPath_ = folder + QLatin1Char('/') + name + QStringLiteral(".lock");
  socketPath_ = folder + QLatin1Char('/') + name;
}

CSingleInstance::~CSingleInstance() {
  if (server_) server_->close();
}

bool CSingleInstance::TryBecomeFirst() {
  lock_ = std::make_unique<QLockFile>(lockPath_);
  // A lock left by a process that no longer runs is taken over at once.
  lock_->setStaleLockTime(0);
  if (lock_->tryLock(0)) return true;
  lock_.reset();
  return false;
}

bool CSingleInstance::Listen(std::function<void(const QString&)> handler) {
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  QLocalServer::removeServer(socketPath_);  // left by an instance that ended abruptly
  if (!server_->listen(socketPath_)) return false;
  connect(server_.get(), &QLocalServer::newConnection, this, [this, handler] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      connect(socket, &QLocalSocket::readyRead, socket, [socket, handler] {
        if (!socket->canReadLine()) return;
        const QString request = QString::fromUtf8(socket->readLine()).trimmed();
        handler(request);
        socket->write(kAnswer);
        socket->flush();
        socket->disconnectFromServer();
      });
    }
  });
  return true;
}

bool CSingleInstance::SendToFirst(const QString& request, int timeoutMs) {
  QLocalSocket socket;
  socket.connectToServer(socketPath_);
  if (!socket.waitForConnected(timeoutMs)) return false;
  socket.write(request.toUtf8() + '\n');
  if (!socket.waitForBytesWritten(timeoutMs)) return false;
  // Like a sent window message: return once the running instance has handled it.
  while (!socket.canReadLine()) {
    if (!socket.waitForReadyRead(timeoutMs)) return false;
  }
  return socket.readLine() == kAnswer;
}

}  // namespace radixpad
