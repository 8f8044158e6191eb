#include "regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <new>

namespace radixpad {

namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : m_fd(fd) {}
  ~FileDescriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return m_fd; }

 private:
  int m_fd;
};

}  // namespace

bool ReadRegularFile(const QString& path, qint64 maxBytes, QByteArray& data, int& error) {
  const QByteArray name = QFile::encodeName(path);
  const FileDescriptor fd(::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  struct stat info {};
  if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0) {
    error = errno;
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    error = EISDIR;
    return false;
  }
  if (info.st_size > maxBytes) {
    error = EFBIG;
    return false;
  }
  try {
    data.resize(static_cast<qsizetype>(info.st_size));
  } catch (const std::bad_alloc&) {
    error = 0;
    return false;
  }
  qsizetype done = 0;
  while (done < data.size()) {
    const ssize_t got = ::read(fd.get(), data.data() + done, static_cast<std::size_t>(data.size() - done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error = errno;
      return false;
    }
    if (got == 0) break;  // the file shrank meanwhile
    done += static_cast<qsizetype>(got);
  }
  data.truncate(done);
  return true;
}

}  // namespace radixpad
