// The store's files and locks on POSIX: open and read, write through a temporary file
// with fsync and rename, flock on the lock file beside each root's file.
#include "store_files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "file_descriptor_posix.h"

namespace radixpad {

std::string RegistryStoreFolder() {
  if (const char* folder = std::getenv("RADIXPAD_REGISTRY_DIR"); folder && *folder) return folder;
  std::string data;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') {
    data = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    data = std::string(home) + "/.local/share";
  } else {
    return std::string();
  }
  return data + "/Quillory/Radixpad/registry";
}

namespace registry_store {
namespace {

/// Reads a whole file; `exists` is false (and the result success) when there is none.
/// What is no regular file (a named pipe, a device) cannot be read: never waited on.
LONG ReadWholeFile(const std::string& path, std::string& text, bool& exists) {
  text.clear();
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (fd.Get() < 0) {
    exists = false;
    return errno == ENOENT ? ERROR_SUCCESS : ERROR_CANTREAD;
  }
  exists = true;
  struct stat info {};
  if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return ERROR_CANTREAD;
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      return ERROR_CANTREAD;
    }
    if (got == 0) return ERROR_SUCCESS;
    text.append(buffer, static_cast<std::size_t>(got));
  }
}

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t put = ::write(fd, text.data() + done, text.size() - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(put);
  }
  return true;
}

void SyncFolder(const std::string& folder) {
  FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.Get() >= 0) ::fsync(fd.Get());
}

// Writes `text` to the new file `fd` opened at `copy`, then puts the copy in place of
// `path`: renamed over it, or with `noReplace` linked there only when there is no file
// yet. The copy is gone afterwards, whatever happened.
LONG FinishCopy(FileDescriptor& fd, const std::string& copy, const std::string& path, const std::string& folder,
                const std::string& text, bool noReplace) {
  const bool written = WriteAll(fd.Get(), text) && ::fsync(fd.Get()) == 0;
  if (::close(fd.Release()) != 0 || !written) {
    ::unlink(copy.c_str());
    return ERROR_REGISTRY_IO_FAILED;
  }
  LONG rc = ERROR_SUCCESS;
  if (noReplace) {
    if (::link(copy.c_str(), path.c_str()) != 0) rc = errno == EEXIST ? ERROR_ALREADY_EXISTS : ERROR_REGISTRY_IO_FAILED;
    ::unlink(copy.c_str());
  } else if (::rename(copy.c_str(), path.c_str()) != 0) {
    rc = ERROR_REGISTRY_IO_FAILED;
    ::unlink(copy.c_str());
  }
  if (rc == ERROR_SUCCESS) SyncFolder(folder);
  return rc;
}

// Where a root's new content is written before it replaces the root's file. Only a
// holder of the root's lock writes there, so a copy found by one was left by a write
// that did not finish (a process killed half-way).
std::string RootCopyPath(const std::string& folder, int root) { return RootFilePath(folder, root) + ".new~"; }

}  // namespace

int RootIndex(HKEY key) {
  for (std::size_t i = 0; i < std::size(kRoots); ++i) {
    if (kRoots[i].handle == key) return static_cast<int>(i);
  }
  return -1;
}

LONG ReadTree(const std::string& path, Key& top, bool missingIsEmpty) {
  std::string text;
  bool exists = false;
  if (const LONG rc = ReadWholeFile(path, text, exists); rc != ERROR_SUCCESS) return rc;
  if (!exists) {
    top = Key();
    return missingIsEmpty ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
  }
  return Parse(text, top) ? ERROR_SUCCESS : ERROR_REGISTRY_CORRUPT;
}

LONG WriteFileAtomically(const std::string& path, const std::string& text, bool noReplace) {
  const std::filesystem::path target(path);
  std::string folder = target.parent_path().string();
  if (folder.empty()) folder = ".";
  std::string temp = folder + "/." + target.filename().string() + ".XXXXXX";
  FileDescriptor fd(::mkstemp(temp.data()));
  if (fd.Get() < 0) return ERROR_REGISTRY_IO_FAILED;
  ::fcntl(fd.Get(), F_SETFD, FD_CLOEXEC);
  return FinishCopy(fd, temp, path, folder, text, noReplace);
}

LONG ReplaceRootFile(const std::string& folder, int root, const std::string& text) {
  const std::string copy = RootCopyPath(folder, root);
  FileDescriptor fd(::open(copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (fd.Get() < 0) return ERROR_REGISTRY_IO_FAILED;
  return FinishCopy(fd, copy, RootFilePath(folder, root), folder, text, false);
}

void RemoveStaleCopy(const std::string& folder, int root) { ::unlink(RootCopyPath(folder, root).c_str()); }

std::string RootFilePath(const std::string& folder, int root) { return folder + "/" + kRoots[root].name + ".txt"; }

LONG RootLock::Acquire(const std::string& folder, int root) {
  const std::string path = folder + "/" + kRoots[root].name + ".lock";
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0) return ERROR_REGISTRY_IO_FAILED;
  while (::flock(fd_, LOCK_EX) != 0) {
    if (errno != EINTR) return ERROR_REGISTRY_IO_FAILED;
  }
  return ERROR_SUCCESS;
}

RootLock::~RootLock() {
  if (fd_ >= 0) {
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
  }
}

LONG ReadSavedTree(const char* file, Key& top) {
  if (const LONG rc = ReadTree(file, top, false); rc != ERROR_SUCCESS) return rc;
  ClearLoadMarks(top);
  return ERROR_SUCCESS;
}

}  // namespace registry_store
}  // namespace radixpad
