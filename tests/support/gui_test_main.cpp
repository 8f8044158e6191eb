// The entry of the GUI test executables: headless, with every folder a test
// run could touch pointed into a temporary folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // The texts are String.dat's English ones, whatever language the user running the tests reads.
  qunsetenv("LC_ALL");
  qunsetenv("LC_MESSAGES");
  qputenv("LANG", "C.UTF-8");
  QTemporaryDir home;
  if (!home.isValid()) return 1;
  const QByteArray root = home.path().toUtf8();
  qputenv("HOME", root);
  qputenv("XDG_CONFIG_HOME", root + "/config");
  qputenv("XDG_CONFIG_DIRS", root + "/xdg");
  qputenv("XDG_DATA_HOME", root + "/data");
  qputenv("XDG_CACHE_HOME", root + "/cache");
  qputenv("XDG_RUNTIME_DIR", root + "/runtime");
  QDir().mkpath(home.path() + "/runtime");
  QFile::setPermissions(home.path() + "/runtime",
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
