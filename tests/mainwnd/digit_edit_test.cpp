// Keystrokes through the real widgets: the typing filter, capitals, limits.
#include <QClipboard>

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
      {kBinary, "2", "", 1},        {kOctal, "8", "", 1},          {kBinary, "1 +.", "1", 3},
      {kHexadecimal, "a", "A", 0},  {kHexadecimal, "fG", "F", 1},  {kDecimal, "12.5", "125", 1},
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

  // A paste is cut to what fits, at the caret, in capitals.
  Choose(1031, 1);  // 16 bits
  FieldOf(kDecimal)->clear();
  QGuiApplication::clipboard()->setText("abcdef");
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
