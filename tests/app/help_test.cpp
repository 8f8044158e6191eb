// The help page reaches the registered browser, or xdg-open, as one argument.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "help.h"
#include "registry.h"

namespace radixpad::test {
namespace {

constexpr char kBrowserKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE";

class HelpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(store_.isValid() && bin_.isValid());
    qputenv("RADIXPAD_REGISTRY_DIR", store_.path().toUtf8());
    savedPath_ = qgetenv("PATH");
  }
  void TearDown() override {
    qunsetenv("RADIXPAD_REGISTRY_DIR");
    qputenv("PATH", savedPath_);
  }

  /// A stand-in browser that writes the arguments it was given, one a line.
  QString StandIn(const QString& name) {
    const QString path = bin_.filePath(name);
    QFile script(path);
    EXPECT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QString("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '%1.tmp' && mv '%1.tmp' '%1'\n")
                     .arg(Marker())
                     .toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    return path;
  }
  QString Marker() const { return bin_.filePath("received"); }
  QString Received() {
    QElapsedTimer timer;
    timer.start();
    while (!QFile::exists(Marker()) && timer.elapsed() < 5000) QTest::qWait(20);
    QFile file(Marker());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString("(nothing)");
  }

  QTemporaryDir store_;
  QTemporaryDir bin_;
  QByteArray savedPath_;
};

TEST_F(HelpTest, RegisteredBrowserReceivesThePagePath) {
  const QString browser = StandIn("my browser");
  CRegistry registry;
  ASSERT_TRUE(registry.Connect(HKEY_LOCAL_MACHINE, nullptr));
  ASSERT_TRUE(registry.CreateKey(kBrowserKey));
  ASSERT_TRUE(registry.SetStringValue("", browser.toStdString().c_str()));
  registry.Close();

  EXPECT_EQ(HelpBrowser(), browser);
  ShowHelp("/opt/Quillory Radixpad");
  EXPECT_EQ(Received(), "/opt/Quillory Radixpad/index.htm\n");
}

TEST_F(HelpTest, WithoutARegisteredBrowserXdgOpenReceivesIt) {
  StandIn("xdg-open");
  qputenv("PATH", bin_.path().toUtf8() + ":" + savedPath_);
  EXPECT_EQ(HelpBrowser(), "xdg-open");
  ShowHelp("/usr/lib/quillory-radixpad/");
  EXPECT_EQ(Received(), "/usr/lib/quillory-radixpad/index.htm\n");
}

}  // namespace
}  // namespace radixpad::test
