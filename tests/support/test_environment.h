// Helpers shared by the shell tests: a private environment and small file utilities.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <map>
#include <optional>
#include <ostream>

// Readable QString values in assertion messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace radixpad::test {

/// Points HOME, XDG_CONFIG_HOME, XDG_CONFIG_DIRS and TMPDIR into a fresh temporary
/// folder for the lifetime of the object and restores the previous values afterwards.
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

QByteArray ReadBytes(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);

/// The test executable itself, re-run as a helper process.
QString TestExecutable();

/// Entry of the helper process: "--ini-writer <file> <section> <key prefix> <count>"
/// writes count keys and exits with the number of failed writes. Returns -1 when the
/// arguments are not a helper invocation.
int RunHelperProcess(int argc, char** argv);

}  // namespace radixpad::test
