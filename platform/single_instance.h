// One Radixpad per user: a lock file in the runtime folder marks the running
// instance, and a local socket beside it is how a second start hands it a
// request ("wake" or "uninstall"). Plain POSIX sockets keep the network
// module (and what it pulls in) out of the program's start-up.
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace radixpad {

class CSingleInstance : public QObject {
  Q_OBJECT

 public:
  /// `name` names the lock and the socket: "Quillory Radixpad".
  explicit CSingleInstance(const QString& name, QObject* parent = nullptr);
  ~CSingleInstance() override;

  /// True when this process became the running instance: false only when a live
  /// process holds the lock. A lock file that cannot be made (no runtime folder, no
  /// permission) lets this process run. The lock file is made readable by the user only.
  bool TryBecomeFirst();
  /// Starts answering later starts; `handler` gets each request. Requests are read as
  /// they arrive: a connection that sends nothing, or too slowly, never holds up the
  /// event loop and is closed after a second.
  bool Listen(std::function<void(const QString& request)> handler);
  /// Hands `request` to the running instance and waits until it has handled
  /// it. False when no running instance answers (it is starting or ending).
  bool SendToFirst(const QString& request, int timeoutMs = 5000);

  static QString RuntimeFolder();

 private:
  void AcceptWaiting();

  QString lockPath_;
  QString socketPath_;
  std::unique_ptr<QLockFile> lock_;
  int serverFd_ = -1;
  QSocketNotifier* notifier_ = nullptr;
  std::function<void(const QString&)> handler_;
  int waiting_ = 0;  // connections whose request has not come yet
};

}  // namespace radixpad
