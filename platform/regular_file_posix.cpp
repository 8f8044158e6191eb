#include "regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <new>

#include "file_descriptor_posix.h"

namespace radixpad {

namespace {

int NotRegularError(mode_t mode) { return S_ISDIR(mode) ? EISDIR : kErrorNotRegularFile; }

}  // namespace

bool ReadRegularFile(const QString& path, qint64 maxBytes, QByteArray& data, int& error) {
  const QByteArray name = QFile::encodeName(path);
  struct stat info {};
  if (::stat(name.constData(), &info) != 0) {
    error = errno;
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    error = NotRegularError(info.st_mode);
    return false;
  }
  // Between the look and the open the name may have been given to something else: it
  // is opened without blocking and looked at again. A regular file put in its place (a
  // settings file replaced by its writer) is read.
  const FileDescriptor fd(::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (fd.Get() < 0 || ::fstat(fd.Get(), &info) != 0) {
    error = errno;
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    error = NotRegularError(info.st_mode);
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
    const ssize_t got = ::read(fd.Get(), data.data() + done, static_cast<std::size_t>(data.size() - done));
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
