// Unix stream sockets at a path: one that lies in a file's place, and a client of one.
#pragma once

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFile>
#include <QString>
#include <cstring>

namespace radixpad::test {

// Fills `address` for `path`; false when the path is too long for one.
inline bool UnixAddress(const QString& path, sockaddr_un& address) {
  const QByteArray bytes = QFile::encodeName(path);
  address = {};
  address.sun_family = AF_UNIX;
  if (bytes.size() >= static_cast<qsizetype>(sizeof address.sun_path)) return false;
  std::memcpy(address.sun_path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
  return true;
}

/// A socket bound at `path`, which makes a socket file there; -1 when it could not be made.
inline int BindUnixSocket(const QString& path) {
  sockaddr_un address;
  if (!UnixAddress(path, address)) return -1;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

/// A client connected to the socket at `path`, which then does as it is told; -1 when it
/// could not connect.
inline int ConnectUnixSocket(const QString& path) {
  sockaddr_un address;
  if (!UnixAddress(path, address)) return -1;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace radixpad::test
