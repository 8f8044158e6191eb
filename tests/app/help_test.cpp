// The help page reaches the registered browser, or xdg-open, as one argument.
#include "help.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include "gui_test_support.h"
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

TEST_F(HelpTest, WhenNothingCanShowThePageAMessageGivesItsPath) {
  QTemporaryDir program;
  ASSERT_TRUE(FillProgramFolder(program));
  struct Case {
    const char* name;
    const char* registered;  // the registered browser, or null
    const char* xdgOpen;     // the stand-in xdg-open's script, or null for none on the path
  };
  const Case cases[] = {
      {"no browser registered, no xdg-open", nullptr, nullptr},
      {"the registered browser is gone, no xdg-open", "/nonexistent/browser", nullptr},
      {"xdg-open finds no way to open it", nullptr, "#!/bin/sh\nexit 3\n"},
      {"xdg-open fails to open it", "/nonexistent/browser", "#!/bin/sh\nexit 4\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CRegistry registry;
    ASSERT_TRUE(registry.Connect(HKEY_LOCAL_MACHINE, nullptr));
    ASSERT_TRUE(registry.CreateKey(kBrowserKey));
    ASSERT_TRUE(registry.SetStringValue("", c.registered ? c.registered : ""));
    registry.Close();
    QFile::remove(bin_.filePath("xdg-open"));
    if (c.xdgOpen) {
      QFile script(bin_.filePath("xdg-open"));
      ASSERT_TRUE(script.open(QIODevice::WriteOnly));
      script.write(c.xdgOpen);
      script.close();
      script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    }
    qputenv("PATH", bin_.path().toUtf8());

    QStringList told;
    ShowHelp(program.path(), nullptr, [&](const QString& text) { told << text; });
    ASSERT_TRUE(WaitFor([&] { return !told.isEmpty(); }, 10000));
    QTest::qWait(50);
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].endsWith("\n" + program.filePath("index.htm"))) << told[0].toStdString();
    EXPECT_FALSE(told[0].contains("%1"));
  }
}

// The message belongs to the window: it stays over it and is not left behind alone.
TEST_F(HelpTest, TheMessageBelongsToTheWindow) {
  QTemporaryDir program;
  ASSERT_TRUE(FillProgramFolder(program));
  qputenv("PATH", bin_.path().toUtf8());  // no xdg-open
  QWidget window;
  window.show();
  const QWidget* owner = nullptr;
  bool shown = false;
  const MessageBoxAnswerer answerer([&](const QMessageBox& box) {
    shown = true;
    owner = box.parentWidget();
  });
  ShowHelp(program.path(), &window);
  ASSERT_TRUE(WaitFor([&] { return shown; }, 10000));
  EXPECT_EQ(owner, &window);
}

TEST_F(HelpTest, AGoneRegisteredBrowserFallsBackToXdgOpenQuietly) {
  StandIn("xdg-open");
  qputenv("PATH", bin_.path().toUtf8() + ":" + savedPath_);
  CRegistry registry;
  ASSERT_TRUE(registry.Connect(HKEY_LOCAL_MACHINE, nullptr));
  ASSERT_TRUE(registry.CreateKey(kBrowserKey));
  ASSERT_TRUE(registry.SetStringValue("", "/nonexistent/browser"));
  registry.Close();
  bool told = false;
  ShowHelp("/opt/radixpad", nullptr, [&](const QString&) { told = true; });
  EXPECT_EQ(Received(), "/opt/radixpad/index.htm\n");
  QTest::qWait(200);
  EXPECT_FALSE(told) << "xdg-open showed the page";
}

}  // namespace
}  // namespace radixpad::test
