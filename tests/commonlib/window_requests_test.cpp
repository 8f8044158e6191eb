// Close and minimise requests, the tray icon and the behaviours read at attach, against
// the library's core with a tray the test switches on and off.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>
#include <vector>

#include "common_core.h"
#include "ini_store.h"
#include "qy_messages.h"
#include "served_window.h"
#include "settings_keys.h"
#include "test_support.h"

namespace radixpad::commonlib {
namespace {

const QString kProduct = QString::fromLatin1(sections::kProduct);

// Stands in for the main window: keeps the commands and tray notifications it gets and,
// like the real one, shows itself on the restore command (unless told not to).
class RecordingWindow : public QDialog {
 public:
  struct Command {
    intptr_t id;
    bool posted;
  };
  std::vector<Command> commands;
  std::vector<std::pair<intptr_t, intptr_t>> trayNotifications;  // wParam, lParam
  bool restoresItself = true;

 protected:
  bool event(QEvent* e) override {
    if (e->type() == kCommandMessage) {
      auto* command = static_cast<CCommandEvent*>(e);
      commands.push_back({command->commandId(), command->posted()});
      if (command->commandId() == kCommandRestore && restoresItself) {
        show();
        showNormal();
      }
      return true;
    }
    if (e->type() == kTrayNotifyMessage) {
      auto* notify = static_cast<CTrayNotifyEvent*>(e);
      trayNotifications.emplace_back(notify->wParam(), notify->lParam());
      return true;
    }
    return QDialog::event(e);
  }
};

intptr_t Arg(const void* p) { return reinterpret_cast<intptr_t>(p); }
intptr_t WindowArg(QObject* w) { return reinterpret_cast<intptr_t>(w); }

// Offers `event` for `receiver` through the pre-translate message, as the main window does.
intptr_t Offer(QWidget* window, QEvent* event, QObject* receiver) {
  CPreTranslateEvent offer(event, receiver);
  QCoreApplication::sendEvent(window, &offer);
  return offer.result();
}

class WindowRequestsTest : public testing::Test {
 protected:
  void SetUp() override {
    WriteIniInt(kProduct, QString::fromLatin1(keys::kAlwaysOnTop), 0, DefaultsFile());
    WriteIniInt(kProduct, QString::fromLatin1(keys::kMinimizeToSystemTray), 1, DefaultsFile());
    WriteIniInt(kProduct, QString::fromLatin1(keys::kSnapToDesktopSide), 0, DefaultsFile());
  }

  QString DefaultsFile() const { return m_folder.filePath(QString::fromLatin1(files::kDefaults)); }
  QString UserFile() const { return m_folder.filePath(QStringLiteral("user/QyRadixpad.ini")); }

  // A fresh core and main window, attached; minimise-to-tray as given.
  void Start(bool minimizeToTray, bool trayAvailable) {
    m_trayAvailable = trayAvailable;
    m_window = std::make_unique<RecordingWindow>();
    m_window->setWindowTitle(QStringLiteral("Quillory Radixpad"));
    CoreOptions options;
    options.programFolder = m_folder.path();
    options.trayAvailable = [this] { return m_trayAvailable; };
    m_core = std::make_unique<CCommonCore>(options);
    const QByteArray user = QFile::encodeName(UserFile());
    ASSERT_EQ(m_core->SendMsg(kSendAttach, 0, Arg(user.constData()), 0, WindowArg(m_window.get())), 1);
    m_core->SendMsg(kSendMinimizeToTray, WindowArg(m_window.get()), minimizeToTray ? 1 : 0, 0, 0);
    m_window->show();
  }

  CServedWindow* Served() const { return m_core->Served(m_window.get()); }
  QSystemTrayIcon* Tray() const { return Served()->TrayIcon(); }
  std::vector<RecordingWindow::Command> Commands() {
    QCoreApplication::processEvents();
    return m_window->commands;
  }

  void TearDown() override {
    m_core.reset();
    m_window.reset();
  }

  QTemporaryDir m_folder;
  bool m_trayAvailable = false;
  std::unique_ptr<RecordingWindow> m_window;
  std::unique_ptr<CCommonCore> m_core;
};

TEST_F(WindowRequestsTest, CloseAndMinimiseWithAndWithoutTray) {
  enum Request { kCloseCommand, kMinimizeCommand, kMinimizedByWindowManager };
  struct Case {
    const char* name;
    bool toTray;
    bool tray;
    Request request;
    bool consumed;
    bool hidden;
    bool exitPosted;
  };
  const Case cases[] = {
      {"close, to tray, tray", true, true, kCloseCommand, true, true, false},
      {"close, to tray, no tray", true, false, kCloseCommand, true, false, true},
      {"close, not to tray, tray", false, true, kCloseCommand, true, false, true},
      {"close, not to tray, no tray", false, false, kCloseCommand, true, false, true},
      {"minimise, to tray, tray", true, true, kMinimizeCommand, true, true, false},
      {"minimise, to tray, no tray", true, false, kMinimizeCommand, false, false, false},
      {"minimise, not to tray, tray", false, true, kMinimizeCommand, false, false, false},
      {"minimised by the window manager, to tray, tray", true, true, kMinimizedByWindowManager, false, true, false},
      {"minimised by the window manager, to tray, no tray", true, false, kMinimizedByWindowManager, false, false,
       false},
      {"minimised by the window manager, not to tray, tray", false, true, kMinimizedByWindowManager, false, false,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start(c.toTray, c.tray);
    intptr_t consumed = 0;
    switch (c.request) {
      case kCloseCommand: {
        CSysCommandEvent close(kScClose);
        consumed = Offer(m_window.get(), &close, m_window.get());
        break;
      }
      case kMinimizeCommand: {
        CSysCommandEvent minimize(kScMinimize);
        consumed = Offer(m_window.get(), &minimize, m_window.get());
        break;
      }
      case kMinimizedByWindowManager: {
        m_window->setWindowState(Qt::WindowMinimized);
        QWindowStateChangeEvent change(Qt::WindowNoState);
        consumed = Offer(m_window.get(), &change, m_window.get());
        break;
      }
    }
    const auto commands = Commands();
    EXPECT_EQ(consumed != 0, c.consumed);
    EXPECT_EQ(!m_window->isVisible(), c.hidden);
    EXPECT_EQ(Served()->HiddenToTray(), c.hidden);
    const bool exitPosted = commands.size() == 1 && commands[0].id == kCommandExit && commands[0].posted;
    EXPECT_EQ(exitPosted, c.exitPosted) << commands.size();
    if (!c.exitPosted) {
      EXPECT_TRUE(commands.empty());
    }
    if (c.hidden) {
      EXPECT_FALSE(m_window->isMinimized()) << "comes back as a normal window";
    }
    TearDown();
  }
}

TEST_F(WindowRequestsTest, OtherMessagesAreNotConsumed) {
  Start(true, true);
  auto* child = new QPushButton(m_window.get());
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  CCommandEvent restore(kCommandRestore);
  CCommandEvent exitCommand(kCommandExit, true);
  CSysCommandEvent sysRestore(kScRestore);
  CSysCommandEvent maximize(kScMaximize);
  CSysCommandEvent about(kCommandAbout);
  CSysCommandEvent closeForChild(kScClose);
  QWindowStateChangeEvent notMinimized(Qt::WindowMinimized);
  struct Case {
    const char* name;
    QEvent* event;
    QObject* receiver;
  };
  const Case cases[] = {
      {"Esc key", &escape, m_window.get()},
      {"mouse press on a child", &press, child},
      {"restore command", &restore, m_window.get()},
      {"exit command", &exitCommand, m_window.get()},
      {"window-menu restore", &sysRestore, m_window.get()},
      {"window-menu maximise", &maximize, m_window.get()},
      {"window-menu about", &about, m_window.get()},
      {"close addressed to a child", &closeForChild, child},
      {"state change to normal", &notMinimized, m_window.get()},
      {"no event at all", nullptr, m_window.get()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Offer(m_window.get(), c.event, c.receiver), 0);
  }
  QCoreApplication::processEvents();
  EXPECT_TRUE(m_window->isVisible());
  EXPECT_TRUE(Commands().empty());
}

TEST_F(WindowRequestsTest, TrayIconOnlyWhenATrayExists) {
  Start(true, false);
  QCoreApplication::processEvents();
  EXPECT_EQ(Tray(), nullptr);
  TearDown();
  Start(true, true);
  EXPECT_EQ(Tray(), nullptr) << "the icon waits until the window is on screen";
  QCoreApplication::processEvents();
  ASSERT_NE(Tray(), nullptr);
  EXPECT_TRUE(Tray()->isVisible());
  EXPECT_EQ(Tray()->toolTip(), QStringLiteral("Quillory Radixpad"));
  EXPECT_FALSE(Tray()->icon().isNull());
  m_window->setWindowTitle(QStringLiteral("Other"));
  EXPECT_EQ(Tray()->toolTip(), QStringLiteral("Other"));
}

TEST_F(WindowRequestsTest, RightClickOnTheTrayIconNotifiesTheWindow) {
  Start(false, true);
  QCoreApplication::processEvents();
  ASSERT_NE(Tray(), nullptr);
  emit Tray()->activated(QSystemTrayIcon::Context);
  ASSERT_EQ(m_window->trayNotifications.size(), 1u);
  EXPECT_EQ(m_window->trayNotifications[0].first, 10001);
  EXPECT_EQ(m_window->trayNotifications[0].second & 0xFFFF, 0x205);
  emit Tray()->activated(QSystemTrayIcon::MiddleClick);
  EXPECT_EQ(m_window->trayNotifications.size(), 1u);
  EXPECT_TRUE(Commands().empty());
}

TEST_F(WindowRequestsTest, LeftClickAndDoubleClickRestore) {
  for (QSystemTrayIcon::ActivationReason reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick}) {
    for (bool restoresItself : {true, false}) {
      SCOPED_TRACE(testing::Message() << "reason " << reason << ", window restores itself " << restoresItself);
      Start(true, true);
      m_window->restoresItself = restoresItself;
      CSysCommandEvent close(kScClose);
      Offer(m_window.get(), &close, m_window.get());
      ASSERT_FALSE(m_window->isVisible());
      emit Tray()->activated(reason);
      const auto commands = Commands();
      ASSERT_EQ(commands.size(), 1u);
      EXPECT_EQ(commands[0].id, kCommandRestore);
      EXPECT_TRUE(m_window->isVisible()) << "never left out of reach";
      EXPECT_FALSE(Served()->HiddenToTray());
      TearDown();
    }
  }
}

TEST_F(WindowRequestsTest, TrayGoneMeansCloseEndsTheProgram) {
  Start(true, true);
  m_trayAvailable = false;  // the tray host went away
  CSysCommandEvent close(kScClose);
  EXPECT_EQ(Offer(m_window.get(), &close, m_window.get()), 1);
  EXPECT_TRUE(m_window->isVisible());
  const auto commands = Commands();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].id, kCommandExit);
}

TEST_F(WindowRequestsTest, RunningDialogKeepsRunningWhileInTheTray) {
  Start(true, true);
  m_window->hide();
  bool ranWhileHidden = false;
  bool visibleAfterRestore = false;
  bool visibleAfterOnTop = false;
  QTimer::singleShot(0, m_window.get(), [&] {
    CSysCommandEvent close(kScClose);
    Offer(m_window.get(), &close, m_window.get());
    QTimer::singleShot(50, m_window.get(), [&] {
      ranWhileHidden = !m_window->isVisible();
      emit Tray()->activated(QSystemTrayIcon::Trigger);
      visibleAfterRestore = m_window->isVisible();
      m_core->SendMsg(kSendAlwaysOnTop, WindowArg(m_window.get()), 1, 0, 0);
      QTimer::singleShot(50, m_window.get(), [&] {
        visibleAfterOnTop = m_window->isVisible();
        m_window->done(QDialog::Accepted);
      });
    });
  });
  EXPECT_EQ(m_window->exec(), QDialog::Accepted) << "hiding to the tray must not end the dialog";
  EXPECT_TRUE(ranWhileHidden);
  EXPECT_TRUE(visibleAfterRestore);
  EXPECT_TRUE(visibleAfterOnTop);
  EXPECT_TRUE(m_window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(WindowRequestsTest, BehavioursComeFromTheUserFileElseTheDefaultsFile) {
  struct Case {
    const char* name;
    int user;      // written to the user file; -2: key missing
    int defaults;  // written to the defaults file; -2: key missing
    bool expected;
  };
  const Case cases[] = {
      {"user 1 over defaults 0", 1, 0, true}, {"user 0 over defaults 1", 0, 1, false},
      {"user -1 is not set", -1, 1, true},    {"user missing", -2, 1, true},
      {"both missing", -2, -2, false},        {"user -1, defaults missing", -1, -2, false},
  };
  const char* keyNames[] = {keys::kAlwaysOnTop, keys::kSnapToDesktopSide, keys::kMinimizeToSystemTray};
  for (const char* keyName : keyNames) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << keyName << ": " << c.name);
      QFile::remove(UserFile());
      QFile::remove(DefaultsFile());
      QDir().mkpath(QFileInfo(UserFile()).path());
      const QString key = QString::fromLatin1(keyName);
      if (c.user != -2) WriteIniInt(kProduct, key, c.user, UserFile());
      if (c.defaults != -2) WriteIniInt(kProduct, key, c.defaults, DefaultsFile());
      m_trayAvailable = true;
      m_window = std::make_unique<RecordingWindow>();
      CoreOptions options;
      options.programFolder = m_folder.path();
      options.trayAvailable = [] { return true; };
      m_core = std::make_unique<CCommonCore>(options);
      const QByteArray user = QFile::encodeName(UserFile());
      m_core->SendMsg(kSendAttach, 0, Arg(user.constData()), 0, WindowArg(m_window.get()));
      const CServedWindow* served = Served();
      ASSERT_NE(served, nullptr);
      const bool value = keyName == keys::kAlwaysOnTop         ? served->AlwaysOnTop()
                         : keyName == keys::kSnapToDesktopSide ? served->SnapToDesktopSide()
                                                               : served->MinimizeToTray();
      EXPECT_EQ(value, c.expected);
      if (keyName == keys::kAlwaysOnTop) {
        EXPECT_EQ(m_window->windowFlags().testFlag(Qt::WindowStaysOnTopHint), c.expected);
      }
      TearDown();
    }
  }
}

TEST_F(WindowRequestsTest, DestroyedWindowIsForgotten) {
  Start(true, true);
  QObject* window = m_window.get();
  m_window.reset();
  // The old address is a stale handle: it is only compared, never followed.
  // NOLINTBEGIN(clang-analyzer-cplusplus.NewDelete)
  EXPECT_EQ(m_core->Served(window), nullptr);
  EXPECT_EQ(m_core->SendMsg(kSendAlwaysOnTop, WindowArg(window), 1, 0, 0), 0);
  // NOLINTEND(clang-analyzer-cplusplus.NewDelete)
}

}  // namespace
}  // namespace radixpad::commonlib
