// qyremove removes the login entry and the user settings folder, nothing else.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
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

int RunQyremove(const QTemporaryDir& config, const QStringList& arguments) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_CONFIG_HOME", config.path());
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

}  // namespace
}  // namespace radixpad::test
