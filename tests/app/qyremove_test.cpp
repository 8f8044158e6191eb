// qyremove removes the login entry, the user settings folder and the private temporary
// folder, nothing else.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace radixpad::test {
namespace {

void Touch(const QString& path) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("x");
}

int RunQyremove(const QTemporaryDir& config, const QStringList& arguments, const QString& temporary = QString()) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_CONFIG_HOME", config.path());
  if (!temporary.isEmpty()) environment.insert("TMPDIR", temporary);
  process.setProcessEnvironment(environment);
  process.start(QStringLiteral(RADIXPAD_TEST_QYREMOVE), arguments);
  EXPECT_TRUE(process.waitForFinished(10000));
  return process.exitCode();
}

TEST(Qyremove, RemovesOnlyTheLoginEntryAndTheSettingsFolder) {
  QTemporaryDir config;
  const QStringList ours{"autostart/Quillory Radixpad.desktop", "Quillory/Radixpad/QyRadixpad.ini",
                         "Quillory/Radixpad/sea.jpg.bmp"};
  const QStringList others{"autostart/other.desktop", "Quillory/Other/settings.ini", "Quillory/readme"};
  for (const QString& path : ours + others) Touch(config.filePath(path));

  EXPECT_EQ(RunQyremove(config, {}), 2) << "without OK it changes nothing";
  EXPECT_EQ(RunQyremove(config, {"ok"}), 2);
  for (const QString& path : ours + others) EXPECT_TRUE(QFile::exists(config.filePath(path))) << path.toStdString();

  EXPECT_EQ(RunQyremove(config, {"OK"}), 0);
  for (const QString& path : ours) EXPECT_FALSE(QFile::exists(config.filePath(path))) << path.toStdString();
  EXPECT_FALSE(QDir(config.filePath("Quillory/Radixpad")).exists());
  for (const QString& path : others) EXPECT_TRUE(QFile::exists(config.filePath(path))) << path.toStdString();

  EXPECT_EQ(RunQyremove(config, {"OK"}), 0) << "nothing left to remove is no failure";
}

// The private folder under the temporary folder holds the settings when there is no
// configuration folder; it goes too, but under its name the temporary folder may hold
// what someone else put there: a link is not followed.
TEST(Qyremove, RemovesThePrivateTemporaryFolderButFollowsNoLink) {
  QTemporaryDir config;
  QTemporaryDir temporary;
  QTemporaryDir elsewhere;
  const QString folder = temporary.filePath(QStringLiteral("radixpad-%1").arg(::geteuid()));
  Touch(folder + "/QyRadixpad.ini");
  EXPECT_EQ(RunQyremove(config, {"OK"}, temporary.path()), 0);
  EXPECT_FALSE(QFileInfo::exists(folder));

  Touch(elsewhere.filePath("keep"));
  ASSERT_TRUE(QFile::link(elsewhere.path(), folder));
  RunQyremove(config, {"OK"}, temporary.path());
  EXPECT_TRUE(QFile::exists(elsewhere.filePath("keep"))) << "the link was followed";
}

}  // namespace
}  // namespace radixpad::test
