// Helpers shared by the shell tests: a private environment and small file utilities.
#pragma once

#include <sys/resource.h>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <csignal>
#include <map>
#include <optional>
#include <ostream>

#include "held_settings_lock.h"

// Readable QString values in assertion messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace radixpad::test {

/// Points HOME, XDG_CONFIG_HOME, XDG_CONFIG_DIRS and TMPDIR into a fresh temporary
/// folder for the lifetime of the object and restores the previous values afterwards,
/// those of the language variables LC_ALL, LC_MESSAGES and LANG as well.
class ScopedEnvironment {
 public:
  ScopedEnvironment();
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  /// Root of the private folder, without a trailing "/".
  QString Root() const { return m_root.path(); }
  /// Sets (or, with std::nullopt, removes) one variable for the rest of the test.
  void Set(const char* name, const std::optional<QString>& value);

 private:
  QTemporaryDir m_root;
  std::map<QByteArray, std::optional<QByteArray>> m_saved;
};

// Files of this process cannot grow beyond `bytes` while the object lives: a write
// past the limit fails as on a full disk (SIGXFSZ is ignored meanwhile).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &m_saved);
    m_previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = m_saved;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_saved);
    std::signal(SIGXFSZ, m_previous);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit m_saved{};
  void (*m_previous)(int) = SIG_DFL;
};

QByteArray ReadBytes(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);

/// The test executable itself, re-run as a helper process.
QString TestExecutable();

/// The keys of one save of "--ini-saver", section General.
inline constexpr const char* kSaveKeys[] = {"C1",          "C2",       "C3",      "C4", "Signed", "Bits",
                                            "LastConvert", "AutoCopy", "BitGrid", "X",  "Y"};

/// Entry of the helper process: "--ini-writer <file> <section> <key prefix> <count>"
/// writes count keys one by one; "--ini-saver <file> <tag> <count>" makes count saves of
/// kSaveKeys, each key of save i set to "<tag><i>". Either exits with the number of
/// failed writes. Returns -1 when the arguments are not a helper invocation.
int RunHelperProcess(int argc, char** argv);

}  // namespace radixpad::test
