// The float and character views, Swap Bytes and Copy All in the window: what the
// views show after each change of the rows, the float field's typing, the menu
// items, the saved choices and the clipboard's text.
#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

#include "beep.h"
#include "ini_store.h"
#include "window_fixture.h"

namespace radixpad::test {
namespace {

constexpr int kWidthSelector = 1031;
constexpr int kSignSelector = 1020;

class ViewsTest : public WindowTest {
 protected:
  // What the views show for the rows' pattern, by the engine's own words.
  static QString FloatLineOf(std::uint64_t pattern, int bits) {
    return QString::fromStdString(FormatFloatLine(DescribeFloat(pattern, bits)));
  }
  static QString CharLineOf(std::uint64_t pattern, int bits) {
    return QString::fromStdString(FormatCharLine(DescribeChar(pattern, bits)));
  }
  QString CharShown() { return window_->CharLine()->text().mid(1).chopped(1); }
  void TypeFloat(const QString& keys) {
    window_->FloatField()->setFocus();
    QTest::keyClicks(window_->FloatField(), keys);
  }
};

TEST_F(ViewsTest, ViewsFollowEveryChangeOfTheRowsAndWidth) {
  CConverterDlg& window = OpenWithViews();
  // (what happens, the pattern, the width)
  const std::vector<std::tuple<std::function<void()>, std::uint64_t, int>> steps = {
      {[] {}, 0, 32},
      {[&] { Type(kHexadecimal, "3F800000"); }, 0x3F800000, 32},
      {[&] { window.SwapBytesAction()->trigger(); }, 0x0000803F, 32},
      {[&] { Choose(kWidthSelector, 1); }, 0x803F, 16},
      {[&] { Choose(kWidthSelector, 0); }, 0x3F, 8},
      {[&] { FieldOf(kDecimal)->clear(); }, 0, 8},
      {[&] { Choose(kWidthSelector, 3); }, 0, 64},  // empty rows: only the width changes
      {[&] { Type(kDecimal, "-1"); }, ~0ULL, 64},
      {[&] { Choose(kSignSelector, 1); }, ~0ULL, 64},
      {[&] { window.Converter().RunBitOperation(BitOperation::kShiftRight); }, ~0ULL >> 1, 64},
  };
  for (std::size_t i = 0; i < steps.size(); ++i) {
    SCOPED_TRACE(i);
    const auto& [act, pattern, bits] = steps[i];
    act();
    const QString floatLine = FloatLineOf(pattern, bits);
    EXPECT_TRUE(WaitFor([&] { return window.FloatLine()->text() == floatLine; }))
        << window.FloatLine()->text().toStdString();
    EXPECT_EQ(CharShown(), CharLineOf(pattern, bits));
    EXPECT_EQ(window.FloatField()->isEnabled(), bits != 8);
  }
  // A wrapped line is never cut: the window gives it the height its text needs.
  QLabel* line = window.FloatLine();
  QApplication::processEvents();
  EXPECT_GE(line->height(), line->heightForWidth(line->width())) << line->text().toStdString();
  EXPECT_EQ(FloatLineOf(0x3F800000, 32), "binary32 normal, sign 0, exponent 01111111 (0), fraction " +
                                             QString(23, u'0') + ", decimal 1, hex 0x1p+0");
}

// A direction character never reorders the window: it is named, and the line is isolated.
TEST_F(ViewsTest, CharacterLineIsPlainIsolatedTextAndReadAsText) {
  CConverterDlg& window = OpenWithViews();
  Type(kHexadecimal, "202E");
  ASSERT_TRUE(WaitFor([&] { return CharShown() == "U+202E RLO (bidi control)"; })) << CharShown().toStdString();
  EXPECT_FALSE(CharShown().contains(QChar(0x202E)));
  EXPECT_EQ(window.CharLine()->text().front(), QChar(0x2066));
  EXPECT_EQ(window.CharLine()->text().back(), QChar(0x2069));
  Choose(kWidthSelector, 0);
  FieldOf(kHexadecimal)->clear();
  Type(kHexadecimal, "3C");
  ASSERT_TRUE(WaitFor([&] { return CharShown() == "ASCII <"; }));
  EXPECT_EQ(window.CharLine()->textFormat(), Qt::PlainText);
  EXPECT_EQ(window.FloatLine()->textFormat(), Qt::PlainText);
  for (QLabel* line : {window.FloatLine(), window.CharLine()}) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(line);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->text(QAccessible::Name), line == window.CharLine() ? CharShown() : line->text());
    EXPECT_FALSE(face->text(QAccessible::Description).isEmpty());
  }
}

TEST_F(ViewsTest, TypingAFloatSetsTheRowsAndBadTextBeeps) {
  CConverterDlg& window = OpenWithViews();
  QLineEdit* field = window.FloatField();
  struct Case {
    int width;          // selector index
    const char* typed;  // keys into an emptied field
    const char* hex;    // the Hexadecimal row afterwards
    const char* shown;  // the field afterwards, still in it
    int beeps;          // on the keys and an Enter
  } cases[] = {
      {2, "0.1", "3DCCCCCD", "0.1", 0},
      {2, "1.", "3F800000", "1.", 0},  // the user's spelling stays while it reads as the bits
      {2, "-2.5e-3", "BB23D70A", "-2.5e-3", 0},
      {1, "65504", "7BFF", "65504", 0},
      {1, "1e9", "7C00", "1e9", 0},  // too large: infinity
      {3, "-inf", "FFF0000000000000", "-inf", 0},
      {2, "-", "", "-", 1},  // on its way to a number: nothing yet, Enter beeps
      {2, "1x", "3F800000", "1x", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    Choose(kWidthSelector, c.width);
    FieldOf(kHexadecimal)->clear();
    field->clear();
    const int before = BeepCount();
    TypeFloat(QString::fromLatin1(c.typed));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(TextOf(kHexadecimal), c.hex);
    EXPECT_EQ(field->text(), c.shown);
    EXPECT_EQ(BeepCount() - before, c.beeps);
  }
  // Leaving the field writes the value as the view does.
  Choose(kWidthSelector, 2);
  field->clear();
  TypeFloat("1.50");
  FieldOf(kDecimal)->setFocus();
  EXPECT_TRUE(WaitFor([&] { return field->text() == "1.5"; })) << field->text().toStdString();
  // A paste that is no number beeps and leaves the field and the rows as they were.
  field->setFocus();
  field->selectAll();
  QGuiApplication::clipboard()->setText("abc");
  const int before = BeepCount();
  field->paste();
  EXPECT_EQ(BeepCount() - before, 1);
  EXPECT_EQ(field->text(), "1.5");
  EXPECT_EQ(TextOf(kHexadecimal), "3FC00000");
  QGuiApplication::clipboard()->setText(" 0.25 ");
  field->selectAll();
  field->paste();
  EXPECT_EQ(TextOf(kHexadecimal), "3E800000");
}

TEST_F(ViewsTest, SwapBytesByMenuAndKey) {
  CConverterDlg& window = Open();
  EXPECT_TRUE(window.SwapBytesAction()->toolTip().contains("Alt+W"));
  // (width index, hexadecimal before, after)
  const std::tuple<int, const char*, const char*> cases[] = {
      {2, "12345678", "78563412"}, {3, "12345678", "7856341200000000"}, {1, "ABCD", "CDAB"}, {0, "AB", "AB"}};
  for (const auto& [width, before, after] : cases) {
    SCOPED_TRACE(before);
    Choose(kWidthSelector, width);
    FieldOf(kHexadecimal)->clear();
    Type(kHexadecimal, before);
    QTest::keyClick(FieldOf(kHexadecimal), Qt::Key_W, Qt::AltModifier);
    EXPECT_EQ(TextOf(kHexadecimal), after);
    window.SwapBytesAction()->trigger();
    EXPECT_EQ(TextOf(kHexadecimal), before) << "twice is no change";
  }
}

TEST_F(ViewsTest, CopyAllPutsEachRowAndShownViewOnALine) {
  CConverterDlg& window = Open();
  window.SetGroupDigits(true);
  Choose(kWidthSelector, 1);
  Type(kDecimal, "-2");
  window.CopyAllAction()->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(),
            "Binary\t1111111111111110\nOctal\t177776\nDecimal\t-2\nHexadecimal\tFFFE");
  Choose(1009, kHexadecimal);  // the rows' order is the lines' order
  window.SetCharViewShown(true);
  window.SetFloatViewShown(true);
  window.CopyAllAction()->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(),
            "Hexadecimal\tFFFE\nOctal\t177776\nDecimal\t-2\nBinary\t1111111111111110\n"
            "Float\t" +
                FloatLineOf(0xFFFE, 16) + "\nCharacter\t" + CharLineOf(0xFFFE, 16));
}

TEST_F(ViewsTest, ViewsAreBuiltWhenFirstShownGrowTheWindowAndAreSaved) {
  CConverterDlg& window = Open();
  EXPECT_EQ(window.FloatLine(), nullptr) << "a hidden view is not even built";
  EXPECT_EQ(window.CharLine(), nullptr);
  const int heightBefore = window.height();
  window.FloatViewAction()->trigger();
  window.CharViewAction()->trigger();
  ASSERT_NE(window.FloatLine(), nullptr);
  EXPECT_TRUE(window.FloatLine()->isVisible() && window.CharLine()->isVisible());
  EXPECT_GT(window.height(), heightBefore);
  // In the tab order after the last row, before the buttons.
  EXPECT_EQ(window.Field(3)->nextInFocusChain(), window.FloatField());
  EXPECT_EQ(window.FloatLine()->nextInFocusChain(), window.CharLine());
  window.SetFloatViewShown(false);
  window.SetCharViewShown(false);
  EXPECT_EQ(window.height(), heightBefore) << "hiding gives the height back";
  window.SetCharViewShown(true);
  Close();
  EXPECT_EQ(ReadSetting("FloatView"), 0);
  EXPECT_EQ(ReadSetting("CharView"), 1);
  // (saved FloatView, CharView; shown after start)
  for (const auto& [savedFloat, savedChar] : {std::pair{1, 0}, {2, 1}}) {
    WriteSetting("FloatView", savedFloat);
    WriteSetting("CharView", savedChar);
    CConverterDlg& again = Open();
    EXPECT_EQ(again.FloatViewShown(), savedFloat == 1);
    EXPECT_EQ(again.FloatViewAction()->isChecked(), savedFloat == 1);
    EXPECT_EQ(again.CharViewShown(), savedChar == 1);
    Close();
  }
}

TEST_F(ViewsTest, RightClickAndAltSpaceOnTheViewsOpenTheWindowsOwnMenus) {
  ASSERT_TRUE(WriteIniString("EditMenu", "Undo", "&Zur\u00fcck", program_.filePath("String.dat")));
  CConverterDlg& window = OpenWithViews();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  const auto rightClick = [](QWidget* widget) {
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(2, 2), widget->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(widget, &request);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
  };
  // The float field: the rows' edit menu, in the text file's words.
  QMenu* menu = rightClick(window.FloatField());
  ASSERT_NE(menu, nullptr);
  ASSERT_FALSE(menu->actions().isEmpty());
  EXPECT_TRUE(menu->actions().front()->text().startsWith(QStringLiteral("&Zur\u00fcck")))
      << menu->actions().front()->text().toStdString();
  menu->close();
  // A view line is outside the rows: the window menu.
  for (QWidget* line : {static_cast<QWidget*>(window.FloatLine()), static_cast<QWidget*>(window.CharLine())}) {
    EXPECT_EQ(rightClick(line), window.WindowMenu());
    window.WindowMenu()->close();
  }
  QTest::keyClick(window.FloatField(), Qt::Key_Space, Qt::AltModifier);
  EXPECT_EQ(QApplication::activePopupWidget(), window.WindowMenu()) << "Alt+Space from the float field";
  window.WindowMenu()->close();
}

}  // namespace
}  // namespace radixpad::test
