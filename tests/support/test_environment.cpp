#include "test_environment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstring>

#include "ini_store.h"

namespace radixpad::test {
namespace {
const char* const kVariables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "TMPDIR", "LC_ALL", "LC_MESSAGES",
                                  "LANG"};
}

ScopedEnvironment::ScopedEnvironment() {
  for (const char* name : kVariables) {
    m_saved[name] = qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
  }
  QDir root(Root());
  root.mkpath(QStringLiteral("home"));
  root.mkpath(QStringLiteral("config"));
  root.mkpath(QStringLiteral("shared"));
  root.mkpath(QStringLiteral("tmp"));
  Set("HOME", Root() + QStringLiteral("/home"));
  Set("XDG_CONFIG_HOME", Root() + QStringLiteral("/config"));
  Set("XDG_CONFIG_DIRS", Root() + QStringLiteral("/shared"));
  Set("TMPDIR", Root() + QStringLiteral("/tmp"));
}

ScopedEnvironment::~ScopedEnvironment() {
  for (const auto& [name, value] : m_saved) {
    if (value) {
      qputenv(name.constData(), *value);
    } else {
      qunsetenv(name.constData());
    }
  }
}

void ScopedEnvironment::Set(const char* name, const std::optional<QString>& value) {
  if (value) {
    qputenv(name, QFile::encodeName(*value));
  } else {
    qunsetenv(name);
  }
}

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
}

QString TestExecutable() { return QCoreApplication::applicationFilePath(); }

int RunHelperProcess(int argc, char** argv) {
  const bool writer = argc == 6 && std::strcmp(argv[1], "--ini-writer") == 0;
  const bool saver = argc == 5 && std::strcmp(argv[1], "--ini-saver") == 0;
  if (!writer && !saver) return -1;
  const QString file = QString::fromLocal8Bit(argv[2]);
  const int count = QString::fromLocal8Bit(argv[argc - 1]).toInt();
  int failures = 0;
  for (int i = 0; i < count; ++i) {
    if (writer) {
      const QString key = QString::fromLocal8Bit(argv[4]) + QString::number(i);
      if (!WriteIniString(QString::fromLocal8Bit(argv[3]), key, QString::number(i), file)) ++failures;
      continue;
    }
    QList<IniEntry> save;
    const QString value = QString::fromLocal8Bit(argv[3]) + QString::number(i);
    for (const char* key : kSaveKeys) save << IniEntry{QStringLiteral("General"), QString::fromLatin1(key), value};
    if (WriteIniStrings(save, file) != IniWriteResult::kWritten) ++failures;
  }
  return failures > 100 ? 100 : failures;
}

}  // namespace radixpad::test
