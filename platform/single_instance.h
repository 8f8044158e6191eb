// One Radixpad per user: a lock file in a folder of the user's alone marks the running
// instance, and a local socket beside it is how a later start hands it a request
// ("wake", "show", "hide", "toggle" or "uninstall"). Plain POSIX sockets keep the
// network module (and what it pulls in) out of the program's start-up.
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
  /// What became of one request sent to the running instance.
  enum class SendResult {
    kAnswered,      // it handled the request
    kNotDelivered,  // nobody took it: no socket of this user's, nobody listening, or the
                    // connection closed before the request was read
    kUnanswered,    // it went out, but no answer came within the time limit
  };
  /// How a later start's hand-over ended.
  enum class HandOver {
    kAnswered,     // the running instance handled the request
    kBecameFirst,  // no instance runs any more: this process holds the lock now
    kNoAnswer,     // an instance runs but did not answer
  };

  /// How long a later start waits for the running instance's answer, and then for
  /// the lock of an instance that may be ending.
  static constexpr int kAnswerLimitMs = 5000;
  static constexpr int kLockWaitMs = 3000;

  /// `name` names the lock and the socket: "Quillory Radixpad". They live in
  /// RuntimeFolder(); without one the process runs without the single instance.
  explicit CSingleInstance(const QString& name, QObject* parent = nullptr);
  ~CSingleInstance() override;

  /// True when this process became the running instance: false only when a live
  /// process holds the lock. A lock file that cannot be made (no runtime folder, no
  /// permission) lets this process run, and so does one this user cannot read (no copy
  /// of Radixpad made it). The lock file is made readable by the user only.
  bool TryBecomeFirst();
  /// Starts answering later starts; `handler` gets each request. Requests are read as
  /// they arrive, in the event loop: a connection that sends nothing, or too slowly,
  /// never holds up the event loop and is closed after a second. The socket is the
  /// user's alone whatever the umask, and only this user's connections are served.
  bool Listen(std::function<void(const QString& request)> handler);
  /// Stops answering: requests not read yet are dropped unanswered, and a later start
  /// finds nobody listening and waits for the lock instead.
  void StopListening();
  /// Hands `request` to the running instance and waits until it has handled it, at
  /// most `timeoutMs`. Sent only to a socket this user owns, served by this user.
  SendResult SendToFirst(const QString& request, int timeoutMs = kAnswerLimitMs);
  /// A later start's hand-over (TryBecomeFirst was false): sends `request` and waits
  /// for its answer; while nobody takes it (the instance is starting or ending), and
  /// for a while after an answer did not come, the lock is tried again.
  HandOver HandOverToFirst(const QString& request, int answerLimitMs = kAnswerLimitMs, int lockWaitMs = kLockWaitMs);

  /// Where the lock and the socket live: $XDG_RUNTIME_DIR when it is a folder of this
  /// user's that no other user can write to, else Radixpad's own private folder
  /// "radixpad-runtime-<uid>" under the temporary folder (made 0700 and checked: a real
  /// folder of this user); empty when neither can be had.
  static QString RuntimeFolder();

 private:
  void AcceptWaiting();

  QString lockPath_;
  QString socketPath_;
  std::unique_ptr<QLockFile> lock_;
  int serverFd_ = -1;
  QSocketNotifier* notifier_ = nullptr;
  std::function<void(const QString&)> handler_;
  QObject* connections_ = nullptr;  // parent of the connections whose request is awaited
  int waiting_ = 0;                 // connections whose request has not come yet
};

}  // namespace radixpad
