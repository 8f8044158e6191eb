// One running Radixpad per user: real processes of the built program, started
// over a temporary program folder and temporary settings and runtime folders.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "converter_app.h"
#include "converter_dlg.h"
#include "gui_test_support.h"

namespace radixpad::test {
namespace {

class InstanceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(program_.isValid() && config_.isValid() && runtime_.isValid());
    ASSERT_TRUE(FillProgramFolder(program_));
    ASSERT_TRUE(QFile::copy(QStringLiteral(RADIXPAD_TEST_PROGRAM), program_.filePath("radixpad")));
    environment_ = QProcessEnvironment::systemEnvironment();
    environment_.insert("QT_QPA_PLATFORM", "offscreen");
    environment_.insert("XDG_CONFIG_HOME", config_.path());
    environment_.insert("XDG_RUNTIME_DIR", runtime_.path());
  }

  void TearDown() override {
    for (auto& process : processes_) {
      if (process->state() != QProcess::NotRunning) {
        process->kill();
        process->waitForFinished(5000);
      }
    }
  }

  QProcess& Start(const QStringList& arguments) {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment_);
    process->setProgram(program_.filePath("radixpad"));
    process->setArguments(arguments);
    process->start();
    EXPECT_TRUE(process->waitForStarted(5000));
    processes_.push_back(std::move(process));
    return *processes_.back();
  }

  /// Starts the first instance and waits until it answers later starts.
  QProcess& StartFirst() {
    QProcess& first = Start({});
    EXPECT_TRUE(WaitFor([&] { return QFile::exists(runtime_.filePath("Quillory Radixpad")); }, 10000));
    return first;
  }

  static bool Ends(QProcess& process, int ms = 10000) {
    return process.waitForFinished(ms) && process.exitStatus() == QProcess::NormalExit;
  }

  QString StartupEntry() const { return config_.filePath("autostart/Quillory Radixpad.desktop"); }

  QTemporaryDir program_;
  QTemporaryDir config_;
  QTemporaryDir runtime_;
  QProcessEnvironment environment_;
  std::vector<std::unique_ptr<QProcess>> processes_;
};

TEST_F(InstanceTest, SecondStartWakesTheFirstAndEnds) {
  QProcess& first = StartFirst();
  for (const QStringList& arguments : {QStringList{}, QStringList{"-R"}, QStringList{"-r "}, QStringList{"/UNINSTALL"}}) {
    QProcess& second = Start(arguments);
    EXPECT_TRUE(Ends(second)) << arguments.join(' ').toStdString();
    EXPECT_EQ(second.exitCode(), 0);
  }
  QTest::qWait(200);
  EXPECT_EQ(first.state(), QProcess::Running) << "none of these forms asks the first to end";
}

TEST_F(InstanceTest, UninstallEndsTheRunningInstanceAndRemovesTheStartupEntry) {
  QDir().mkpath(config_.filePath("autostart"));
  QFile entry(StartupEntry());
  ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
  entry.close();
  QProcess& first = StartFirst();
  QProcess& second = Start({"/uninstall"});
  EXPECT_TRUE(Ends(second));
  EXPECT_TRUE(Ends(first)) << "the first instance ends";
  EXPECT_FALSE(QFile::exists(StartupEntry()));
  EXPECT_TRUE(QFile::exists(config_.filePath("Quillory/Radixpad/QyRadixpad.ini"))) << "its settings were saved";
}

TEST_F(InstanceTest, UninstallWithNothingRunningShowsNothingAndTouchesNoFiles) {
  QProcess& alone = Start({"/uninstall"});
  EXPECT_TRUE(Ends(alone));
  EXPECT_EQ(alone.exitCode(), 0);
  EXPECT_FALSE(QDir(config_.filePath("Quillory")).exists());
}

TEST_F(InstanceTest, RemovalStartsQyremoveWithOkEvenWhileAnInstanceRuns) {
  const QString marker = program_.filePath("qyremove-ran");
  QFile script(program_.filePath("qyremove"));
  ASSERT_TRUE(script.open(QIODevice::WriteOnly));
  script.write(QString("#!/bin/sh\nprintf '%s' \"$*\" > '%1'\n").arg(marker).toUtf8());
  script.close();
  script.setPermissions(script.permissions() | QFileDevice::ExeOwner);

  QProcess& first = StartFirst();
  QProcess& removal = Start({"-r"});
  EXPECT_TRUE(Ends(removal));
  ASSERT_TRUE(WaitFor([&] { return QFile::exists(marker); }, 10000));
  QFile ran(marker);
  ASSERT_TRUE(ran.open(QIODevice::ReadOnly));
  EXPECT_EQ(ran.readAll(), "OK");
  EXPECT_TRUE(QDir(config_.filePath("Quillory/Radixpad")).exists()) << "the settings folders are made as at a start";
  EXPECT_EQ(first.state(), QProcess::Running);
}

TEST_F(InstanceTest, TenStartsAtOnceLeaveOneRunning) {
  std::vector<QProcess*> started;
  for (int i = 0; i < 10; ++i) started.push_back(&Start({}));
  // All but one end by themselves; give the survivor's window time to come up.
  ASSERT_TRUE(WaitFor([&] {
    int running = 0;
    for (QProcess* p : started) running += p->state() != QProcess::NotRunning;
    return running == 1;
  }, 20000));
  QTest::qWait(500);
  int running = 0;
  for (QProcess* p : started) running += p->state() != QProcess::NotRunning;
  EXPECT_EQ(running, 1);
}

// The running instance's side of a later start, in process.
TEST(InstanceRequest, WakeRestoresAHiddenWindowAndUninstallEndsIt) {
  QTemporaryDir program;
  ASSERT_TRUE(FillProgramFolder(program));
  CConverterDlg dialog(program.path());
  dialog.show();
  dialog.hide();
  HandleInstanceRequest(dialog, "wake");
  EXPECT_TRUE(dialog.isVisible());
  dialog.showMinimized();
  HandleInstanceRequest(dialog, "wake");
  EXPECT_FALSE(dialog.isMinimized());
  bool ended = false;
  QObject::connect(&dialog, &CConverterDlg::ended, [&] { ended = true; });
  HandleInstanceRequest(dialog, "uninstall");
  EXPECT_TRUE(ended);
}

}  // namespace
}  // namespace radixpad::test
