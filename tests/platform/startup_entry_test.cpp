// The run-at-login entry: an XDG autostart file.
#include "startup_entry.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace radixpad {
namespace {

QMap<QString, QString> ReadEntry(const QString& path) {
  QMap<QString, QString> values;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return values;
  const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
  for (const QString& line : lines) {
    const qsizetype equals = line.indexOf('=');
    if (equals > 0) values.insert(line.left(equals), line.mid(equals + 1));
  }
  if (!lines.isEmpty()) values.insert("#group", lines.first());
  return values;
}

// The first argument of an Exec value, read back by the desktop-entry rules: value
// escapes first, then quoting, then "%%".
QString FirstExecArgument(const QString& exec) {
  QString unescaped;
  for (qsizetype i = 0; i < exec.size(); ++i) {
    if (exec[i] == '\\' && i + 1 < exec.size()) {
      const QChar next = exec[++i];
      unescaped += next == 's' ? QChar(' ') : next == 'n' ? QChar('\n') : next == 't' ? QChar('\t') : next;
    } else {
      unescaped += exec[i];
    }
  }
  QString argument;
  bool quoted = false;
  for (qsizetype i = 0; i < unescaped.size(); ++i) {
    const QChar c = unescaped[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (quoted && c == '\\' && i + 1 < unescaped.size()) {
      argument += unescaped[++i];
    } else if (!quoted && c == ' ') {
      break;
    } else if (c == '%' && i + 1 < unescaped.size() && unescaped[i + 1] == '%') {
      argument += '%';
      ++i;
    } else {
      argument += c;
    }
  }
  return argument;
}

class StartupEntryTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString EntryPath() const { return dir_.filePath("autostart/Quillory Radixpad.desktop"); }
  QTemporaryDir dir_;
};

TEST_F(StartupEntryTest, EntryHasTheKeysAndPassesTheValidator) {
  const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
  ASSERT_FALSE(validator.isEmpty()) << "desktop-file-validate is missing (Debian package desktop-file-utils)";
  const QString programs[] = {
      "/opt/quillory-radixpad/radixpad",
      "/home/a user/My Programs/50% off/radixpad",
      "/tmp/odd \"quote\" $HOME `tick` back\\slash/radix pad",
  };
  for (const QString& program : programs) {
    SCOPED_TRACE(program.toStdString());
    ASSERT_EQ(CreateStartupShortcut(program, EntryPath(), "Quillory Radixpad"), kStartupEntryOk);
    const auto values = ReadEntry(EntryPath());
    EXPECT_EQ(values.value("#group"), "[Desktop Entry]");
    EXPECT_EQ(values.value("Type"), "Application");
    EXPECT_EQ(values.value("Name"), "Quillory Radixpad");
    EXPECT_EQ(values.value("Comment"), "Quillory Radixpad");
    EXPECT_EQ(FirstExecArgument(values.value("Exec")), program) << values.value("Exec").toStdString();
    QProcess validate;
    validate.start(validator, {EntryPath()});
    ASSERT_TRUE(validate.waitForFinished(10000));
    const QByteArray output = validate.readAllStandardOutput() + validate.readAllStandardError();
    EXPECT_EQ(validate.exitCode(), 0) << output.toStdString();
    EXPECT_FALSE(output.contains("error")) << output.toStdString();
  }
}

TEST_F(StartupEntryTest, QuotingOfExecArguments) {
  struct Case {
    const char* argument;
    const char* quoted;
  };
  const Case cases[] = {
      {"/usr/bin/radixpad", "/usr/bin/radixpad"},
      {"/a b/c", "\"/a b/c\""},
      {"/50%/x", "/50%%/x"},
      {"/a b/50%", "\"/a b/50%%\""},
      {"/a$b", "\"/a\\$b\""},
      {"/a\"b", "\"/a\\\"b\""},
      {"/a\\b", "\"/a\\\\b\""},
      {"/a`b", "\"/a\\`b\""},
      {"", "\"\""},
  };
  for (const Case& c : cases) EXPECT_EQ(QuoteExecArgument(c.argument), c.quoted) << c.argument;
  EXPECT_EQ(EscapeDesktopValue("a\\b\nc\td"), "a\\\\b\\nc\\td");
  EXPECT_EQ(EscapeDesktopValue(" lead"), "\\slead");
}

TEST_F(StartupEntryTest, OverwrittenTestedAndDeleted) {
  QDir().mkpath(dir_.filePath("autostart"));
  QFile old(EntryPath());
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("[Desktop Entry]\nType=Link\nURL=http://example.invalid/\nExtra=1\n");
  old.close();
  EXPECT_TRUE(StartupEntryExists(EntryPath()));
  ASSERT_EQ(CreateStartupShortcut("/usr/bin/radixpad", EntryPath(), "Quillory Radixpad"), kStartupEntryOk);
  const auto values = ReadEntry(EntryPath());
  EXPECT_EQ(values.value("Type"), "Application");
  EXPECT_FALSE(values.contains("Extra"));
  EXPECT_TRUE(DeleteStartupEntry(EntryPath()));
  EXPECT_FALSE(StartupEntryExists(EntryPath()));
  EXPECT_FALSE(DeleteStartupEntry(EntryPath()));
}

TEST_F(StartupEntryTest, MissingAutostartFolderIsCreated) {
  ASSERT_FALSE(QFileInfo::exists(dir_.filePath("autostart")));
  EXPECT_EQ(CreateStartupShortcut("/usr/bin/radixpad", EntryPath(), "Quillory Radixpad"), kStartupEntryOk);
  EXPECT_TRUE(StartupEntryExists(EntryPath()));
}

TEST_F(StartupEntryTest, FailuresAreNegativeAndLeaveNothing) {
  // A file where the folder should be: no user, root included, can write there.
  QFile blocker(dir_.filePath("autostart"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  EXPECT_LT(CreateStartupShortcut("/usr/bin/radixpad", EntryPath(), "Quillory Radixpad"), 0);
  EXPECT_FALSE(StartupEntryExists(EntryPath()));

  EXPECT_EQ(CreateStartupShortcut("/usr/bin/radixpad", QString(), "Quillory Radixpad"), kStartupEntryBadArgument);
  EXPECT_EQ(CreateStartupShortcut(QString(), EntryPath(), "Quillory Radixpad"), kStartupEntryBadArgument);
  EXPECT_FALSE(StartupEntryExists(QString()));
  EXPECT_FALSE(DeleteStartupEntry(QString()));
}

TEST_F(StartupEntryTest, ReadOnlyFolderFailsQuietly) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders; the blocked-folder test covers this";
  QDir().mkpath(dir_.filePath("autostart"));
  QFile::setPermissions(dir_.filePath("autostart"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  EXPECT_EQ(CreateStartupShortcut("/usr/bin/radixpad", EntryPath(), "Quillory Radixpad"), kStartupEntryWriteFailed);
  EXPECT_FALSE(StartupEntryExists(EntryPath()));
  QFile::setPermissions(dir_.filePath("autostart"),
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

}  // namespace
}  // namespace radixpad
