// The window's commands, menus, mnemonics and the colour pick.
#include <QAction>
#include <QImage>
#include <QLabel>
#include <QLibrary>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "qy_messages.h"
#include "recording_common_lib.h"
#include "window_fixture.h"

namespace radixpad::test {
namespace {

class CommandsTest : public WindowTest {
 protected:
  bool EndedAfterEvents(CConverterDlg& window) {
    bool ended = false;
    QObject::connect(&window, &CConverterDlg::ended, [&] { ended = true; });
    QTest::qWait(30);
    return ended;
  }
};

struct MenuItem {
  QString text;
  int command;
  bool separator;
  bool operator==(const MenuItem&) const = default;
};

std::vector<MenuItem> ItemsOf(const QMenu& menu) {
  std::vector<MenuItem> items;
  for (QAction* action : menu.actions()) {
    items.push_back({action->isSeparator() ? QString() : action->text(),
                     action->isSeparator() ? 0 : action->data().toInt(), action->isSeparator()});
  }
  return items;
}

void PrintTo(const MenuItem& item, std::ostream* os) {
  *os << (item.separator ? std::string("----") : item.text.toStdString() + "/" + std::to_string(item.command));
}

TEST_F(CommandsTest, WindowMenuEndsWithOptionsHelpAboutExit) {
  CConverterDlg& window = Open();
  const auto items = ItemsOf(*window.WindowMenu());
  ASSERT_EQ(items.size(), 17u);
  EXPECT_EQ(items[0], (MenuItem{"&Restore", kScRestore, false}));
  EXPECT_EQ(items[3], (MenuItem{"&Close", kScClose, false}));
  const std::vector<MenuItem> tail(items.end() - 13, items.end());
  EXPECT_EQ(tail, (std::vector<MenuItem>{{"", 0, true},
                                         {"Bit &Grid", 0, false},
                                         {"&Float View", 0, false},
                                         {"Character &View", 0, false},
                                         {"S&wap Bytes", 0, false},
                                         {"Cop&y All", 0, false},
                                         {"", 0, true},
                                         {"&Options...", 1018, false},
                                         {"", 0, true},
                                         {"&Help", 57670, false},
                                         {"&About Quillory Radixpad...", 16, false},
                                         {"", 0, true},
                                         {"&Exit", 1021, false}}));
}

// Ctrl+Q and the window menu's Exit end the program as the tray menu's Exit does,
// settings saved; Esc, with nothing taking the close request here, is the close road.
TEST_F(CommandsTest, CtrlQAndTheWindowMenusExitEndTheProgram) {
  for (const char* how : {"ctrl+q", "menu"}) {
    SCOPED_TRACE(how);
    CConverterDlg& window = Open();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    Type(kDecimal, "42");
    bool ended = false;
    QObject::connect(&window, &CConverterDlg::ended, [&] { ended = true; });
    if (std::string(how) == "ctrl+q") {
      QTest::keyClick(FieldOf(kDecimal), Qt::Key_Q, Qt::ControlModifier);
    } else {
      window.WindowMenu()->actions().last()->trigger();
    }
    EXPECT_TRUE(WaitFor([&] { return ended; }, 1000));
    EXPECT_EQ(TextOf(kDecimal), "42") << "Ctrl+Q types nothing";
    Close();
    EXPECT_EQ(ReadSetting("LastConvert"), kDecimal) << "exit saves the settings";
  }
}

// Sharp at any scale: every size from 16 to 256 pixels, a 48-pixel icon at scale 2 from 96 pixels.
// The icon comes from the event loop, after the window.
TEST_F(CommandsTest, WindowIconHasEverySize) {
  CConverterDlg& window = Open(false);
  EXPECT_TRUE(window.windowIcon().isNull()) << "not sent with the window";
  ASSERT_TRUE(WaitFor([&] { return !window.windowIcon().isNull(); }));
  const QIcon icon = window.windowIcon();
  QList<QSize> sizes;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) sizes << QSize(size, size);
  EXPECT_EQ(icon.availableSizes(), sizes);
  EXPECT_EQ(icon.pixmap(QSize(48, 48), 2.0).size(), QSize(96, 96));
  // Between and beyond the sizes: the next larger one made smaller, never enlarged.
  const struct {
    QSize asked, given;
  } rows[] = {{{20, 20}, {20, 20}}, {{100, 100}, {100, 100}}, {{512, 512}, {256, 256}}, {{64, 32}, {32, 32}}};
  for (const auto& row : rows) {
    EXPECT_EQ(icon.actualSize(row.asked), row.given) << row.asked.width();
    EXPECT_EQ(icon.pixmap(row.asked).size(), row.given) << row.asked.width();
  }
  EXPECT_FALSE(icon.pixmap(QSize(32, 32), QIcon::Disabled).isNull());
}

// The drop-downs say what they choose; the right-hand buttons are read by what they do.
TEST_F(CommandsTest, AccessibleNamesAndDescriptions) {
  CConverterDlg& window = Open();
  const struct {
    int controlId;
    const char* name;
    const char* description;
  } cases[] = {
      {1009, "Row 1 base", "Base shown in row 1"},
      {1012, "Row 4 base", "Base shown in row 4"},
      {1031, "Width", "Width"},
      {1020, "Signedness", "Signed or unsigned"},
      {1027, "Shift right", ""},
      {1029, "Rotate right", ""},
      {1028, "Shift left", ""},
      {1030, "Rotate left", ""},
  };
  for (const auto& c : cases) {
    QWidget* control = window.Control(c.controlId);
    ASSERT_NE(control, nullptr) << c.controlId;
    EXPECT_EQ(control->accessibleName(), c.name);
    EXPECT_EQ(control->accessibleDescription(), c.description);
  }
}

TEST_F(CommandsTest, WindowMenuDisablesWhatWouldChangeNothing) {
  CConverterDlg& window = Open();
  QMenu* menu = window.WindowMenu();
  const auto enabled = [menu](int command) {
    for (QAction* action : menu->actions()) {
      if (!action->isSeparator() && action->data().toInt() == command) return action->isEnabled();
    }
    ADD_FAILURE() << "no item " << command;
    return false;
  };
  struct Case {
    const char* name;
    Qt::WindowStates state;
    bool restore, minimize, maximize;
  };
  const Case cases[] = {
      {"normal", Qt::WindowNoState, false, true, true},
      {"maximised", Qt::WindowMaximized, true, true, false},
      {"minimised", Qt::WindowMinimized, true, false, true},
      {"normal again", Qt::WindowNoState, false, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    window.setWindowState(c.state);
    menu->popup(QPoint(0, 0));
    EXPECT_EQ(enabled(kScRestore), c.restore);
    EXPECT_EQ(enabled(kScMinimize), c.minimize);
    EXPECT_EQ(enabled(kScMaximize), c.maximize);
    EXPECT_TRUE(enabled(kScClose));
    EXPECT_TRUE(enabled(kCommandOptions));
    menu->hide();
  }
}

TEST_F(CommandsTest, MissingTextsGiveEmptyItems) {
  QFile::remove(program_.filePath("String.dat"));
  CConverterDlg& window = Open();
  const auto items = ItemsOf(*window.WindowMenu());
  ASSERT_EQ(items.size(), 17u);
  EXPECT_EQ(items[0].text, "&Restore") << "the window menu's own items keep their English texts";
  for (std::size_t i = 5; i < 10; ++i) EXPECT_EQ(items[i].text, "") << i;
  EXPECT_EQ(items[11].text, "");
  EXPECT_EQ(items[11].command, 1018);
  const auto tray = window.CreateTrayMenu();
  EXPECT_EQ(tray->actions()[0]->text(), "");
  EXPECT_EQ(tray->actions()[2]->text(), "Help") << "the Help item keeps its own text";
}

TEST_F(CommandsTest, TrayMenuItemsTextsAndDefault) {
  CConverterDlg& window = Open();
  const auto menu = window.CreateTrayMenu();
  EXPECT_EQ(ItemsOf(*menu), (std::vector<MenuItem>{{"&Restore", 1017, false},
                                                   {"", 0, true},
                                                   {"Help", 57670, false},
                                                   {"&About Quillory Radixpad...", 16, false},
                                                   {"", 0, true},
                                                   {"E&xit", 1021, false}}));
  EXPECT_EQ(menu->defaultAction(), menu->actions()[0]);
}

// With the shipped texts: no menu item is left without its text, and no two items of a
// menu, nor two controls of the window, answer the same Alt key.
TEST_F(CommandsTest, ShippedTextsFillTheMenusAndEveryMnemonicIsItsOwn) {
  CConverterDlg& window = Open();
  const auto tray = window.CreateTrayMenu();
  for (QMenu* menu : {window.WindowMenu(), tray.get()}) {
    SCOPED_TRACE(menu == tray.get() ? "tray menu" : "window menu");
    QStringList texts;
    for (QAction* action : menu->actions()) {
      if (action->isSeparator()) continue;
      EXPECT_FALSE(action->text().isEmpty()) << "command " << action->data().toInt();
      texts << action->text();
    }
    EXPECT_EQ(MnemonicClashes(texts).join("; ").toStdString(), "");
  }
  const QStringList controls = ControlTexts(&window);
  EXPECT_GE(controls.filter("&").size(), 12) << "the rows, the widths and the buttons have theirs";
  EXPECT_EQ(MnemonicClashes(controls).join("; ").toStdString(), "");
}

TEST_F(CommandsTest, TrayRightClickShowsTheMenuOtherNotificationsNothing) {
  CConverterDlg& window = Open();
  bool menuShown = false;
  QTimer::singleShot(50, [&] {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      menuShown = menu->defaultAction() && menu->defaultAction()->data().toInt() == 1017;
      menu->close();
    }
  });
  CTrayNotifyEvent rightClick(kTrayIconId, kMouseRightButtonUp);
  QCoreApplication::sendEvent(&window, &rightClick);
  EXPECT_TRUE(menuShown);
  EXPECT_EQ(rightClick.result(), 0);

  for (auto [icon, mouse] : {std::pair<intptr_t, intptr_t>{kTrayIconId, 0x202}, {9999, kMouseRightButtonUp}}) {
    CTrayNotifyEvent other(icon, mouse);
    QCoreApplication::sendEvent(&window, &other);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  }
}

TEST_F(CommandsTest, ExitOnlyWhenPosted) {
  CConverterDlg& window = Open();
  CCommandEvent sent(kCommandExit);
  QCoreApplication::sendEvent(&window, &sent);
  EXPECT_FALSE(EndedAfterEvents(window));
  EXPECT_TRUE(window.isVisible());
  Type(kDecimal, "9");
  window.PostCommand(kCommandExit);
  EXPECT_TRUE(EndedAfterEvents(window));
  Close();
  EXPECT_EQ(ReadSetting("LastConvert"), kDecimal) << "exit saves the settings";
}

TEST_F(CommandsTest, UninstallClosesThePopupRemovesTheStartupEntryAndEnds) {
  CConverterDlg& window = Open();
  const QString entry = window.Paths().startupEntryPath;
  ASSERT_FALSE(entry.isEmpty());
  QDir().mkpath(QFileInfo(entry).path());
  QFile file(entry);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();

  bool ended = false;
  QObject::connect(&window, &CConverterDlg::ended, [&] { ended = true; });
  QTimer::singleShot(20, [&] {
    CCommandEvent uninstall(kCommandUninstall);
    QCoreApplication::sendEvent(&window, &uninstall);
  });
  QMessageBox box(QMessageBox::Information, "pop-up", "open", QMessageBox::Ok | QMessageBox::Cancel, &window);
  box.exec();  // returns once the uninstall closed it
  EXPECT_FALSE(box.isVisible());
  EXPECT_TRUE(ended);
  EXPECT_FALSE(QFile::exists(entry));
}

TEST_F(CommandsTest, RestoreShowsAHiddenWindow) {
  CConverterDlg& window = Open();
  window.hide();
  CCommandEvent restore(kCommandRestore);
  QCoreApplication::sendEvent(&window, &restore);
  EXPECT_TRUE(window.isVisible());
  EXPECT_FALSE(window.isMinimized());
}

TEST_F(CommandsTest, WindowMenuCloseWithoutALibraryTakingItEnds) {
  CConverterDlg& window = Open();
  QCoreApplication::postEvent(&window, new CSysCommandEvent(kScClose));
  EXPECT_TRUE(EndedAfterEvents(window));
}

TEST_F(CommandsTest, HelpFromBothMenusRunsTheSameHelp) {
  CConverterDlg& window = Open();
  int helps = 0;
  window.onHelp = [&] { ++helps; };
  QCoreApplication::postEvent(&window, new CSysCommandEvent(kCommandHelp));
  window.PostCommand(kCommandHelp);
  QTest::qWait(30);
  EXPECT_EQ(helps, 2);
}

TEST_F(CommandsTest, AboutFromBothMenusAsksTheLibraryForItsAboutBox) {
  CConverterDlg& window = Open();
  // The stand-in library records every call; it is loaded once per process.
  QLibrary library(program_.filePath("libQyCommon.so"));
  ASSERT_TRUE(library.load());
  auto count = reinterpret_cast<RecordedCallCountFunction>(library.resolve("RecordedCallCount"));
  auto call = reinterpret_cast<RecordedCallFunction>(library.resolve("RecordedCall"));
  ASSERT_TRUE(count && call);
  const int before = count();
  QCoreApplication::postEvent(&window, new CSysCommandEvent(kCommandAbout));
  window.PostCommand(kCommandAbout);
  QTest::qWait(30);
  ASSERT_EQ(count() - before, 2);
  for (int i = before; i < count(); ++i) {
    EXPECT_EQ(call(i)->code, 10);
    EXPECT_EQ(call(i)->a, reinterpret_cast<intptr_t>(static_cast<QObject*>(&window)));
  }
}

TEST_F(CommandsTest, MnemonicsFocusRowsSetWidthsAndPressButtons) {
  CConverterDlg& window = Open();
  Choose(1009, kHexadecimal);  // Binary moves to row 4
  struct Focus {
    Qt::Key key;
    int base;
  };
  for (Focus f : {Focus{Qt::Key_B, kBinary}, {Qt::Key_O, kOctal}, {Qt::Key_D, kDecimal}, {Qt::Key_H, kHexadecimal}}) {
    QTest::keyClick(&window, f.key, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), FieldOf(f.base)) << "base " << f.base;
  }
  struct Width {
    Qt::Key key;
    int bits;
  };
  for (Width w : {Width{Qt::Key_8, 8}, {Qt::Key_1, 16}, {Qt::Key_6, 64}, {Qt::Key_3, 32}}) {
    QTest::keyClick(&window, w.key, Qt::AltModifier);
    EXPECT_EQ(window.Converter().Bits(), w.bits);
    EXPECT_EQ(Combo(1031)->currentIndex(), WidthIndexOfBits(w.bits));
  }
  // A button's mnemonic clicks it after a short press animation.
  auto press = [&](Qt::Key key) {
    QTest::keyClick(&window, key, Qt::AltModifier);
    QTest::qWait(200);
  };
  Type(kBinary, "110");
  press(Qt::Key_S);
  EXPECT_EQ(TextOf(kBinary), QString(32, '0').left(31 - 2) + "011");
  press(Qt::Key_R);
  EXPECT_EQ(TextOf(kBinary), "1" + QString(29, '0') + "01");
  press(Qt::Key_I);
  EXPECT_EQ(TextOf(kBinary), "0" + QString(29, '1') + "10");
}

TEST_F(CommandsTest, AccessibleNamesFollowTheRowsBases) {
  CConverterDlg& window = Open();
  const char* names[] = {"Binary", "Octal", "Decimal", "Hexadecimal"};
  for (int row = 0; row < 4; ++row) EXPECT_EQ(window.Field(row)->accessibleName(), names[row]);
  Choose(1010, kHexadecimal);
  EXPECT_EQ(window.Field(1)->accessibleName(), "Hexadecimal");
  EXPECT_EQ(window.Field(3)->accessibleName(), "Octal");
  for (int id : {1009, 1010, 1011, 1012, 1020, 1031, 1025, 1026, 1027, 1028, 1029, 1030}) {
    QWidget* control = window.Control(id);
    ASSERT_NE(control, nullptr) << id;
    const QString name = control->accessibleName().isEmpty() && qobject_cast<QPushButton*>(control)
                             ? qobject_cast<QPushButton*>(control)->text()
                             : control->accessibleName();
    EXPECT_FALSE(name.isEmpty()) << id;
  }
}

TEST_F(CommandsTest, EveryControlOfTheTemplateIsThere) {
  CConverterDlg& window = Open();
  const int visible[] = {1003, 1004, 1005, 1006, 1009, 1010, 1011, 1012,
                         1020, 1025, 1026, 1027, 1028, 1029, 1030, 1031};
  const int hidden[] = {1000, 1001, 1002, 1007, 1008, 1013, 1014, 1015, 1016, 1022};
  for (int id : visible) {
    ASSERT_NE(window.Control(id), nullptr) << id;
    EXPECT_TRUE(window.Control(id)->isVisible()) << id;
  }
  for (int id : hidden) {
    ASSERT_NE(window.Control(id), nullptr) << id;
    EXPECT_FALSE(window.Control(id)->isVisible()) << id;
  }
  EXPECT_EQ(window.windowTitle(), "Quillory Radixpad");
  EXPECT_FALSE(window.windowIcon().isNull());
  for (int size : {16, 32, 48}) {
    EXPECT_EQ(window.windowIcon().actualSize(QSize(size, size)), QSize(size, size));
    // The rounded tile: clear corners, an opaque blue middle (the alpha survives the read).
    const QImage image = window.windowIcon().pixmap(QSize(size, size)).toImage();
    EXPECT_LT(qAlpha(image.pixel(0, 0)), 32) << size;
    EXPECT_EQ(qAlpha(image.pixel(size / 2, size - 3)), 255) << size;
    EXPECT_GT(qBlue(image.pixel(size / 2, size - 3)), qRed(image.pixel(size / 2, size - 3))) << size;
  }
}

TEST_F(CommandsTest, ColourPick) {
  CConverterDlg& window = Open();
  Choose(1031, 0);
  QColor offered;
  window.SetColorChooser([&](QWidget*, QColor initial) -> std::optional<QColor> {
    offered = initial;
    return QColor(255, 0, 0);
  });
  window.PickColor();
  EXPECT_EQ(offered, QColor(0, 0, 0)) << "an empty Decimal row starts at black";
  EXPECT_EQ(window.Converter().Bits(), 32);
  EXPECT_EQ(TextOf(kDecimal), "255");
  EXPECT_EQ(TextOf(kHexadecimal), "FF");
  EXPECT_EQ(window.Converter().LastConverted(), kDecimal);

  FieldOf(kDecimal)->SetText("16711680");
  window.SetColorChooser([&](QWidget*, QColor initial) -> std::optional<QColor> {
    offered = initial;
    return QColor(255, 255, 255);
  });
  Choose(1020, 1);
  window.PickColor();
  EXPECT_EQ(offered, QColor(0, 0, 255));
  EXPECT_EQ(TextOf(kDecimal), "16777215");
  EXPECT_EQ(TextOf(kBinary), QString(24, '1'));

  // Cancelled: nothing changes but the width.
  Choose(1031, 1);
  const QString hex = TextOf(kHexadecimal);
  window.SetColorChooser([](QWidget*, QColor) -> std::optional<QColor> { return std::nullopt; });
  window.PickColor();
  EXPECT_EQ(window.Converter().Bits(), 32);
  EXPECT_EQ(TextOf(kHexadecimal), hex);
}

}  // namespace
}  // namespace radixpad::test
