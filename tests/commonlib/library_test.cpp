// The built libQyCommon.so through the program's loader (CCommonLib): every code's
// effect and result, the look message, a restart, bad input and unloading.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QUrl>
#include <memory>
#include <vector>

#include "about_box.h"
#include "common_lib.h"
#include "held_settings_lock.h"
#include "ini_store.h"
#include "look.h"
#include "qy_messages.h"
#include "settings_keys.h"
#include "test_support.h"

namespace radixpad {
namespace {

using commonlib::RefFromColor;
using test::Look;
using test::LookPath;

const QString kLibraryFile = QStringLiteral(RADIXPAD_TEST_COMMON_LIBRARY);
const QString kProgramDir = QStringLiteral(RADIXPAD_TEST_PROGRAM_DIR);
const QString kProduct = QString::fromLatin1(sections::kProduct);

// Polls `condition` while events run, up to `ms`.
template <typename Condition>
bool WaitFor(Condition condition, int ms = 2000) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

void Pause(int ms) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

class LibraryTest : public testing::Test {
 protected:
  void SetUp() override {
    CCommonLib::SetMessageBoxHook([this](QObject*, const QString& text) { m_loadFailures.push_back(text); });
    m_lib.SetupFolders(nullptr, kProgramDir);
    m_window = std::make_unique<QDialog>();
    m_window->resize(120, 90);
    ASSERT_TRUE(m_lib.Load(m_window.get(), kLibraryFile)) << m_loadFailures.size();
  }

  void TearDown() override {
    m_window.reset();
    QCoreApplication::processEvents();
    CCommonLib::Unload();
    CCommonLib::SetMessageBoxHook({});
  }

  QString UserFile() const { return m_lib.Paths().userSettingsFile; }
  void WriteBehaviours(int onTop, int toTray, int snap) {
    WriteIniInt(kProduct, QString::fromLatin1(keys::kAlwaysOnTop), onTop, UserFile());
    WriteIniInt(kProduct, QString::fromLatin1(keys::kMinimizeToSystemTray), toTray, UserFile());
    WriteIniInt(kProduct, QString::fromLatin1(keys::kSnapToDesktopSide), snap, UserFile());
  }
  bool OnTop(QWidget* w) const { return w->windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

  test::ScopedConfigHome m_home;
  CCommonLib m_lib;
  std::unique_ptr<QDialog> m_window;
  std::vector<QString> m_loadFailures;
};

TEST_F(LibraryTest, LookMessageIsAnsweredOnlyOnceTheWindowIsServed) {
  EXPECT_EQ(Look(m_window.get(), kLookGetShowImage), 0);
  EXPECT_EQ(Look(m_window.get(), kLookSetShowImage, 1), 0);
  EXPECT_NE(m_lib.Attach(m_window.get()), 0);
  EXPECT_EQ(Look(m_window.get(), kLookSetShowImage, 1), 1);
  EXPECT_EQ(Look(m_window.get(), kLookGetShowImage), 1);
}

TEST_F(LibraryTest, EverySetSubCodeRoundTripsThroughItsGet) {
  m_lib.Attach(m_window.get());
  struct Case {
    const char* name;
    intptr_t set;
    intptr_t value;
    intptr_t get;
    intptr_t expected;
  };
  const Case cases[] = {
      {"background colour", kLookSetBackgroundColor, 0x00336699, kLookGetBackgroundColor, 0x00336699},
      {"black background", kLookSetBackgroundColor, 0, kLookGetBackgroundColor, 0},
      {"text colour", kLookSetTextColor, 0x00010203, kLookGetTextColor, 0x00010203},
      {"white text", kLookSetTextColor, 0x00FFFFFF, kLookGetTextColor, 0x00FFFFFF},
      {"colour with a high byte", kLookSetTextColor, 0x01ABCDEF, kLookGetTextColor, 0x00ABCDEF},
      {"show image on", kLookSetShowImage, 1, kLookGetShowImage, 1},
      {"show image nonzero", kLookSetShowImage, 7, kLookGetShowImage, 1},
      {"show image off", kLookSetShowImage, 0, kLookGetShowImage, 0},
      {"method Center", kLookSetDisplayMethod, 0, kLookGetDisplayMethod, 0},
      {"method Stretch", kLookSetDisplayMethod, 1, kLookGetDisplayMethod, 1},
      {"method Tile", kLookSetDisplayMethod, 2, kLookGetDisplayMethod, 2},
      {"method Top-Left", kLookSetDisplayMethod, 3, kLookGetDisplayMethod, 3},
      {"method Top-Right", kLookSetDisplayMethod, 4, kLookGetDisplayMethod, 4},
      {"method Bottom-Left", kLookSetDisplayMethod, 5, kLookGetDisplayMethod, 5},
      {"method Bottom-Right", kLookSetDisplayMethod, 6, kLookGetDisplayMethod, 6},
      {"method 3x3 Tiling", kLookSetDisplayMethod, 7, kLookGetDisplayMethod, 7},
      {"method none selected", kLookSetDisplayMethod, -1, kLookGetDisplayMethod, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Look(m_window.get(), c.set, c.value), 1);
    EXPECT_EQ(Look(m_window.get(), c.get), c.expected);
  }

  EXPECT_EQ(LookPath(m_window.get()), QString()) << "no path yet: 114 answers 0";
  const QByteArray path = QStringLiteral("/tmp/Bilder/Möwe am Meer.jpg").toUtf8();
  EXPECT_EQ(Look(m_window.get(), kLookSetImagePath, reinterpret_cast<intptr_t>(path.constData())), 1);
  EXPECT_EQ(LookPath(m_window.get()), QString::fromUtf8(path));
  const QByteArray longest(259, 'p');
  EXPECT_EQ(Look(m_window.get(), kLookSetImagePath, reinterpret_cast<intptr_t>(longest.constData())), 1);
  EXPECT_EQ(LookPath(m_window.get()), QString::fromLatin1(longest));
  EXPECT_EQ(Look(m_window.get(), kLookSetImagePath, reinterpret_cast<intptr_t>("")), 1);
  EXPECT_EQ(LookPath(m_window.get()), QString()) << "an empty path is no path";
}

TEST_F(LibraryTest, UnsetColoursAnswerTheThemeAndForceNothing) {
  m_lib.Attach(m_window.get());
  const QPalette theme = QApplication::palette(m_window.get());
  EXPECT_EQ(Look(m_window.get(), kLookGetBackgroundColor), RefFromColor(theme.color(QPalette::Window)));
  EXPECT_EQ(Look(m_window.get(), kLookGetTextColor), RefFromColor(theme.color(QPalette::WindowText)));
  EXPECT_FALSE(m_window->testAttribute(Qt::WA_SetPalette));

  Look(m_window.get(), kLookSetTextColor, 0x000000FF);
  EXPECT_EQ(m_window->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  // Back to "not set": the theme again.
  Look(m_window.get(), kLookSetTextColor, -1);
  EXPECT_EQ(Look(m_window.get(), kLookGetTextColor), RefFromColor(theme.color(QPalette::WindowText)));
  EXPECT_FALSE(m_window->testAttribute(Qt::WA_SetPalette));
}

TEST_F(LibraryTest, TextColourReachesOnlyTextOnThePaintedBackground) {
  const QPalette theme = QApplication::palette(m_window.get());
  const QColor chosen(0x33, 0x22, 0x11);
  struct Case {
    QWidget* widget;
    QPalette::ColorRole role;  // the role its text is drawn with
    QColor expected;
  };
  const Case cases[] = {
      {new QLabel(QStringLiteral("Label"), m_window.get()), QPalette::WindowText, chosen},
      {new QCheckBox(QStringLiteral("Check"), m_window.get()), QPalette::WindowText, chosen},
      {new QRadioButton(QStringLiteral("Radio"), m_window.get()), QPalette::WindowText, chosen},
      {new QPushButton(QStringLiteral("Button"), m_window.get()), QPalette::ButtonText,
       theme.color(QPalette::ButtonText)},
      {new QComboBox(m_window.get()), QPalette::ButtonText, theme.color(QPalette::ButtonText)},
      {new QComboBox(m_window.get()), QPalette::Text, theme.color(QPalette::Text)},
      {new QLineEdit(m_window.get()), QPalette::Text, theme.color(QPalette::Text)},
  };
  ASSERT_NE(theme.color(QPalette::ButtonText), chosen);
  ASSERT_NE(theme.color(QPalette::Text), chosen);
  m_lib.Attach(m_window.get());
  Look(m_window.get(), kLookSetTextColor, 0x00112233);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.widget->metaObject()->className());
    EXPECT_EQ(c.widget->palette().color(c.role), c.expected);
  }
}

TEST_F(LibraryTest, RestartBringsBackTheLookAndTheBehaviours) {
  m_lib.Attach(m_window.get());
  const QByteArray path = QStringLiteral("/srv/images/sea.png").toUtf8();
  Look(m_window.get(), kLookSetBackgroundColor, 0x00102030);
  Look(m_window.get(), kLookSetTextColor, 0x00405060);
  Look(m_window.get(), kLookSetDisplayMethod, 5);
  Look(m_window.get(), kLookSetImagePath, reinterpret_cast<intptr_t>(path.constData()));
  Look(m_window.get(), kLookSetShowImage, 1);
  // What the General page writes.
  WriteBehaviours(1, 0, 1);

  m_window.reset();
  CCommonLib::Unload();
  ASSERT_FALSE(CCommonLib::IsLoaded());

  auto window = std::make_unique<QDialog>();
  ASSERT_TRUE(m_lib.Load(window.get(), kLibraryFile));
  EXPECT_FALSE(OnTop(window.get()));
  m_lib.Attach(window.get());
  EXPECT_EQ(Look(window.get(), kLookGetBackgroundColor), 0x00102030);
  EXPECT_EQ(Look(window.get(), kLookGetTextColor), 0x00405060);
  EXPECT_EQ(Look(window.get(), kLookGetDisplayMethod), 5);
  EXPECT_EQ(Look(window.get(), kLookGetShowImage), 1);
  EXPECT_EQ(LookPath(window.get()), QString::fromUtf8(path));
  EXPECT_EQ(window->palette().color(QPalette::Window), QColor(0x30, 0x20, 0x10));
  EXPECT_TRUE(OnTop(window.get()));
  m_window = std::move(window);
}

TEST_F(LibraryTest, LookIsSavedInTheProductSectionOfTheUserFile) {
  m_lib.Attach(m_window.get());
  Look(m_window.get(), kLookSetBackgroundColor, 0x00ABCDEF);
  Look(m_window.get(), kLookSetDisplayMethod, 6);
  QCoreApplication::processEvents();  // saved on the program's next turn
  EXPECT_EQ(GetIniInt(kProduct, QString::fromLatin1(commonlib::lookkeys::kBackgroundColor), -5, UserFile()),
            0x00ABCDEF);
  EXPECT_EQ(GetIniInt(kProduct, QString::fromLatin1(commonlib::lookkeys::kDisplayMethod), -5, UserFile()), 6);
  EXPECT_EQ(
      GetIniInt(QStringLiteral("General"), QString::fromLatin1(commonlib::lookkeys::kDisplayMethod), -5, UserFile()),
      -5);
}

// The options sheet gives the look value by value: the five are one save. With another
// program in the middle of a save, that one save waits about two seconds and says so in
// one box over the window.
TEST_F(LibraryTest, ALookGivenValueByValueIsOneSave) {
  m_lib.Attach(m_window.get());
  m_window->show();
  const QByteArray path = QByteArrayLiteral("/srv/images/sea.png ");
  const auto giveLook = [&] {
    Look(m_window.get(), kLookSetBackgroundColor, 0x00102030);
    Look(m_window.get(), kLookSetTextColor, 0x00405060);
    Look(m_window.get(), kLookSetDisplayMethod, 5);
    Look(m_window.get(), kLookSetImagePath, reinterpret_cast<intptr_t>(path.constData()));
    Look(m_window.get(), kLookSetShowImage, 1);
  };
  QStringList boxes;
  const QWidget* owner = nullptr;
  test::MessageBoxAnswerer answerer([&](const QMessageBox& box) {
    boxes << box.text();
    owner = box.parentWidget();
  });
  {
    const test::HeldSettingsLock held(UserFile());
    ASSERT_TRUE(held.Held());
    giveLook();
    EXPECT_TRUE(WaitFor([&] { return !boxes.isEmpty(); }, kIniWriteWaitMs + 3000));
    Pause(kIniWriteWaitMs + 500);  // time enough for a second save to give up too
    EXPECT_EQ(boxes,
              QStringList{"Radixpad could not save its settings: another program kept " + UserFile() + " busy."});
    EXPECT_EQ(owner, m_window.get());
    EXPECT_EQ(commonlib::ReadSavedLook(UserFile()).background, commonlib::kColorNotSet);
  }
  giveLook();
  Pause(100);
  answerer.Stop();
  EXPECT_EQ(boxes.size(), 1);
  const commonlib::LookValues saved = commonlib::ReadSavedLook(UserFile());
  EXPECT_EQ(saved.background, 0x00102030u);
  EXPECT_EQ(saved.text, 0x00405060u);
  EXPECT_EQ(saved.displayMethod, 5);
  EXPECT_EQ(saved.imagePath, QString::fromUtf8(path)) << "the blank at the end is kept";
  EXPECT_TRUE(saved.showImage);
}

TEST_F(LibraryTest, UninstallForgetsTheSavedLookAndKeepsTheRest) {
  m_lib.Attach(m_window.get());
  WriteBehaviours(1, 1, 0);
  Look(m_window.get(), kLookSetBackgroundColor, 0x00ABCDEF);
  Look(m_window.get(), kLookSetImagePath, reinterpret_cast<intptr_t>("/a/b.png"));
  EXPECT_NE(m_lib.Send(kSendUninstall), 0);
  QCoreApplication::processEvents();  // the values set before do not come back
  const commonlib::LookValues saved = commonlib::ReadSavedLook(UserFile());
  EXPECT_EQ(saved.background, commonlib::kColorNotSet);
  EXPECT_EQ(saved.imagePath, QString());
  EXPECT_EQ(saved.displayMethod, kDisplayTile);
  EXPECT_EQ(GetIniInt(kProduct, QString::fromLatin1(keys::kAlwaysOnTop), -5, UserFile()), 1);
}

TEST_F(LibraryTest, BehaviourCodesApplyAtOnceAndKeepTheWindowInPlace) {
  WriteBehaviours(0, 0, 0);
  m_lib.Attach(m_window.get());
  m_window->move(150, 120);
  m_window->show();
  ASSERT_TRUE(WaitFor([&] { return m_window->isVisible(); }));
  const QPoint where = m_window->pos();

  EXPECT_EQ(m_lib.SendBehaviour(kSendAlwaysOnTop, true), 1);
  EXPECT_TRUE(OnTop(m_window.get()));
  EXPECT_TRUE(m_window->isVisible());
  EXPECT_EQ(m_window->pos(), where);
  EXPECT_EQ(m_lib.SendBehaviour(kSendAlwaysOnTop, false), 1);
  EXPECT_FALSE(OnTop(m_window.get()));
  EXPECT_TRUE(m_window->isVisible());
  EXPECT_EQ(m_lib.SendBehaviour(kSendSnapToDesktopSide, true), 1);
  EXPECT_EQ(m_lib.SendBehaviour(kSendMinimizeToTray, true), 1);

  // Not the served window: nothing to apply.
  QDialog other;
  EXPECT_EQ(m_lib.Send(kSendAlwaysOnTop, CCommonLib::WindowArg(&other), 1), 0);
  EXPECT_FALSE(OnTop(&other));
  EXPECT_EQ(m_lib.Send(kSendAlwaysOnTop, 0, 1), 0);
}

TEST_F(LibraryTest, SnapMovesAWindowNearAnEdgeOntoIt) {
  WriteBehaviours(0, 0, 0);
  m_lib.Attach(m_window.get());
  m_window->setFixedSize(100, 80);
  m_window->move(200, 200);
  m_window->show();
  const QRect area = m_window->screen()->availableGeometry();
  // pos() is the frame's corner; the frame may be wider than the window.
  const QSize frame = m_window->frameGeometry().size();
  m_lib.SendBehaviour(kSendSnapToDesktopSide, true);

  struct Case {
    const char* name;
    QPoint to;
    QPoint expected;
  };
  const Case cases[] = {
      {"near the left", {area.left() + 12, 200}, {area.left(), 200}},
      {"near the right and top",
       {area.right() + 1 - frame.width() - 7, area.top() + 3},
       {area.right() + 1 - frame.width(), area.top()}},
      {"beyond the bottom", {300, area.bottom() + 1 - frame.height() + 9}, {300, area.bottom() + 1 - frame.height()}},
      {"far from every side", {250, 210}, {250, 210}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_window->move(c.to);
    EXPECT_TRUE(WaitFor([&] { return m_window->pos() == c.expected; }));
    Pause(250);
    EXPECT_EQ(m_window->pos(), c.expected);
  }

  m_lib.SendBehaviour(kSendSnapToDesktopSide, false);
  m_window->move(area.left() + 5, 200);
  Pause(300);
  EXPECT_EQ(m_window->pos(), QPoint(area.left() + 5, 200)) << "snap off: stays";
}

TEST_F(LibraryTest, PreviewIsServedUntilReleased) {
  m_lib.Attach(m_window.get());
  Look(m_window.get(), kLookSetBackgroundColor, 0x00010101);
  QDialog preview;
  CCommonLib previewLink;
  EXPECT_EQ(previewLink.AttachPreview(nullptr), 0);
  EXPECT_NE(previewLink.AttachPreview(&preview), 0);
  EXPECT_EQ(Look(&preview, kLookSetBackgroundColor, 0x00FF0000), 1);
  EXPECT_EQ(Look(&preview, kLookGetBackgroundColor), 0x00FF0000);
  EXPECT_EQ(preview.palette().color(QPalette::Window), QColor(0, 0, 255));
  QCoreApplication::processEvents();
  // The preview's look is its own and is not saved.
  EXPECT_EQ(Look(m_window.get(), kLookGetBackgroundColor), 0x00010101);
  EXPECT_EQ(commonlib::ReadSavedLook(UserFile()).background, 0x00010101u);
  // Release: no longer served, its own palette back.
  EXPECT_NE(Look(&preview, kLookReleasePreview, 0), 0);
  EXPECT_EQ(Look(&preview, kLookGetBackgroundColor), 0);
  EXPECT_FALSE(preview.testAttribute(Qt::WA_SetPalette));
  // Releasing the main window is not a thing.
  EXPECT_EQ(Look(m_window.get(), kLookReleasePreview, 0), 0);
  EXPECT_EQ(Look(m_window.get(), kLookGetBackgroundColor), 0x00010101);
}

TEST_F(LibraryTest, AboutBoxIsModalOverTheWindow) {
  m_lib.Attach(m_window.get());
  m_window->show();
  QString text;
  const QWidget* parent = nullptr;
  QString objectName;
  QString title;
  QString okText;
  Qt::WindowFlags flags;
  test::MessageBoxAnswerer answerer([&](const QMessageBox& box) {
    text = box.text();
    parent = box.parentWidget();
    objectName = box.objectName();
    title = box.windowTitle();
    okText = box.button(QMessageBox::Ok)->text();
    flags = box.windowFlags();
  });
  EXPECT_NE(m_lib.ShowAbout(), 0);
  answerer.Stop();
  EXPECT_EQ(parent, m_window.get());
  EXPECT_EQ(objectName, QStringLiteral("QyCommonAboutBox"));
  EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_TRUE(text.contains(QStringLiteral("Quillory Radixpad"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Version " RADIXPAD_TEST_VERSION))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Copyright"))) << text.toStdString();
  const QString help =
      QUrl::fromLocalFile(QDir(kProgramDir).absoluteFilePath(QStringLiteral("index.htm"))).toString(QUrl::FullyEncoded);
  EXPECT_TRUE(text.contains(help)) << text.toStdString();
  EXPECT_EQ(title, QStringLiteral("About Quillory Radixpad"));
  EXPECT_EQ(okText, QStringLiteral("OK"));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// The box's texts come from section About of the String.dat beside the help page;
// without one they are the English ones.
TEST(AboutBoxTexts, ComeFromTheTextFileBesideTheHelpPage) {
  QTemporaryDir program;
  ASSERT_TRUE(program.isValid());
  QFile file(program.filePath(QStringLiteral("String.dat")));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("[About]\nTitle=[[About %1]]\nVersion=[[Version %1]]\nCopyright=[[C %1]]\nHelp=[[Help]]\n");
  file.close();
  const QString helpPage = program.filePath(QStringLiteral("index.htm"));
  const QString text = commonlib::AboutText(helpPage);
  EXPECT_TRUE(text.contains(QStringLiteral("[[Version " RADIXPAD_TEST_VERSION "]]"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("[[C "))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("[[Help]]</a>"))) << text.toStdString();
  EXPECT_EQ(commonlib::AboutBoxText("Title", helpPage, "About %1"), QStringLiteral("[[About %1]]"));
  EXPECT_EQ(commonlib::AboutBoxText("OK", helpPage, "OK"), QStringLiteral("OK")) << "missing key";
  EXPECT_EQ(commonlib::AboutBoxText("Title", program.filePath(QStringLiteral("none/index.htm")), "About %1"),
            QStringLiteral("About %1"));
}

TEST_F(LibraryTest, UnknownCodesAndZeroWindowsGiveZero) {
  for (intptr_t code : {intptr_t{0}, intptr_t{2}, intptr_t{4}, intptr_t{6}, intptr_t{11}, intptr_t{49}, intptr_t{53},
                        intptr_t{54}, intptr_t{56}, intptr_t{-1}, intptr_t{1000}}) {
    EXPECT_EQ(m_lib.Send(code, CCommonLib::WindowArg(m_window.get()), 1, 1, 1), 0) << code;
  }
  EXPECT_EQ(m_lib.Send(kSendAttach, 0, 0, 0, 0), 0);
  EXPECT_EQ(m_lib.Send(kSendAttachPreview, 0), 0);
  EXPECT_EQ(m_lib.Send(kSendAlwaysOnTop, 0, 1), 0);
  EXPECT_EQ(m_lib.Send(kSendUninstall), 0) << "nothing attached: nothing to clean up";
  // A value that is no window at all is never followed.
  QObject notAWindow;
  EXPECT_EQ(m_lib.Send(kSendAttach, 0, 0, 0, CCommonLib::WindowArg(&notAWindow)), 0);
  EXPECT_EQ(m_lib.Send(kSendAttachPreview, 0x1234), 0);
  EXPECT_EQ(m_lib.Send(kSendAlwaysOnTop, 0x1234, 1), 0);
}

TEST_F(LibraryTest, BadLookInputLosesNothing) {
  m_lib.Attach(m_window.get());
  const QByteArray kept = QByteArrayLiteral("/kept/path.png");
  Look(m_window.get(), kLookSetImagePath, reinterpret_cast<intptr_t>(kept.constData()));
  Look(m_window.get(), kLookSetBackgroundColor, 0x00445566);

  const QByteArray tooLong = "/" + QByteArray(259, 'x');  // 260 bytes: no room for the terminator
  EXPECT_EQ(Look(m_window.get(), kLookSetImagePath, reinterpret_cast<intptr_t>(tooLong.constData())), 0);
  EXPECT_EQ(LookPath(m_window.get()), QString::fromLatin1(kept));
  QCoreApplication::processEvents();
  EXPECT_EQ(commonlib::ReadSavedLook(UserFile()).imagePath, QString::fromLatin1(kept));

  for (intptr_t subCode : {intptr_t{0}, intptr_t{59}, intptr_t{65}, intptr_t{109}, intptr_t{115}, intptr_t{-60}}) {
    EXPECT_EQ(Look(m_window.get(), subCode, 0x00FFFFFF), 0) << subCode;
  }
  EXPECT_EQ(Look(m_window.get(), kLookGetBackgroundColor), 0x00445566);
  EXPECT_EQ(Look(m_window.get(), kLookGetImagePath, 0), 0) << "no buffer";
  EXPECT_EQ(Look(m_window.get(), kLookSetImagePath, 0), 1) << "a null path clears it";
  EXPECT_EQ(LookPath(m_window.get()), QString());
  // A sub-code 6 on a window that was never a preview releases nothing.
  EXPECT_EQ(Look(m_window.get(), kLookReleasePreview, 0), 0);
}

TEST_F(LibraryTest, WindowDestroyedBeforeUnloadAndUnloadBeforeTheWindow) {
  m_lib.Attach(m_window.get());
  Look(m_window.get(), kLookSetBackgroundColor, 0x00102030);
  m_window->show();
  // The main window's destructor unloads while the window still exists: afterwards the
  // window lives on without any of the library's code attached to it.
  CCommonLib::Unload();
  EXPECT_EQ(Look(m_window.get(), kLookGetBackgroundColor), 0);
  QCoreApplication::postEvent(m_window.get(), new CSysCommandEvent(kScClose));
  m_window->move(3, 3);
  m_window->resize(200, 150);
  Pause(250);
  static_cast<void>(test::Grab(m_window.get()));
  m_window.reset();
  QCoreApplication::processEvents();

  // And the other order: the window goes first, then the library.
  auto window = std::make_unique<QDialog>();
  ASSERT_TRUE(m_lib.Load(window.get(), kLibraryFile));
  m_lib.Attach(window.get());
  window->show();
  window.reset();
  QCoreApplication::processEvents();
  CCommonLib::Unload();
}

}  // namespace
}  // namespace radixpad
