#include "single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>
#include <cerrno>
#include <cstring>

namespace radixpad {

namespace {

constexpr char kAnswer[] = "done\n";
constexpr int kMaxRequest = 256;
// How long the running instance waits for a request line from a connection.
constexpr int kRequestTimeoutMs = 1000;
// Connections waiting for their request at one time; later ones are closed at once.
constexpr int kMaxWaitingConnections = 16;

bool FillAddress(const QString& path, sockaddr_un& address) {
  const QByteArray bytes = QFile::encodeName(path);
  if (bytes.size() >= static_cast<qsizetype>(sizeof(address.sun_path))) return false;
  std::memset(&address, 0, sizeof(address));
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
  return true;
}

// Reads up to a line feed, waiting at most `timeoutMs` in all.
QByteArray ReadLine(int fd, int timeoutMs) {
  QByteArray line;
  QElapsedTimer timer;
  timer.start();
  while (line.size() < kMaxRequest && !line.endsWith('\n')) {
    const auto left = timeoutMs - timer.elapsed();
    if (left <= 0) break;
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left)) <= 0) break;
    char buffer[64];
    const ssize_t n = read(fd, buffer, sizeof(buffer));
    if (n <= 0) break;
    line.append(buffer, n);
  }
  return line;
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
  void Finish() {
    notifier_.setEnabled(false);
    timer_.stop();
    deleteLater();
  }

  int fd_;
  std::function<void(const QString&)> handler_;
  QSocketNotifier notifier_;
  QTimer timer_;
  QByteArray line_;
};

}  // namespace

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
  if (serverFd_ >= 0) {
    delete notifier_;
    close(serverFd_);
    QFile::remove(socketPath_);
  }
}

bool CSingleInstance::TryBecomeFirst() {
  lock_ = std::make_unique<QLockFile>(lockPath_);
  // A lock left by a process that no longer runs is taken over at once.
  lock_->setStaleLockTime(0);
  // The lock file is the user's alone, whatever the umask.
  const mode_t mask = umask(077);
  const bool locked = lock_->tryLock(0);
  umask(mask);
  if (locked) return true;
  const QLockFile::LockError error = lock_->error();
  lock_.reset();
  // Only a lock held by a live process means another copy runs; a lock that cannot be
  // made at all (no runtime folder, no permission) does not keep this one from running.
  return error != QLockFile::LockFailedError;
}

bool CSingleInstance::Listen(std::function<void(const QString&)> handler) {
  sockaddr_un address;
  if (!FillAddress(socketPath_, address)) return false;
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return false;
  // This process holds the lock: a socket file still there was left by an
  // instance that ended abruptly.
  QFile::remove(socketPath_);
  if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 || listen(fd, 8) != 0) {
    close(fd);
    return false;
  }
  fchmod(fd, 0600);
  serverFd_ = fd;
  handler_ = std::move(handler);
  notifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] { AcceptWaiting(); });
  return true;
}

void CSingleInstance::AcceptWaiting() {
  for (;;) {
    const int client = accept4(serverFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (client < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      return;
    }
    if (waiting_ >= kMaxWaitingConnections) {
      close(client);
      continue;
    }
    ++waiting_;
    auto* connection = new CRequestConnection(client, handler_, this);
    connect(connection, &QObject::destroyed, this, [this] { --waiting_; });
  }
}

bool CSingleInstance::SendToFirst(const QString& request, int timeoutMs) {
  sockaddr_un address;
  if (!FillAddress(socketPath_, address)) return false;
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  bool answered = false;
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0 &&
      WriteAll(fd, request.toUtf8() + '\n')) {
    // Like a sent window message: return once the running instance has handled it.
    answered = ReadLine(fd, timeoutMs) == kAnswer;
  }
  close(fd);
  return answered;
}

}  // namespace radixpad
