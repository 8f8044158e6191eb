// The bit grid, the digit font and default width, the tooltips and the saved
// window position.
#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QFontDatabase>
#include <QLayout>
#include <QMenu>
#include <QPushButton>
#include <QScreen>

#include "bit_grid_panel.h"
#include "window_fixture.h"

namespace radixpad::test {
namespace {

class DisplayTest : public WindowTest {
 protected:
  CBitGridPanel& ShowGrid() {
    window_->SetBitGridShown(true);
    EXPECT_NE(window_->BitGrid(), nullptr);
    return *window_->BitGrid();
  }
  /// The grid's bits as '0' and '1', most significant first.
  QString GridState() {
    CBitGridPanel* grid = window_->BitGrid();
    QString out;
    for (int bit = grid->Bits() - 1; bit >= 0; --bit) out += grid->BitButton(bit)->isChecked() ? u'1' : u'0';
    return out;
  }
  QAbstractButton* Bit(int bit) { return window_->BitGrid()->BitButton(bit); }
  QString Zeros(int n) { return QString(n, u'0'); }
};

TEST_F(DisplayTest, GridFollowsEveryChangeOfTheRows) {
  Open();
  ShowGrid();
  EXPECT_EQ(GridState(), Zeros(32)) << "an empty row shows all bits off";
  // (what happens, the grid afterwards)
  const std::vector<std::pair<std::function<void()>, QString>> steps = {
      {[&] { Type(kDecimal, "5"); }, Zeros(29) + "101"},
      {[&] { Choose(1031, 0); }, "00000101"},
      {[&] { Type(kHexadecimal, "F"); }, "01011111"},     // hex 5F
      {[&] { Choose(1009, kHexadecimal); }, "01011111"},  // Binary moves to row 4
      {[&] { Type(kBinary, "0"); }, "10111110"},
      {[&] { Choose(1020, 1); }, "10111110"},  // unsigned: the pattern stays
      {[&] { Choose(1031, 3); }, Zeros(56) + "10111110"},
      {[&] { FieldOf(kDecimal)->clear(); }, Zeros(64)},
      {[&] { Type(kDecimal, "18446744073709551615"); }, QString(64, u'1')},
      {[&] { window_->Converter().RunBitOperation(BitOperation::kShiftRight); }, "0" + QString(63, u'1')},
  };
  for (std::size_t i = 0; i < steps.size(); ++i) {
    SCOPED_TRACE(i);
    steps[i].first();
    EXPECT_TRUE(WaitFor([&] { return GridState() == steps[i].second; })) << GridState().toStdString();
  }
  CBitGridPanel& grid = *window_->BitGrid();
  EXPECT_EQ(grid.Bits(), 64);
  Choose(1031, 1);
  ASSERT_TRUE(WaitFor([&] { return grid.Bits() == 16; }));
  EXPECT_TRUE(Bit(15)->isVisible());
  EXPECT_FALSE(Bit(16)->isVisible());
  EXPECT_EQ(Bit(15)->accessibleName(), "Bit 15");
}

TEST_F(DisplayTest, GridLaysOutGroupsOfFourAndTwoLinesAt64Bits) {
  Open();
  Choose(1031, 3);
  CBitGridPanel& grid = ShowGrid();
  ASSERT_EQ(grid.Bits(), 64);
  const auto at = [&](int bit) { return Bit(bit)->mapTo(&grid, QPoint(0, 0)); };
  EXPECT_LT(at(63).x(), at(62).x()) << "most significant at the left";
  EXPECT_EQ(at(63).y(), at(32).y());
  EXPECT_LT(at(63).y(), at(31).y()) << "bits 31..0 on the second line";
  EXPECT_EQ(at(63).x(), at(31).x());
  const int inGroup = at(62).x() - at(63).x();
  const int acrossGroups = at(59).x() - at(60).x();
  EXPECT_GT(acrossGroups, inGroup) << "a visible gap between groups";
  Choose(1031, 0);
  ASSERT_TRUE(WaitFor([&] { return grid.Bits() == 8; }));
  EXPECT_EQ(at(7).y(), at(0).y()) << "one line below 64 bits";
}

TEST_F(DisplayTest, ClickOrSpaceFlipsABitAndTheRowsFollow) {
  Open();
  Choose(1031, 0);
  Type(kDecimal, "5");
  CBitGridPanel& grid = ShowGrid();
  QTest::mouseClick(Bit(1), Qt::LeftButton);
  EXPECT_EQ(TextOf(kDecimal), "7");
  EXPECT_EQ(TextOf(kBinary), "00000111");
  EXPECT_EQ(window_->Converter().LastConverted(), kBinary);
  EXPECT_EQ(GridState(), "00000111");

  // Space on the focused bit; the arrows move between bits and stop at the ends.
  Bit(7)->setFocus();
  QTest::keyClick(Bit(7), Qt::Key_Space);
  EXPECT_EQ(TextOf(kDecimal), "-121");
  EXPECT_EQ(GridState(), "10000111");
  QTest::keyClick(Bit(7), Qt::Key_Left);
  EXPECT_EQ(QApplication::focusWidget(), Bit(7));
  QTest::keyClick(Bit(7), Qt::Key_Right);
  EXPECT_EQ(QApplication::focusWidget(), Bit(6));
  EXPECT_EQ(grid.CurrentBit(), 6);
  QTest::keyClick(Bit(6), Qt::Key_Space);
  EXPECT_EQ(TextOf(kHexadecimal), "C7");

  Choose(1031, 3);
  ASSERT_TRUE(WaitFor([&] { return grid.Bits() == 64; }));
  Bit(40)->setFocus();
  QTest::keyClick(Bit(40), Qt::Key_Down);
  EXPECT_EQ(QApplication::focusWidget(), Bit(8));
  QTest::keyClick(Bit(8), Qt::Key_Up);
  EXPECT_EQ(QApplication::focusWidget(), Bit(40));
}

TEST_F(DisplayTest, GridComesAfterTheButtonsInTheTabOrder) {
  Open();
  ShowGrid();
  auto* pick = qobject_cast<QWidget*>(window_->Control(1026));
  // (width index, the bit Tab reaches): one stop for the whole grid, also after the
  // width went down and up again.
  for (const auto& [widthIndex, stop] : {std::pair{2, 31}, {3, 31}, {0, 7}, {3, 7}}) {
    SCOPED_TRACE(widthIndex);
    Choose(1031, widthIndex);
    const int bits = WidthBits(widthIndex);
    ASSERT_TRUE(WaitFor([&] { return window_->BitGrid()->Bits() == bits; }));
    pick->setFocus();
    QTest::keyClick(pick, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Bit(stop));
    QTest::keyClick(Bit(stop), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window_->Control(1031));
  }
}

TEST_F(DisplayTest, ABitsAccessibleToggleFlipsTheValue) {
  Open();
  Choose(1031, 0);
  Type(kDecimal, "5");
  ShowGrid();
  QAccessibleInterface* bit = QAccessible::queryAccessibleInterface(Bit(1));
  ASSERT_NE(bit, nullptr);
  ASSERT_NE(bit->actionInterface(), nullptr);
  bit->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_EQ(TextOf(kDecimal), "7");
  EXPECT_TRUE(WaitFor([&] { return GridState() == "00000111"; })) << GridState().toStdString();
  Bit(0)->setChecked(false);  // any change of a bit's state is a flip
  EXPECT_EQ(TextOf(kDecimal), "6");
  EXPECT_TRUE(WaitFor([&] { return GridState() == "00000110"; })) << GridState().toStdString();
}

TEST_F(DisplayTest, MenuItemShowsTheGridAndTheChoiceIsSaved) {
  CConverterDlg& window = Open();
  const QList<QAction*> actions = window.WindowMenu()->actions();
  const auto grid = std::find_if(actions.begin(), actions.end(), [](QAction* a) { return a->text() == "Bit &Grid"; });
  ASSERT_NE(grid, actions.end());
  ASSERT_NE(grid + 1, actions.end());
  EXPECT_EQ((*(grid + 1))->text(), "&Float View");
  EXPECT_TRUE((*grid)->isCheckable());
  EXPECT_FALSE((*grid)->isChecked());
  EXPECT_EQ(window.BitGrid(), nullptr) << "a hidden grid is not even built";
  const int heightBefore = window.height();
  (*grid)->trigger();
  EXPECT_TRUE(window.BitGridShown());
  ASSERT_NE(window.BitGrid(), nullptr);
  EXPECT_TRUE(window.BitGrid()->isVisible());
  const int grown = window.height() - heightBefore;
  const int spacing = window.layout()->spacing();
  EXPECT_EQ(grown, window.BitGrid()->height() + std::max(spacing, 0)) << "the grid's height and one gap, no more";
  window.SetBitGridShown(false);
  EXPECT_EQ(window.height(), heightBefore) << "hiding gives the height back";
  window.SetBitGridShown(true);
  Close();
  EXPECT_EQ(ReadSetting("BitGrid"), 1);

  // (saved value, shown after start)
  for (const auto& [saved, shown] : {std::pair{1, true}, {0, false}, {2, false}, {-1, false}}) {
    SCOPED_TRACE(saved);
    WriteSetting("BitGrid", saved);
    CConverterDlg& again = Open();
    EXPECT_EQ(again.BitGridShown(), shown);
    EXPECT_EQ(again.BitGridAction()->isChecked(), shown);
    EXPECT_EQ(again.BitGrid() != nullptr && again.BitGrid()->isVisible(), shown);
    Close();
    EXPECT_EQ(ReadSetting("BitGrid"), shown ? 1 : 0);
  }
}

TEST_F(DisplayTest, TooltipsOnEveryVisibleControl) {
  CConverterDlg& window = Open();
  ShowGrid();
  int checked = 0;
  for (QWidget* w : window.findChildren<QWidget*>()) {
    const bool control =
        qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QLineEdit*>(w);
    if (!control || !w->isVisible()) continue;
    ++checked;
    EXPECT_FALSE(w->toolTip().isEmpty()) << w->objectName().toStdString() << " " << w->accessibleName().toStdString();
  }
  EXPECT_EQ(checked, 4 + 4 + 2 + 6 + 32) << "rows, row bases, width and sign, buttons, bits";

  auto tip = [&](int id) { return window.Control(id)->toolTip(); };
  EXPECT_EQ(tip(1027), "Shift right by one bit: a 0 comes in at the top. Alt+S");
  EXPECT_TRUE(tip(1031).contains("Alt+8, Alt+1, Alt+3, Alt+6"));
  EXPECT_EQ(Bit(5)->toolTip(), "Bit 5: click or Space to flip");
  const std::array<const char*, 4> keys{"Alt+B", "Alt+O", "Alt+D", "Alt+H"};
  for (int base = 0; base < kBaseCount; ++base) {
    EXPECT_TRUE(FieldOf(base)->toolTip().startsWith(kBaseNames[static_cast<std::size_t>(base)])) << base;
    EXPECT_TRUE(FieldOf(base)->toolTip().contains(keys[static_cast<std::size_t>(base)])) << base;
    EXPECT_TRUE(FieldOf(base)->toolTip().contains("paste")) << base;
  }
  // The tooltip moves with the base when rows swap.
  Choose(1009, kHexadecimal);
  EXPECT_TRUE(window.Field(0)->toolTip().contains("Alt+H"));
  EXPECT_TRUE(window.Field(3)->toolTip().contains("Alt+B"));
}

TEST_F(DisplayTest, DigitsUseTheFixedFontAndSixtyFourBinaryDigitsFit) {
  CConverterDlg& window = Open();
  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  for (int row = 0; row < 4; ++row) {
    EXPECT_EQ(window.Field(row)->font().family(), fixed.family());
    EXPECT_EQ(window.Field(row)->font().pointSizeF(), window.font().pointSizeF());
  }
  EXPECT_EQ(qobject_cast<QWidget*>(window.Control(1009))->font().family(), window.font().family());
  EXPECT_EQ(qobject_cast<QWidget*>(window.Control(1027))->font().family(), window.font().family());

  Choose(1031, 3);
  Type(kDecimal, "-1");
  CDigitEdit* binary = FieldOf(kBinary);
  const auto caret = [&binary] { return binary->inputMethodQuery(Qt::ImCursorRectangle).toRect(); };
  ASSERT_EQ(binary->text().size(), 64);
  binary->setCursorPosition(0);
  const int home = caret().center().x();
  binary->setCursorPosition(64);
  const int end = caret().center().x();
  // A text wider than the field scrolls, and the caret then moves less than the text's width.
  EXPECT_GE(end - home, binary->fontMetrics().horizontalAdvance(binary->text()));
  EXPECT_LE(caret().right(), binary->contentsRect().right());

  // Grouped (saved as GroupDigits), the window widens so that the 15 gaps fit too.
  Close();
  WriteSetting("GroupDigits", 1);
  Open();
  EXPECT_TRUE(window_->GroupDigits());
  Choose(1031, 3);
  Type(kDecimal, "-1");
  binary = FieldOf(kBinary);
  binary->setCursorPosition(0);
  const int groupedHome = caret().center().x();
  binary->setCursorPosition(64);
  EXPECT_GE(caret().center().x() - groupedHome,
            binary->fontMetrics().horizontalAdvance(binary->text()) + 15 * binary->GroupGap() - 15);
  EXPECT_LE(caret().right(), binary->contentsRect().right());
}

TEST_F(DisplayTest, PositionIsSavedAndRestoredWhenOnAScreen) {
  CConverterDlg& first = Open();
  const QPoint centred = first.pos();
  first.move(30, 40);
  Close();
  EXPECT_EQ(ReadSetting("X"), 30);
  EXPECT_EQ(ReadSetting("Y"), 40);
  EXPECT_EQ(Open().pos(), QPoint(30, 40));
  Close();

  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  // (saved X and Y, where the window comes up)
  const std::pair<QPoint, QPoint> cases[] = {
      {{12, 34}, {12, 34}},
      {screen.bottomRight(), screen.bottomRight()},
      {screen.bottomRight() + QPoint(1, 1), centred},
      {{-5000, 20}, centred},
      {{20, 100000}, centred},
  };
  for (const auto& [saved, expected] : cases) {
    SCOPED_TRACE(QString("%1,%2").arg(saved.x()).arg(saved.y()).toStdString());
    WriteSetting("X", saved.x());
    WriteSetting("Y", saved.y());
    EXPECT_EQ(Open().pos(), expected);
    Close();
  }

  // Where the compositor places windows, the saved point is neither used nor overwritten.
  WriteSetting("X", 12);
  WriteSetting("Y", 34);
  CConverterDlg& onWayland = Open(true, QStringLiteral("wayland"));
  EXPECT_EQ(onWayland.pos(), centred);
  onWayland.move(50, 60);
  Close();
  EXPECT_EQ(ReadSetting("X"), 12);
  EXPECT_EQ(ReadSetting("Y"), 34);
}

}  // namespace
}  // namespace radixpad::test
