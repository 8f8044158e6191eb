// Keystrokes through the real widgets: the typing filter, capitals, limits.
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <utility>

#include "beep.h"
#include "window_fixture.h"

namespace radixpad::test {
namespace {

class DigitEditTest : public WindowTest {};

TEST_F(DigitEditTest, KeysOutsideTheBaseBeepAndChangeNothing) {
  Open();
  struct Case {
    int base;
    QString keys;
    QString text;
    int beeps;
  };
  const Case cases[] = {
      {kBinary, "2", "", 1},
      {kOctal, "8", "", 1},
      {kBinary, "1 +.", "1", 3},
      {kHexadecimal, "a", "A", 0},
      {kHexadecimal, "fG", "F", 1},
      {kDecimal, "12.5", "125", 1},
      // A base marker after a lone leading zero takes the zero away.
      {kHexadecimal, "0xdeadbeef", "DEADBEEF", 0},
      {kBinary, "0b101", "101", 0},
      {kHexadecimal, "10x", "10", 1},
  };
  for (const Case& c : cases) {
    FieldOf(c.base)->clear();
    const int before = BeepCount();
    Type(c.base, c.keys);
    EXPECT_EQ(TextOf(c.base), c.text) << c.keys.toStdString();
    EXPECT_EQ(BeepCount() - before, c.beeps) << c.keys.toStdString();
  }
}

TEST_F(DigitEditTest, SignRuleLooksAtTheCaret) {
  Open();
  Type(kDecimal, "12");
  int before = BeepCount();
  Type(kDecimal, "-");
  EXPECT_EQ(TextOf(kDecimal), "12") << "caret at the end";
  EXPECT_EQ(BeepCount() - before, 1);
  FieldOf(kDecimal)->setCursorPosition(0);
  Type(kDecimal, "-");
  EXPECT_EQ(TextOf(kDecimal), "-12");
  EXPECT_EQ(TextOf(kHexadecimal), "FFFFFFF4");
  FieldOf(kDecimal)->setCursorPosition(0);
  Type(kDecimal, "-");
  EXPECT_EQ(TextOf(kDecimal), "--12") << "the rule does not look for a sign already there";
  EXPECT_EQ(TextOf(kHexadecimal), "") << "--12 reads as zero";

  // Typed over a selection that starts the text, the minus lands first.
  FieldOf(kDecimal)->SetText("31");
  FieldOf(kDecimal)->selectAll();
  Type(kDecimal, "-5");
  EXPECT_EQ(TextOf(kDecimal), "-5");
  FieldOf(kDecimal)->setSelection(1, 1);
  before = BeepCount();
  Type(kDecimal, "-");
  EXPECT_EQ(TextOf(kDecimal), "-5") << "a selection further on takes no minus";
  EXPECT_EQ(BeepCount() - before, 1);

  Choose(1020, 1);  // unsigned
  FieldOf(kDecimal)->clear();
  before = BeepCount();
  Type(kDecimal, "-");
  EXPECT_EQ(TextOf(kDecimal), "");
  EXPECT_EQ(BeepCount() - before, 1);
}

TEST_F(DigitEditTest, BackspaceAndControlKeysAlwaysPass) {
  Open();
  Type(kBinary, "101");
  const int before = BeepCount();
  QTest::keyClick(FieldOf(kBinary), Qt::Key_Backspace);
  EXPECT_EQ(TextOf(kBinary), "10");
  EXPECT_EQ(TextOf(kDecimal), "2");
  QTest::keyClick(FieldOf(kBinary), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(FieldOf(kBinary), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "10");
  EXPECT_EQ(BeepCount(), before);
}

TEST_F(DigitEditTest, LimitsBoundTypingAndPastingButNeverCutText) {
  Open();
  Choose(1031, 0);  // 8 bits
  Type(kBinary, "1111111111");
  EXPECT_EQ(TextOf(kBinary), "11111111") << "extra keys are dropped";
  FieldOf(kBinary)->clear();
  Type(kDecimal, "-1234");
  EXPECT_EQ(TextOf(kDecimal), "-123");

  // A paste that does not fit is refused, never cut; one that fits goes in, in capitals.
  Choose(1031, 1);  // 16 bits
  FieldOf(kDecimal)->clear();
  const int before = BeepCount();
  QGuiApplication::clipboard()->setText("abcdef");
  QTest::keyClick(FieldOf(kHexadecimal), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(TextOf(kHexadecimal), "");
  EXPECT_EQ(BeepCount() - before, 1);
  QGuiApplication::clipboard()->setText("abcd");
  QTest::keyClick(FieldOf(kHexadecimal), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(TextOf(kHexadecimal), "ABCD");
  EXPECT_EQ(TextOf(kDecimal), "-21555");

  // Program writes are not cut, and the lower unsigned limit keeps the text.
  Choose(1031, 2);
  FieldOf(kHexadecimal)->clear();
  FieldOf(kDecimal)->SetText("02147483647");
  Choose(1020, 1);
  EXPECT_EQ(TextOf(kDecimal), "02147483647");
  EXPECT_EQ(FieldOf(kDecimal)->Limit(), 10);
  Type(kDecimal, "1");
  EXPECT_EQ(TextOf(kDecimal), "02147483647") << "a full field takes no more keys";
}

// Ctrl+V into an empty field (or into a field showing `shown`, caret at the end,
// or over the selection [selStart, selStart + selLength)).
TEST_F(DigitEditTest, APasteIsTidiedAndRefusedRatherThanCut) {
  Open();
  struct Case {
    int widthIndex;
    int base;
    QString shown;
    int selStart, selLength;
    QString pasted;
    QString text;  // the field afterwards
    QString hex;   // the Hexadecimal row afterwards
    int beeps, notifications;
  };
  const Case cases[] = {
      {2, kHexadecimal, "", 0, 0, "0xdead_beef", "DEADBEEF", "DEADBEEF", 0, 1},
      {2, kHexadecimal, "", 0, 0, " #00ff7f\n", "00FF7F", "00FF7F", 0, 1},
      {2, kBinary, "", 0, 0, "1111 0000", "11110000", "F0", 0, 1},
      {2, kOctal, "", 0, 0, "0o7'7'7", "777", "1FF", 0, 1},
      {2, kDecimal, "", 0, 0, " 4'294'967'295 ", "4294967295", "FFFFFFFF", 0, 1},
      // A character the row's typing would refuse: one beep, nothing changes.
      {2, kBinary, "1", 1, 0, "0x1", "1", "1", 1, 0},
      {2, kDecimal, "", 0, 0, "1,000", "", "", 1, 0},
      {2, kDecimal, "12", 1, 0, "-", "12", "C", 1, 0},
      // At 8 bits: too long means one beep and nothing changes.
      {0, kHexadecimal, "7F", 2, 0, "1FF", "7F", "7F", 1, 0},
      {0, kBinary, "1", 1, 0, "00000001", "1", "1", 1, 0},
      {0, kBinary, "", 0, 0, "000000001", "", "", 1, 0},
      {0, kOctal, "", 0, 0, "0017", "", "", 1, 0},
      {0, kHexadecimal, "7F", 2, 0, "\t", "7F", "7F", 0, 1},
      // A paste into a selection tidies the pasted part and checks the whole.
      {0, kHexadecimal, "7F", 0, 1, "0x1", "1F", "1F", 0, 1},
      {0, kHexadecimal, "7F", 0, 1, "12", "7F", "7F", 1, 0},
      {0, kHexadecimal, "7F", 0, 2, "0x7f", "7F", "7F", 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pasted.toStdString());
    Choose(1020, 1);  // unsigned
    Choose(1031, c.widthIndex);
    FieldOf(kHexadecimal)->SetText("7F");
    FieldOf(c.base)->SetText(c.shown.toStdString());
    FieldOf(c.base)->setSelection(c.selStart, c.selLength);
    int notifications = 0;
    const auto connection = QObject::connect(FieldOf(c.base), &CDigitEdit::changed, [&] { ++notifications; });
    const int before = BeepCount();
    QGuiApplication::clipboard()->setText(c.pasted);
    QTest::keyClick(FieldOf(c.base), Qt::Key_V, Qt::ControlModifier);
    QObject::disconnect(connection);
    EXPECT_EQ(TextOf(c.base), c.text);
    EXPECT_EQ(TextOf(kHexadecimal), c.hex);
    EXPECT_EQ(BeepCount() - before, c.beeps);
    EXPECT_EQ(notifications, c.notifications);
  }
}

TEST_F(DigitEditTest, EveryWayToPasteTidiesAndChecksTheLimit) {
  Open();
  Choose(1031, 0);  // 8 bits
  CDigitEdit* hex = FieldOf(kHexadecimal);
  auto clip = [](const QString& text) { QGuiApplication::clipboard()->setText(text); };

  clip("0x1f");
  QTest::keyClick(hex, Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_EQ(TextOf(kHexadecimal), "1F") << "Shift+Insert";

  // The Paste item of the field's own menu.
  hex->clear();
  clip("#7f");
  QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(2, 2), hex->mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(hex, &request);
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  QAction* paste = menu->findChild<QAction*>("edit-paste");
  ASSERT_NE(paste, nullptr);
  paste->trigger();
  menu->close();
  EXPECT_EQ(TextOf(kHexadecimal), "7F") << "the menu's Paste";
  int before = BeepCount();
  hex->selectAll();
  clip("1ff");
  paste = nullptr;
  QApplication::sendEvent(hex, &request);
  menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  menu->findChild<QAction*>("edit-paste")->trigger();
  menu->close();
  EXPECT_EQ(TextOf(kHexadecimal), "7F") << "the menu's Paste, too long";
  EXPECT_EQ(BeepCount() - before, 1);

  // A drop from elsewhere, at the drop position; a refused one is ignored.
  auto dropText = [hex](const QString& text) {
    QMimeData data;
    data.setText(text);
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(QPoint(2, 2), actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(hex, &enter);
    QDropEvent drop(QPointF(2, 2), actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(hex, &drop);
    return drop.isAccepted();
  };
  hex->clear();
  EXPECT_TRUE(dropText(" a_b "));
  EXPECT_EQ(TextOf(kHexadecimal), "AB") << "a drop";
  before = BeepCount();
  EXPECT_FALSE(dropText("c")) << "the source keeps a text that was refused";
  EXPECT_EQ(TextOf(kHexadecimal), "AB");
  EXPECT_EQ(BeepCount() - before, 1);

  // The middle button pastes the selection where the platform has one.
  if (QGuiApplication::clipboard()->supportsSelection()) {
    hex->clear();
    QGuiApplication::clipboard()->setText("0x5a", QClipboard::Selection);
    QTest::mouseClick(hex, Qt::MiddleButton);
    EXPECT_EQ(TextOf(kHexadecimal), "5A") << "middle click";
  }
}

TEST_F(DigitEditTest, ProgramWritesAreShownExactly) {
  Open();
  // Octal typed at 32 bits keeps its 11 characters through a narrower width
  // and a row exchange.
  Type(kOctal, "00000000377");
  Choose(1031, 0);  // 8 bits
  EXPECT_EQ(TextOf(kOctal), "00000000377");
  Choose(1010, kHexadecimal);  // the row showing Octal now shows Hexadecimal
  EXPECT_EQ(TextOf(kHexadecimal), "FF");
  EXPECT_EQ(TextOf(kOctal), "00000000377");
  EXPECT_EQ(window_->Field(1)->Base(), kHexadecimal);

  // A field on its own, without a converter answering its writes.
  CDigitEdit field;
  field.SetMode(kBinary, 8, 1);
  field.SetText("1111111111");
  EXPECT_EQ(field.text(), "1111111111") << "10 ones written at 8 bits";
  field.SetMode(kHexadecimal, 8, 1);
  field.SetText("ab");
  EXPECT_EQ(field.text(), "ab") << "a program write is not made capitals";
  // It still refuses typing past its limit after such a write.
  field.SetText("7F");
  QTest::keyClicks(&field, "1");
  EXPECT_EQ(field.text(), "7F");
}

TEST_F(DigitEditTest, TypedTextOfSeveralCharactersIsFiltered) {
  Open();
  struct Case {
    int base;
    bool inputMethod;  // a commit; otherwise one key event typing the whole text
    QString typed;
    QString text;
    int beeps;
  };
  const Case cases[] = {
      {kHexadecimal, true, "ab", "AB", 0}, {kHexadecimal, false, "ab", "AB", 0},  {kBinary, true, "12", "", 1},
      {kBinary, false, "12", "", 1},       {kBinary, true, "10", "10", 0},        {kDecimal, true, "-5", "-5", 0},
      {kDecimal, false, "5-", "", 1},      {kHexadecimal, true, "\u00e9", "", 1}, {kOctal, false, "\U0001F600", "", 1},
      {kOctal, true, "1234", "", 0},  // longer than the limit: dropped whole, silently
  };
  Choose(1031, 0);  // 8 bits
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed.toStdString());
    CDigitEdit* field = FieldOf(c.base);
    field->clear();
    const int before = BeepCount();
    if (c.inputMethod) {
      QInputMethodEvent commit;
      commit.setCommitString(c.typed);
      QApplication::sendEvent(field, &commit);
    } else {
      QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, c.typed);
      QApplication::sendEvent(field, &key);
    }
    EXPECT_EQ(TextOf(c.base), c.text);
    EXPECT_EQ(BeepCount() - before, c.beeps);
  }
}

TEST_F(DigitEditTest, UndoTakesBackAnEditMadeCapitals) {
  Open();
  Type(kHexadecimal, "1a");
  EXPECT_EQ(TextOf(kHexadecimal), "1A");
  EXPECT_EQ(TextOf(kDecimal), "26");
  QTest::keyClick(FieldOf(kHexadecimal), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(TextOf(kHexadecimal), "");
  EXPECT_EQ(TextOf(kDecimal), "");
  QTest::keyClick(FieldOf(kHexadecimal), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(TextOf(kHexadecimal), "1A") << "and redo brings it back";
}

TEST_F(DigitEditTest, UndoToAProgramWrittenTextKeepsTheLimit) {
  // A field on its own: a text written by the program passes its typing limit.
  CDigitEdit field;
  field.SetMode(kBinary, 8, 1);
  field.SetText("1111111111");
  QTest::keyClick(&field, Qt::Key_Backspace);
  QTest::keyClick(&field, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(field.text(), "1111111111") << "undo brings the written text back";
  QTest::keyClicks(&field, "0");
  EXPECT_EQ(field.text(), "1111111111") << "and the limit still holds";
  field.selectAll();
  QTest::keyClicks(&field, "1");
  QTest::keyClick(&field, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(&field, Qt::Key_End);
  QTest::keyClicks(&field, "00");
  EXPECT_EQ(field.text(), "1111111111");
}

TEST_F(DigitEditTest, GroupedDigitsAreDrawnApartButNeverHeldInTheText) {
  CDigitEdit field;
  field.resize(600, field.sizeHint().height());
  field.show();
  field.SetMode(kBinary, 64, 1);
  const int digit = field.fontMetrics().horizontalAdvance(QLatin1Char('0'));
  // The x of the caret at each position, and the steps between them.
  const auto steps = [&field] {
    QList<int> x;
    for (int at = 0; at <= field.text().size(); ++at) {
      field.setCursorPosition(at);
      x << field.inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
    }
    QList<int> out;
    for (int i = 1; i < x.size(); ++i) out << x[i] - x[i - 1];
    return out;
  };
  const auto wide = [&](const QList<int>& s) {
    QList<int> out;
    for (int i = 0; i < s.size(); ++i) {
      if (s[i] >= digit + field.GroupGap() / 2) out << i;  // glyph positions are rounded
    }
    return out;
  };
  field.SetGroupDigits(true);
  QTest::keyClicks(&field, "111100001");
  EXPECT_EQ(field.text(), "111100001");
  EXPECT_EQ(wide(steps()), (QList<int>{0, 4})) << "1 1110 0001: gaps after the first and the fifth digit";
  // Typing, a paste and a program write move the groups with the digits.
  field.setCursorPosition(0);
  QTest::keyClick(&field, Qt::Key_Delete);
  EXPECT_EQ(wide(steps()), (QList<int>{3}));
  field.end(false);
  QGuiApplication::clipboard()->setText("0b1_1");
  field.PasteText(QGuiApplication::clipboard()->text());
  EXPECT_EQ(field.text(), "1110000111");
  EXPECT_EQ(wide(steps()), (QList<int>{1, 5}));
  // The mouse finds the digit behind a gap; copying takes the digits only.
  field.setCursorPosition(6);
  const QPoint behindGap = field.inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
  EXPECT_EQ(field.cursorPositionAt(behindGap), 6);
  field.selectAll();
  field.copy();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "1110000111");
  field.SetText("-1234567");
  field.SetMode(kDecimal, 32, 1);
  EXPECT_EQ(wide(steps()), (QList<int>{1, 4})) << "-1 234 567";
  field.SetGroupDigits(false);
  EXPECT_TRUE(wide(steps()).isEmpty());
}

TEST_F(DigitEditTest, MenuKeysOpenTheFieldsEditMenu) {
  Open();
  for (const auto& [key, modifiers] : {std::pair{Qt::Key_F10, Qt::KeyboardModifiers(Qt::ShiftModifier)},
                                       std::pair{Qt::Key_Menu, Qt::KeyboardModifiers(Qt::NoModifier)}}) {
    FieldOf(kDecimal)->setFocus();
    QTest::keyClick(FieldOf(kDecimal), key, modifiers);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr) << key;
    EXPECT_NE(menu->findChild<QAction*>("edit-paste"), nullptr) << "the edit menu, not the window menu";
    menu->close();
    QTest::qWait(10);
  }
  // Alt+Space opens the window menu from a row too.
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  QTest::keyClick(FieldOf(kDecimal), Qt::Key_Space, Qt::AltModifier);
  EXPECT_EQ(QApplication::activePopupWidget(), window_->WindowMenu());
  window_->WindowMenu()->close();
}

TEST_F(DigitEditTest, ProgramWriteOfTheSameTextStillNotifies) {
  Open();
  int notifications = 0;
  QObject::connect(FieldOf(kBinary), &CDigitEdit::changed, [&] { ++notifications; });
  FieldOf(kBinary)->SetText("101");
  FieldOf(kBinary)->SetText("101");
  EXPECT_EQ(notifications, 2);
}

TEST_F(DigitEditTest, EnterChangesNothingAndEscIsACloseRequest) {
  CConverterDlg& window = Open();
  Type(kDecimal, "42");
  QTest::keyClick(FieldOf(kDecimal), Qt::Key_Return);
  QTest::qWait(20);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(TextOf(kDecimal), "42");
  // The stand-in library does not take the close request, so it ends the window.
  bool ended = false;
  QObject::connect(&window, &CConverterDlg::ended, [&] { ended = true; });
  QTest::keyClick(FieldOf(kDecimal), Qt::Key_Escape);
  EXPECT_FALSE(ended) << "Esc only posts the close request";
  EXPECT_TRUE(WaitFor([&] { return ended; }));
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace radixpad::test
