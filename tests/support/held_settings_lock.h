// Another program in the middle of a save, for the tests of the writers that wait for it.
#pragma once

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QFile>
#include <QString>

namespace radixpad::test {

// Holds the settings writers' lock of `settingsFile` while the object lives, as another
// program in the middle of a save would.
class HeldSettingsLock {
 public:
  explicit HeldSettingsLock(const QString& settingsFile)
      : m_fd(::open(QFile::encodeName(settingsFile + QStringLiteral(".lock")).constData(), O_RDWR | O_CREAT | O_CLOEXEC,
                    0600)) {
    m_held = m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) == 0;
  }
  ~HeldSettingsLock() {
    if (m_fd >= 0) ::close(m_fd);
  }
  HeldSettingsLock(const HeldSettingsLock&) = delete;
  HeldSettingsLock& operator=(const HeldSettingsLock&) = delete;
  bool Held() const { return m_held; }

 private:
  int m_fd;
  bool m_held = false;
};

}  // namespace radixpad::test
