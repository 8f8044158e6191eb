#include "common_lib.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QObject>
#include <vector>

#include "qy_messages.h"
#include "recording_common_lib.h"
#include "test_environment.h"

namespace radixpad {
namespace {

const QString kRecordingDir = QStringLiteral(RADIXPAD_TEST_RECORDING_LIB_DIR);
const QString kEntrylessDir = QStringLiteral(RADIXPAD_TEST_ENTRYLESS_LIB_DIR);

// Stands in for a window: keeps the commands posted to it.
class CommandSink : public QObject {
 public:
  std::vector<intptr_t> commands;

 protected:
  bool event(QEvent* e) override {
    if (e->type() == kCommandMessage) {
      const auto* command = static_cast<CCommandEvent*>(e);
      // Only posted commands are expected here.
      commands.push_back(command->posted() ? command->commandId() : -command->commandId());
      return true;
    }
    return QObject::event(e);
  }
};

struct ShownBox {
  QObject* owner;
  QString text;
};

class CommonLibTest : public testing::Test {
 protected:
  void SetUp() override {
    CCommonLib::SetMessageBoxHook([this](QObject* owner, const QString& text) { m_boxes.push_back({owner, text}); });
  }
  void TearDown() override {
    CCommonLib::Unload();
    CCommonLib::SetMessageBoxHook({});
  }

  // A CCommonLib whose program folder is `programFolder`.
  void SetUpFolders(CCommonLib& lib, const QString& programFolder) { lib.SetupFolders(nullptr, programFolder); }

  std::vector<intptr_t> PostedCommands() {
    QCoreApplication::sendPostedEvents(&m_window);
    return m_window.commands;
  }

  static void ExpectEveryCallReturnsZero(CCommonLib& lib, QObject* window) {
    EXPECT_EQ(lib.Attach(window), 0);
    EXPECT_EQ(lib.AttachPreview(window), 0);
    EXPECT_EQ(lib.ShowAbout(), 0);
    EXPECT_EQ(lib.SendBehaviour(kSendAlwaysOnTop, true), 0);
    EXPECT_EQ(lib.Send(kSendUninstall), 0);
  }

  test::ScopedEnvironment m_env;
  CommandSink m_window;
  std::vector<ShownBox> m_boxes;
};

TEST_F(CommonLibTest, MissingLibraryShowsTheLoaderErrorAndPostsCancel) {
  CCommonLib lib;
  SetUpFolders(lib, m_env.Root() + QStringLiteral("/nowhere"));
  EXPECT_FALSE(lib.Load(&m_window));
  EXPECT_FALSE(CCommonLib::IsLoaded());

  ASSERT_EQ(m_boxes.size(), 1u);
  EXPECT_EQ(m_boxes[0].owner, &m_window);
  EXPECT_FALSE(m_boxes[0].text.isEmpty());
  EXPECT_TRUE(m_boxes[0].text.contains(QStringLiteral("libQyCommon.so"))) << m_boxes[0].text.toStdString();
  EXPECT_EQ(PostedCommands(), std::vector<intptr_t>{kCommandCancel});
  ExpectEveryCallReturnsZero(lib, &m_window);
}

TEST_F(CommonLibTest, LibraryWithoutEntryPostsCancelWithoutABox) {
  CCommonLib lib;
  SetUpFolders(lib, kEntrylessDir);
  EXPECT_FALSE(lib.Load(&m_window));
  EXPECT_FALSE(CCommonLib::IsLoaded());
  EXPECT_TRUE(m_boxes.empty());
  EXPECT_EQ(PostedCommands(), std::vector<intptr_t>{kCommandCancel});
  ExpectEveryCallReturnsZero(lib, &m_window);
}

TEST_F(CommonLibTest, FailedLoadWithoutWindowPostsNothing) {
  CCommonLib lib;
  SetUpFolders(lib, kEntrylessDir);
  EXPECT_FALSE(lib.Load(nullptr));
  EXPECT_TRUE(PostedCommands().empty());
}

class RecordingLibTest : public CommonLibTest {
 protected:
  void SetUp() override {
    CommonLibTest::SetUp();
    // A handle of our own keeps the records readable after the product unloads the
    // library. (dlopen counts references; two QLibrary objects of one file do not.)
    const QByteArray path = QFile::encodeName(kRecordingDir + QStringLiteral("/libQyCommon.so"));
    m_records = dlopen(path.constData(), RTLD_NOW);
    ASSERT_NE(m_records, nullptr) << dlerror();
    m_count = reinterpret_cast<RecordedCallCountFunction>(dlsym(m_records, "RecordedCallCount"));
    m_call = reinterpret_cast<RecordedCallFunction>(dlsym(m_records, "RecordedCall"));
    const auto reset = reinterpret_cast<ResetRecordsFunction>(dlsym(m_records, "ResetRecords"));
    ASSERT_TRUE(m_count && m_call && reset);
    reset();
    SetUpFolders(m_lib, kRecordingDir);
    ASSERT_TRUE(m_lib.Load(&m_window));
  }
  void TearDown() override {
    CommonLibTest::TearDown();
    if (m_records) dlclose(m_records);
  }

  std::vector<RecordedSendMsg> Calls() const {
    std::vector<RecordedSendMsg> calls;
    calls.reserve(static_cast<std::size_t>(m_count()));
    for (int i = 0; i < m_count(); ++i) calls.push_back(*m_call(i));
    return calls;
  }
  static void ExpectCall(const RecordedSendMsg& call, intptr_t code, intptr_t a, intptr_t b, intptr_t c, intptr_t d) {
    EXPECT_EQ(call.code, code);
    EXPECT_EQ(call.a, a) << "code " << code;
    EXPECT_EQ(call.b, b) << "code " << code;
    EXPECT_EQ(call.c, c) << "code " << code;
    EXPECT_EQ(call.d, d) << "code " << code;
  }

  void* m_records = nullptr;
  RecordedCallCountFunction m_count = nullptr;
  RecordedCallFunction m_call = nullptr;
  CCommonLib m_lib;
};

intptr_t Arg(QObject* window) { return reinterpret_cast<intptr_t>(window); }

TEST_F(RecordingLibTest, LoadsFromTheProgramFolderQuietly) {
  EXPECT_TRUE(CCommonLib::IsLoaded());
  EXPECT_TRUE(m_boxes.empty());
  EXPECT_TRUE(PostedCommands().empty());
  EXPECT_TRUE(Calls().empty()) << "loading calls nothing";
}

TEST_F(RecordingLibTest, CodesAndArgumentOrders) {
  CommandSink preview;
  EXPECT_EQ(m_lib.Attach(&m_window), RecordingLibResult(kSendAttach));
  EXPECT_EQ(m_lib.Owner(), &m_window);
  EXPECT_EQ(m_lib.ShowAbout(), RecordingLibResult(kSendShowAbout));
  EXPECT_EQ(m_lib.SendBehaviour(kSendAlwaysOnTop, true), RecordingLibResult(kSendAlwaysOnTop));
  EXPECT_EQ(m_lib.SendBehaviour(kSendSnapToDesktopSide, false), RecordingLibResult(kSendSnapToDesktopSide));
  EXPECT_EQ(m_lib.SendBehaviour(kSendMinimizeToTray, true), RecordingLibResult(kSendMinimizeToTray));
  EXPECT_EQ(m_lib.Send(kSendUninstall), RecordingLibResult(kSendUninstall));

  // The preview window has a CCommonLib of its own that loads nothing.
  CCommonLib previewLib;
  EXPECT_EQ(previewLib.AttachPreview(&preview), RecordingLibResult(kSendAttachPreview));
  EXPECT_EQ(previewLib.Owner(), &preview);

  const std::vector<RecordedSendMsg> calls = Calls();
  ASSERT_EQ(calls.size(), 7u);
  ExpectCall(calls[0], 1, calls[0].a, calls[0].b, Arg(QCoreApplication::instance()), Arg(&m_window));
  EXPECT_EQ(QString::fromUtf8(calls[0].sharedFile), m_lib.Paths().sharedSettingsFile);
  EXPECT_EQ(QString::fromUtf8(calls[0].userFile), m_lib.Paths().userSettingsFile);
  EXPECT_EQ(QString::fromUtf8(calls[0].userFile),
            m_env.Root() + QStringLiteral("/config/Quillory/Radixpad/QyRadixpad.ini"));
  ExpectCall(calls[1], 10, Arg(&m_window), 0, 0, 0);
  ExpectCall(calls[2], 50, Arg(&m_window), 1, 0, 0);
  ExpectCall(calls[3], 51, Arg(&m_window), 0, 0, 0);
  ExpectCall(calls[4], 52, Arg(&m_window), 1, 0, 0);
  ExpectCall(calls[5], 55, 0, 0, 0, 0);
  ExpectCall(calls[6], 5, Arg(&preview), 0, 0, 0);
}

TEST_F(RecordingLibTest, NoCallsAfterUnload) {
  m_lib.Send(kSendUninstall, 1, 2, 3, 4);
  CCommonLib::Unload();
  EXPECT_FALSE(CCommonLib::IsLoaded());
  EXPECT_EQ(m_lib.Send(kSendUninstall), 0);
  EXPECT_EQ(m_lib.ShowAbout(), 0);
  const std::vector<RecordedSendMsg> calls = Calls();
  ASSERT_EQ(calls.size(), 1u);
  ExpectCall(calls[0], 55, 1, 2, 3, 4);
}

TEST_F(RecordingLibTest, ReloadingReplacesTheLink) {
  ASSERT_TRUE(m_lib.Load(&m_window));
  m_lib.Send(kSendUninstall);
  EXPECT_EQ(Calls().size(), 1u);
  CCommonLib other;
  other.SetupFolders(nullptr, kEntrylessDir);
  EXPECT_FALSE(other.Load(&m_window));
  EXPECT_EQ(m_lib.Send(kSendUninstall), 0) << "a failed load leaves no entry behind";
}

// The message events -----------------------------------------------------------

class Answerer : public QObject {
 protected:
  bool event(QEvent* e) override {
    if (e->type() == kLookMessage) {
      auto* look = static_cast<CLookEvent*>(e);
      look->setResult(look->subCode() == kLookGetTextColor ? 0x00332211 : look->lParam() + 1);
      return true;
    }
    return QObject::event(e);
  }
};

TEST(QyMessages, EventTypesKeepTheirNumbers) {
  EXPECT_EQ(static_cast<int>(kLookMessage), 1112);
  EXPECT_EQ(static_cast<int>(kPreTranslateMessage), 1114);
  EXPECT_EQ(static_cast<int>(kTrayNotifyMessage), 1362);
  EXPECT_EQ(static_cast<int>(kCommandMessage), 1273);
  EXPECT_GE(kCommandMessage, QEvent::User);
  EXPECT_LE(kCommandMessage, QEvent::MaxUser);

  EXPECT_EQ(CCommandEvent(kCommandExit).type(), kCommandMessage);
  EXPECT_EQ(CLookEvent(kLookSetBackgroundColor, 5).type(), kLookMessage);
  EXPECT_EQ(CTrayNotifyEvent(kTrayIconId, 0x205).type(), kTrayNotifyMessage);
  QEvent inner(QEvent::KeyPress);
  QObject receiver;
  const CPreTranslateEvent pre(&inner, &receiver);
  EXPECT_EQ(pre.type(), kPreTranslateMessage);
  EXPECT_EQ(pre.event(), &inner);
  EXPECT_EQ(pre.receiver(), &receiver);
}

TEST(QyMessages, EventTypesAreDistinctUserEvents) {
  // The program and the library tell the messages apart by type alone, and none of Qt's
  // own events may be taken for one of them.
  const int types[] = {kLookMessage, kPreTranslateMessage, kTrayNotifyMessage, kCommandMessage};
  for (std::size_t i = 0; i < std::size(types); ++i) {
    EXPECT_GE(types[i], QEvent::User) << types[i];
    EXPECT_LE(types[i], QEvent::MaxUser) << types[i];
    for (std::size_t j = 0; j < i; ++j) EXPECT_NE(types[i], types[j]);
  }
}

TEST(QyMessages, ParametersAndResultTravelWithTheEvent) {
  Answerer window;
  CLookEvent get(kLookGetTextColor, 0);
  QCoreApplication::sendEvent(&window, &get);
  EXPECT_EQ(get.result(), 0x00332211);
  CLookEvent set(kLookSetDisplayMethod, 6);
  QCoreApplication::sendEvent(&window, &set);
  EXPECT_EQ(set.result(), 7);

  // Only the low word of lParam is the mouse message; of wParam the command id.
  EXPECT_EQ(CTrayNotifyEvent(kTrayIconId, 0x12340205).mouseMessage(), kMouseRightButtonUp);
  EXPECT_EQ(CCommandEvent(0x10000 + kCommandRestore).commandId(), kCommandRestore);
}

}  // namespace
}  // namespace radixpad
