#include "single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

#include "file_descriptor_posix.h"
#include "shell_folders.h"

namespace radixpad {

namespace {

constexpr char kAnswer[] = "done\n";
constexpr int kMaxRequest = 256;
// How long the running instance waits for a request line from a connection.
constexpr int kRequestTimeoutMs = 1000;
// Connections waiting for their request at one time; later ones are closed at once.
constexpr int kMaxWaitingConnections = 16;
// Connections the kernel holds until the event loop takes them, as while the window
// is still being built.
constexpr int kListenBacklog = 64;
// Between two tries of a later start's hand-over.
constexpr int kRetryIntervalMs = 50;
// A lock file that is readable but names no live process and is held by nobody counts
// as left behind only once it is this old: a copy that has just made it may not have
// written it yet.
constexpr int kUnfinishedLockAgeSeconds = 5;

bool FillAddress(const QString& path, sockaddr_un& address) {
  const QByteArray bytes = QFile::encodeName(path);
  if (bytes.size() >= static_cast<qsizetype>(sizeof(address.sun_path))) return false;
  std::memset(&address, 0, sizeof(address));
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
  return true;
}

// Reads up to a line feed, waiting at most `timeoutMs` in all. `closed` tells whether
// the other side closed the connection (or it failed) before the time was up.
QByteArray ReadLine(int fd, int timeoutMs, bool& closed) {
  QByteArray line;
  closed = false;
  QElapsedTimer timer;
  timer.start();
  while (line.size() < kMaxRequest && !line.endsWith('\n')) {
    const auto left = timeoutMs - timer.elapsed();
    if (left <= 0) break;
    pollfd p{fd, POLLIN, 0};
    const int ready = poll(&p, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;
    char buffer[64];
    const ssize_t n = read(fd, buffer, sizeof(buffer));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      closed = true;
      break;
    }
    line.append(buffer, n);
  }
  return line;
}

// The user on the other end of a connected Unix socket is this process's user.
bool PeerIsThisUser(int fd) {
  ucred credentials{};
  socklen_t size = sizeof(credentials);
  return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 && credentials.uid == geteuid();
}

// A lock file that no copy of Radixpad holds, though QLockFile did not take it: one this
// user cannot read (no copy of ours made it: ours are the user's, readable by the
// user), or one held by nobody that is old enough to have been written. It is removed
// so the lock can be taken; false when it stays (a live copy holds it, or it is being
// made).
bool RemoveUnheldLockFile(const QString& lockPath) {
  const QByteArray path = QFile::encodeName(lockPath);
  struct stat info {};
  if (lstat(path.constData(), &info) != 0) return errno == ENOENT;
  const FileDescriptor fd(open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (fd.Get() < 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid()) {
    return unlink(path.constData()) == 0 || errno == ENOENT;
  }
  // A live copy keeps an exclusive lock on its file for as long as it runs.
  if (flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) return false;
  struct stat opened {};
  if (fstat(fd.Get(), &opened) != 0 || opened.st_ino != info.st_ino || opened.st_dev != info.st_dev) return false;
  if (time(nullptr) - opened.st_mtime < kUnfinishedLockAgeSeconds) return false;
  // Removed while it is held here, so no copy can take it meanwhile.
  return unlink(path.constData()) == 0 || errno == ENOENT;
}

bool WriteAll(int fd, const QByteArray& data) {
  qsizetype done = 0;
  while (done < data.size()) {
    const ssize_t n = send(fd, data.constData() + done, static_cast<std::size_t>(data.size() - done), MSG_NOSIGNAL);
    if (n <= 0) return false;
    done += n;
  }
  return true;
}

// One later start's connection while its request line comes in. The window never
// waits for it: the line is read as it arrives, and the connection is closed when it
// has not come within the time limit.
class CRequestConnection : public QObject {
 public:
  CRequestConnection(int fd, std::function<void(const QString&)> handler, QObject* parent)
      : QObject(parent), fd_(fd), handler_(std::move(handler)), notifier_(fd, QSocketNotifier::Read) {
    connect(&notifier_, &QSocketNotifier::activated, this, [this] { ReadSome(); });
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { Finish(); });
    timer_.start(kRequestTimeoutMs);
  }
  ~CRequestConnection() override { close(fd_); }
  CRequestConnection(const CRequestConnection&) = delete;
  CRequestConnection& operator=(const CRequestConnection&) = delete;

  /// Reads nothing more and goes once the event loop is back: a handler running now
  /// still answers.
  void Finish() {
    notifier_.setEnabled(false);
    timer_.stop();
    deleteLater();
  }

 private:
  void ReadSome() {
    char buffer[64];
    for (;;) {
      const ssize_t n = read(fd_, buffer, sizeof(buffer));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
      if (n <= 0) break;  // the other side gave up
      line_.append(buffer, n);
      const qsizetype end = line_.indexOf('\n');
      if (end >= 0) {
        Answer(line_.first(end));
        break;
      }
      if (line_.size() >= kMaxRequest) break;
    }
    Finish();
  }
  void Answer(const QByteArray& request) {
    // Nothing more is read from this connection, whatever the handler does.
    notifier_.setEnabled(false);
    timer_.stop();
    if (handler_) handler_(QString::fromUtf8(request).trimmed());
    WriteAll(fd_, kAnswer);
  }

  int fd_;
  std::function<void(const QString&)> handler_;
  QSocketNotifier notifier_;
  QTimer timer_;
  QByteArray line_;
};

}  // namespace

QString CSingleInstance::RuntimeFolder() {
  // The lock and the socket never live where another user could put or replace them.
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (QDir::isAbsolutePath(runtime) && IsFolderOfThisUser(runtime)) return WithTrailingSeparator(runtime);
  return PrivateFolder(WithTrailingSeparator(QDir::tempPath()) +
                       QStringLiteral("radixpad-runtime-%1").arg(static_cast<qulonglong>(geteuid())));
}

CSingleInstance::CSingleInstance(const QString& name, QObject* parent) : QObject(parent) {
  const QString folder = RuntimeFolder();
  if (folder.isEmpty()) return;
  lockPath_ = folder + name + QStringLiteral(".lock");
  socketPath_ = folder + name;
}

CSingleInstance::~CSingleInstance() { StopListening(); }

bool CSingleInstance::TryBecomeFirst() {
  if (lock_) return true;
  // No folder of the user's own: run alone rather than share a lock with other users.
  if (lockPath_.isEmpty()) return true;
  for (int attempt = 0; attempt < 2; ++attempt) {
    auto lock = std::make_unique<QLockFile>(lockPath_);
    // A lock left by a process that no longer runs is taken over at once.
    lock->setStaleLockTime(0);
    // The lock file is the user's alone, whatever the umask.
    const mode_t mask = umask(077);
    const bool locked = lock->tryLock(0);
    umask(mask);
    if (locked) {
      lock_ = std::move(lock);
      return true;
    }
    // Only a lock held by a live process means another copy runs; a lock that cannot be
    // made at all (no permission, no room) does not keep this one from running.
    if (lock->error() != QLockFile::LockFailedError) return true;
    // Taken again once at most: a lock that comes back belongs to a copy starting now.
    if (attempt > 0 || !RemoveUnheldLockFile(lockPath_)) return false;
  }
  return false;
}

bool CSingleInstance::Listen(std::function<void(const QString&)> handler) {
  sockaddr_un address;
  if (serverFd_ >= 0 || socketPath_.isEmpty() || !FillAddress(socketPath_, address)) return false;
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return false;
  // This process holds the lock: a socket file still there was left by an
  // instance that ended abruptly.
  QFile::remove(socketPath_);
  // The socket file is made with the umask's mode: the user's alone from the start.
  const mode_t mask = umask(077);
  const bool bound = bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
  umask(mask);
  if (!bound || chmod(QFile::encodeName(socketPath_).constData(), 0600) != 0 || listen(fd, kListenBacklog) != 0) {
    close(fd);
    if (bound) QFile::remove(socketPath_);
    return false;
  }
  serverFd_ = fd;
  handler_ = std::move(handler);
  if (!connections_) connections_ = new QObject(this);
  notifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] { AcceptWaiting(); });
  return true;
}

void CSingleInstance::StopListening() {
  if (serverFd_ < 0) return;
  delete notifier_;
  notifier_ = nullptr;
  close(serverFd_);
  serverFd_ = -1;
  QFile::remove(socketPath_);
  // Requests still to come are not answered: their starts see the connection close.
  for (QObject* connection : connections_->children()) static_cast<CRequestConnection*>(connection)->Finish();
}

void CSingleInstance::AcceptWaiting() {
  for (;;) {
    const int client = accept4(serverFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (client < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      return;
    }
    if (waiting_ >= kMaxWaitingConnections || !PeerIsThisUser(client)) {
      close(client);
      continue;
    }
    ++waiting_;
    auto* connection = new CRequestConnection(client, handler_, connections_);
    connect(connection, &QObject::destroyed, this, [this] { --waiting_; });
  }
}

CSingleInstance::SendResult CSingleInstance::SendToFirst(const QString& request, int timeoutMs) {
  sockaddr_un address;
  if (socketPath_.isEmpty() || !FillAddress(socketPath_, address)) return SendResult::kNotDelivered;
  // The request may carry the launcher's activation token: it goes only to a socket of
  // this user's, served by a process of this user's.
  struct stat info {};
  if (lstat(address.sun_path, &info) != 0 || !S_ISSOCK(info.st_mode) || info.st_uid != geteuid()) {
    return SendResult::kNotDelivered;
  }
  const FileDescriptor fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (fd.Get() < 0) return SendResult::kNotDelivered;
  if (::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
      !PeerIsThisUser(fd.Get()) || !WriteAll(fd.Get(), request.toUtf8() + '\n')) {
    return SendResult::kNotDelivered;
  }
  // Like a sent window message: return once the running instance has handled it.
  bool closed = false;
  const QByteArray answer = ReadLine(fd.Get(), timeoutMs, closed);
  if (answer == kAnswer) return SendResult::kAnswered;
  // Closed unanswered: the instance turned the connection away or ended before it read
  // the request.
  return closed ? SendResult::kNotDelivered : SendResult::kUnanswered;
}

CSingleInstance::HandOver CSingleInstance::HandOverToFirst(const QString& request, int answerLimitMs, int lockWaitMs) {
  QElapsedTimer timer;
  timer.start();
  for (;;) {
    const auto left = std::max<qint64>(answerLimitMs - timer.elapsed(), 1);
    const SendResult sent = SendToFirst(request, static_cast<int>(left));
    if (sent == SendResult::kAnswered) return HandOver::kAnswered;
    if (TryBecomeFirst()) return HandOver::kBecameFirst;
    // A request that went out unanswered may still be handled: it is not sent twice.
    if (sent == SendResult::kUnanswered || timer.elapsed() >= answerLimitMs) break;
    QThread::msleep(kRetryIntervalMs);
  }
  // An instance that ends lets go of its lock once it has saved its settings.
  const qint64 end = timer.elapsed() + lockWaitMs;
  while (timer.elapsed() < end) {
    QThread::msleep(kRetryIntervalMs);
    if (TryBecomeFirst()) return HandOver::kBecameFirst;
  }
  return HandOver::kNoAnswer;
}

}  // namespace radixpad
