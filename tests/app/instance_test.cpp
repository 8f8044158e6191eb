// One running Radixpad per user: real processes of the built program, started
// over a temporary program folder and temporary settings and runtime folders.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>
#include <optional>
#include <thread>
#include <tuple>
#include <vector>

#include "converter_app.h"
#include "converter_dlg.h"
#include "gui_test_support.h"
#include "ini_store.h"
#include "single_instance.h"
#include "unix_socket.h"

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
  QProcess& StartFirst(const QStringList& arguments = {}) {
    QProcess& first = Start(arguments);
    EXPECT_TRUE(WaitFor([&] { return QFile::exists(runtime_.filePath("Quillory Radixpad")); }, 10000));
    return first;
  }

  static bool Ends(QProcess& process, int ms = 10000) {
    return process.waitForFinished(ms) && process.exitStatus() == QProcess::NormalExit;
  }

  /// The environment of the later starts without any display.
  void WithoutDisplay() {
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) environment_.remove(name);
  }

  QString StartupEntry() const { return config_.filePath("autostart/Quillory Radixpad.desktop"); }

  /// Puts a qyremove into the program folder that writes its arguments to the returned
  /// file; empty when it could not be written.
  QString RecordingQyremove() {
    const QString marker = program_.filePath("qyremove-ran");
    QFile script(program_.filePath("qyremove"));
    if (!script.open(QIODevice::WriteOnly)) return {};
    script.write(QString("#!/bin/sh\nprintf '%s' \"$*\" > '%1'\n").arg(marker).toUtf8());
    script.close();
    return script.setPermissions(script.permissions() | QFileDevice::ExeOwner) ? marker : QString();
  }

  QTemporaryDir program_;
  QTemporaryDir config_;
  QTemporaryDir runtime_;
  QProcessEnvironment environment_;
  std::vector<std::unique_ptr<QProcess>> processes_;
};

TEST_F(InstanceTest, SecondStartWakesTheFirstAndEnds) {
  QProcess& first = StartFirst();
  for (const QStringList& arguments :
       {QStringList{}, QStringList{"-R"}, QStringList{"-r "}, QStringList{"/UNINSTALL"}}) {
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
  const QString marker = RecordingQyremove();
  ASSERT_FALSE(marker.isEmpty());

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
  started.reserve(10);
  for (int i = 0; i < 10; ++i) started.push_back(&Start({}));
  // All but one end by themselves; give the survivor's window time to come up.
  ASSERT_TRUE(WaitFor(
      [&] {
        int running = 0;
        for (QProcess* p : started) running += p->state() != QProcess::NotRunning;
        return running == 1;
      },
      20000));
  QTest::qWait(500);
  int running = 0;
  for (QProcess* p : started) {
    if (p->state() != QProcess::NotRunning) {
      ++running;
    } else {
      // Each later start was answered by the first, none gave up.
      EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
      EXPECT_EQ(p->exitCode(), 0);
    }
  }
  EXPECT_EQ(running, 1);
}

TEST_F(InstanceTest, PrintNeedsNoDisplayAndTouchesNoFile) {
  WithoutDisplay();
  // (arguments, exit status, the start of standard output)
  const std::tuple<QStringList, int, QString> cases[] = {
      {{"--print", "--json", "--width", "8", "0xff"}, 0, "{\"input\": \"0xff\", \"width\": 8"},
      {{"--print", "1,000"}, 1, ""},
      {{"--print"}, 2, ""},
      {{"--version"}, 0, "radixpad "},
      {{"--help"}, 0, "Usage: radixpad"},
  };
  for (const auto& [arguments, status, out] : cases) {
    SCOPED_TRACE(arguments.join(' ').toStdString());
    QProcess& print = Start(arguments);
    ASSERT_TRUE(Ends(print));
    EXPECT_EQ(print.exitCode(), status) << print.readAllStandardError().toStdString();
    const QString printed = QString::fromUtf8(print.readAllStandardOutput());
    EXPECT_TRUE(out.isEmpty() ? printed.isEmpty() : printed.startsWith(out)) << printed.toStdString();
  }
  // No settings, no lock, no socket: the folders are as empty as before.
  EXPECT_TRUE(QDir(config_.path()).isEmpty());
  EXPECT_TRUE(QDir(runtime_.path()).isEmpty());
}

TEST_F(InstanceTest, RemovalAndUninstallNeedNoDisplay) {
  const QString marker = RecordingQyremove();
  ASSERT_FALSE(marker.isEmpty());
  QDir().mkpath(config_.filePath("autostart"));
  QFile entry(StartupEntry());
  ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
  entry.close();

  QProcess& first = StartFirst();
  // No display at all, or one that is not there.
  WithoutDisplay();
  QProcess& removal = Start({"-r"});
  EXPECT_TRUE(Ends(removal));
  EXPECT_EQ(removal.exitCode(), 0) << removal.readAllStandardError().toStdString();
  EXPECT_TRUE(WaitFor([&] { return QFile::exists(marker); }, 10000)) << "qyremove was not started";

  environment_.insert("DISPLAY", ":97");
  QProcess& uninstall = Start({"/uninstall"});
  EXPECT_TRUE(Ends(uninstall));
  EXPECT_EQ(uninstall.exitCode(), 0) << uninstall.readAllStandardError().toStdString();
  EXPECT_TRUE(Ends(first)) << "the running instance got the uninstall request";
  EXPECT_FALSE(QFile::exists(StartupEntry()));

  QProcess& alone = Start({"/uninstall"});
  EXPECT_TRUE(Ends(alone));
  EXPECT_EQ(alone.exitCode(), 0) << alone.readAllStandardError().toStdString();
}

TEST_F(InstanceTest, EndingSignalsSaveTheSettingsAndEndNormally) {
  const QString settings = config_.filePath("Quillory/Radixpad/QyRadixpad.ini");
  for (int signalNumber : {SIGTERM, SIGHUP, SIGINT}) {
    SCOPED_TRACE(signalNumber);
    QFile::remove(settings);
    QProcess& first = StartFirst();
    // The saved settings are read at start, and a start answers later ones before that.
    QTest::qWait(300);
    ASSERT_FALSE(QFile::exists(settings)) << "the settings were written before the signal";
    ::kill(static_cast<pid_t>(first.processId()), signalNumber);
    ASSERT_TRUE(first.waitForFinished(10000)) << "the program did not end";
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_EQ(GetIniInt("General", "Bits", -1, settings), 2) << "the settings were not saved";
  }
}

// --show, --hide and --toggle never make a second window: with a running copy they exit
// 0 once it answered; with none, --hide and --toggle exit 3 and --show starts one.
TEST_F(InstanceTest, ShowHideAndToggleGoToTheRunningCopy) {
  for (const char* option : {"--hide", "--toggle"}) {
    QProcess& alone = Start({option});
    EXPECT_TRUE(Ends(alone)) << option << " started a window";
    EXPECT_EQ(alone.exitCode(), kExitNoneRunning) << option;
  }
  EXPECT_FALSE(QDir(config_.filePath("Quillory")).exists()) << "they made settings folders";
  QProcess& shown = StartFirst({"--show"});
  for (const char* option : {"--hide", "--toggle", "--toggle", "--show"}) {
    QProcess& later = Start({option});
    EXPECT_TRUE(Ends(later)) << option;
    EXPECT_EQ(later.exitCode(), 0) << option << ": " << later.readAllStandardError().toStdString();
  }
  EXPECT_EQ(shown.state(), QProcess::Running);
}

// Sixteen idle connections fill the running copy's queue: a later start is turned away
// at first, tries again, and is answered.
TEST_F(InstanceTest, ABusyRunningCopyIsTriedAgain) {
  QProcess& busy = StartFirst();
  std::vector<int> idle;
  for (int i = 0; i < 16; ++i) idle.push_back(ConnectUnixSocket(runtime_.filePath("Quillory Radixpad")));
  QProcess& through = Start({"/uninstall"});
  EXPECT_TRUE(Ends(through, 15000));
  EXPECT_EQ(through.exitCode(), 0) << through.readAllStandardError().toStdString();
  EXPECT_TRUE(Ends(busy)) << "the start was turned away and said nothing";
  for (int fd : idle) ::close(fd);
}

TEST_F(InstanceTest, ARunningCopyThatDoesNotAnswerIsReported) {
  // This process holds the lock and listens, but answers nothing while it waits.
  const ScopedVariable runtime("XDG_RUNTIME_DIR", runtime_.path());
  CSingleInstance silent(QString::fromLatin1(kApplicationTitle));
  ASSERT_TRUE(silent.TryBecomeFirst());
  ASSERT_TRUE(silent.Listen([](const QString&) {}));
  QProcess& later = Start({});
  ASSERT_TRUE(later.waitForFinished(20000));
  EXPECT_EQ(later.exitCode(), kExitNoAnswer);
  EXPECT_TRUE(later.readAllStandardError().contains("running but did not answer"));
}

// Counts the events of one type its object receives.
class CEventCounter : public QObject {
 public:
  CEventCounter(QEvent::Type type, int* count) : type_(type), count_(count) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == type_) ++*count_;
    return false;
  }

 private:
  QEvent::Type type_;
  int* count_;
};

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
  // With a launcher's activation token, which the process does not keep afterwards.
  for (bool minimized : {true, false}) {
    if (minimized)
      dialog.showMinimized();
    else
      dialog.hide();
    HandleInstanceRequest(dialog, "wake token-1");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.isMinimized());
    EXPECT_FALSE(qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN"));
  }
  bool ended = false;
  QObject::connect(&dialog, &CConverterDlg::ended, [&] { ended = true; });
  HandleInstanceRequest(dialog, "uninstall");
  EXPECT_TRUE(ended);
}

// Show, hide and toggle as a later start asks for them. Without a tray (none here),
// hiding minimises: the window never goes where the user cannot get it back.
TEST(InstanceRequest, ToggleShowsAWindowOutOfReachAndHidesAnActiveOne) {
  QTemporaryDir program;
  ASSERT_TRUE(FillProgramFolder(program));
  CConverterDlg dialog(program.path());
  QWidget other;
  other.show();
  const auto activate = [](QWidget& window) {
    window.showNormal();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
  };
  enum State { kHidden, kMinimized, kCovered, kActive };
  const struct {
    State before;
    const char* request;
    bool shownAfter;  // else minimised
  } cases[] = {
      {kHidden, "toggle", true},       {kMinimized, "toggle", true}, {kCovered, "toggle", true},
      {kActive, "toggle", false},      {kActive, "hide", false},     {kCovered, "hide", false},
      {kHidden, "show token-2", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.before << " " << c.request);
    switch (c.before) {
      case kHidden:
        dialog.show();
        dialog.hide();
        break;
      case kMinimized:
        dialog.showMinimized();
        break;
      case kCovered:
        ASSERT_TRUE(activate(dialog));
        ASSERT_TRUE(activate(other));
        break;
      case kActive:
        ASSERT_TRUE(activate(dialog));
        break;
    }
    HandleInstanceRequest(dialog, QString::fromLatin1(c.request));
    if (c.shownAfter) {
      EXPECT_TRUE(WaitFor([&] { return dialog.isVisible() && !dialog.isMinimized() && dialog.isActiveWindow(); }));
    } else {
      EXPECT_TRUE(WaitFor([&] { return dialog.isVisible() && dialog.isMinimized(); }));
    }
    EXPECT_FALSE(qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN"));
  }
}

}  // namespace
}  // namespace radixpad::test

namespace radixpad::test {
namespace {

// The single instance in process, over a runtime folder of its own.
class SingleInstanceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(runtime_.isValid());
    ::chmod(QFile::encodeName(runtime_.path()).constData(), 0700);
  }

  QTemporaryDir runtime_;
  const ScopedVariable runtimeVariable_{"XDG_RUNTIME_DIR", runtime_.path()};
};

// Only a lock a live copy holds keeps a start from running. (what lies at the lock's
// place, whether another copy runs)
TEST_F(SingleInstanceTest, OnlyALockHeldByALiveProcessMeansAnotherCopyRuns) {
  CSingleInstance first("Radixpad test");
  EXPECT_TRUE(first.TryBecomeFirst());
  CSingleInstance second("Radixpad test");
  EXPECT_FALSE(second.TryBecomeFirst()) << "this process holds the lock";

  const auto lockFile = [this](const char* content, mode_t mode, qint64 ageSeconds) {
    const QString path = runtime_.filePath("Other test.lock");
    QFile::remove(path);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    const timespec times[2] = {{time(nullptr) - ageSeconds, 0}, {time(nullptr) - ageSeconds, 0}};
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
    ::chmod(QFile::encodeName(path).constData(), mode);
    // Run as root, only another owner makes a file one cannot claim to have made.
    if (mode == 0 && ::geteuid() == 0) {
      EXPECT_EQ(::chown(QFile::encodeName(path).constData(), 65534, 65534), 0);
    }
  };
  const struct {
    const char* name;
    const char* content;
    mode_t mode;
    qint64 ageSeconds;
    bool runs;
  } cases[] = {
      {"left by a process that has ended", "999999999\nradixpad\n\n", 0600, 0, true},
      {"unreadable", "", 0, 0, true},
      {"unreadable and old", "12\nradixpad\n\n", 0, 600, true},
      {"not a lock, held by nobody, old", "garbage", 0600, 600, true},
      {"empty and new: a copy may be writing it", "", 0600, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    lockFile(c.content, c.mode, c.ageSeconds);
    EXPECT_EQ(CSingleInstance("Other test").TryBecomeFirst(), c.runs);
  }

  // A lock in a folder that is not there cannot be made.
  CSingleInstance nowhere("missing/Radixpad test");
  EXPECT_TRUE(nowhere.TryBecomeFirst());
  EXPECT_FALSE(QDir(runtime_.path() + "/missing").exists());
}

TEST_F(SingleInstanceTest, TheLockAndTheSocketArePrivateWhateverTheUmask) {
  const mode_t saved = ::umask(0);
  CSingleInstance instance("Radixpad test");
  const bool first = instance.TryBecomeFirst();
  const bool listening = instance.Listen([](const QString&) {});
  ::umask(saved);
  ASSERT_TRUE(first && listening);
  for (const char* name : {"Radixpad test.lock", "Radixpad test"}) {
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(runtime_.filePath(name)).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u) << name;
  }
}

// The lock and the socket never live in a folder another user made or can write to.
TEST_F(SingleInstanceTest, RuntimeFolderIsTheUsersAlone) {
  QTemporaryDir temporary;
  const ScopedVariable temporaryVariable("TMPDIR", temporary.path());
  const QString own = temporary.filePath(QStringLiteral("radixpad-runtime-%1").arg(::geteuid()));
  const QString shared = temporary.filePath("shared");
  QDir().mkpath(shared);
  ::chmod(QFile::encodeName(shared).constData(), 01777);
  const QString link = temporary.filePath("link");
  QFile::link(runtime_.path(), link);
  const struct {
    const char* name;
    std::optional<QString> runtime;  // XDG_RUNTIME_DIR
    QString expected;
  } cases[] = {
      {"the user's runtime folder", runtime_.path(), runtime_.path() + "/"},
      {"unset", std::nullopt, own + "/"},
      {"relative", QStringLiteral("run"), own + "/"},
      {"writable by others", shared, own + "/"},
      {"a link", link, own + "/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ScopedVariable runtime("XDG_RUNTIME_DIR", c.runtime);
    EXPECT_EQ(CSingleInstance::RuntimeFolder(), c.expected);
  }
  struct stat info {};
  ASSERT_EQ(::lstat(QFile::encodeName(own).constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0700u);

  // Its own folder replaced by a link (to a folder of the user's, even): none at all, and
  // a start runs alone rather than share a lock.
  QDir(own).removeRecursively();
  QFile::link(runtime_.path(), own);
  const ScopedVariable noRuntime("XDG_RUNTIME_DIR", std::nullopt);
  EXPECT_EQ(CSingleInstance::RuntimeFolder(), QString());
  CSingleInstance alone("Radixpad test");
  EXPECT_TRUE(alone.TryBecomeFirst());
  EXPECT_FALSE(alone.Listen([](const QString&) {}));
  EXPECT_FALSE(QFile::exists(runtime_.filePath("Radixpad test.lock")));
}

// A request may carry the launcher's activation token: it is sent only to a socket of
// this user's, never through a link to one.
TEST_F(SingleInstanceTest, RequestsGoOnlyToASocketOfThisUser) {
  CSingleInstance first("Radixpad test");
  ASSERT_TRUE(first.TryBecomeFirst());
  QStringList requests;
  ASSERT_TRUE(first.Listen([&](const QString& request) { requests << request; }));
  QFile::link(runtime_.filePath("Radixpad test"), runtime_.filePath("Linked test"));
  using R = CSingleInstance::SendResult;
  R linked = R::kAnswered;
  std::thread later([&] { linked = CSingleInstance("Linked test").SendToFirst("wake token", 2000); });
  QTest::qWait(300);
  later.join();
  EXPECT_EQ(linked, R::kNotDelivered);
  // The socket itself, but another user's (made so where the test may).
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(QFile::encodeName(runtime_.filePath("Radixpad test")).constData(), 65534, 65534), 0);
    R foreign = R::kAnswered;
    std::thread again([&] { foreign = CSingleInstance("Radixpad test").SendToFirst("wake token", 2000); });
    QTest::qWait(300);
    again.join();
    EXPECT_EQ(foreign, R::kNotDelivered);
  }
  EXPECT_TRUE(requests.isEmpty());
}

TEST_F(SingleInstanceTest, SilentAndSlowClientsNeverHoldUpTheWindow) {
  CSingleInstance instance("Radixpad test");
  ASSERT_TRUE(instance.TryBecomeFirst());
  QStringList requests;
  ASSERT_TRUE(instance.Listen([&](const QString& request) { requests << request; }));

  // Three clients that connect and send nothing, one that sends half a line.
  const QString socket = runtime_.filePath("Radixpad test");
  std::vector<int> silent{ConnectUnixSocket(socket), ConnectUnixSocket(socket), ConnectUnixSocket(socket)};
  const int slow = ConnectUnixSocket(socket);
  ASSERT_EQ(::send(slow, "wa", 2, MSG_NOSIGNAL), 2);

  // The event loop keeps turning: a later start is answered at once.
  QElapsedTimer timer;
  timer.start();
  bool answered = false;
  std::thread later([&] {
    answered = CSingleInstance("Radixpad test").SendToFirst("wake", 5000) == CSingleInstance::SendResult::kAnswered;
  });
  const bool handled = WaitFor([&] { return requests.contains("wake"); }, 5000);
  const qint64 waitedMs = timer.elapsed();
  EXPECT_TRUE(handled);
  EXPECT_LT(waitedMs, 500) << "the window waited for the silent clients";

  // The slow client finishes its line within the time limit and is answered.
  ASSERT_EQ(::send(slow, "ke\n", 3, MSG_NOSIGNAL), 3);
  EXPECT_TRUE(WaitFor([&] { return requests.size() == 2; }, 3000));
  later.join();
  EXPECT_TRUE(answered);
  char answer[8] = {};
  EXPECT_EQ(::recv(slow, answer, sizeof(answer), 0), 5);
  EXPECT_STREQ(answer, "done\n");

  // The silent ones are closed after the time limit, with no request handled.
  for (int fd : silent) {
    EXPECT_TRUE(WaitFor(
        [&] {
          char byte = 0;
          return ::recv(fd, &byte, 1, MSG_DONTWAIT) == 0;
        },
        3000))
        << "a silent client was never closed";
    ::close(fd);
  }
  ::close(slow);
  EXPECT_EQ(requests, QStringList({"wake", "wake"}));
}

// Where the desktop keeps placement to itself (Wayland) the program is never told its
// window was minimised: a wake maps the window afresh. Elsewhere a visible window is
// only raised, never unmapped.
TEST(InstanceRequest, WakeMapsTheWindowAfreshOnlyWhereItCannotRaiseIt) {
  QTemporaryDir program;
  ASSERT_TRUE(FillProgramFolder(program));
  for (const char* platform : {"wayland", "xcb"}) {
    CConverterDlg dialog(program.path(), nullptr, QString::fromLatin1(platform));
    dialog.show();
    int hides = 0;
    CEventCounter counter(QEvent::Hide, &hides);
    dialog.installEventFilter(&counter);
    HandleInstanceRequest(dialog, "wake");
    dialog.removeEventFilter(&counter);
    EXPECT_EQ(hides, *platform == 'w' ? 1 : 0) << platform;
    EXPECT_TRUE(dialog.isVisible()) << platform;
  }
}

}  // namespace
}  // namespace radixpad::test
