// Colour values and the snap rule, as tables.
#include "look.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "snap.h"
#include "test_support.h"

namespace radixpad::commonlib {
namespace {

TEST(ColorValueTest, ConvertsBetweenBbggrrAndQColor) {
  struct Case {
    uint32_t ref;
    QColor color;
  };
  const Case cases[] = {
      {0x00000000u, QColor(0, 0, 0)},   {0x00FFFFFFu, QColor(255, 255, 255)}, {0x000000FFu, QColor(255, 0, 0)},
      {0x0000FF00u, QColor(0, 255, 0)}, {0x00FF0000u, QColor(0, 0, 255)},     {0x00336699u, QColor(0x99, 0x66, 0x33)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ref);
    EXPECT_EQ(ColorFromRef(c.ref), c.color);
    EXPECT_EQ(RefFromColor(c.color), c.ref);
  }
}

TEST(ColorValueTest, ArgumentKeepsNotSetAndDropsTheHighByte) {
  EXPECT_EQ(ColorArgument(-1), kColorNotSet);
  EXPECT_EQ(ColorArgument(static_cast<intptr_t>(0xFFFFFFFFu)), kColorNotSet);
  EXPECT_EQ(ColorArgument(0x00123456), 0x00123456u);
  EXPECT_EQ(ColorArgument(0x02123456), 0x00123456u);  // a palette-relative value: its RGB
}

// What is saved is what the next start reads; black (0) is a colour like any other.
TEST(ColorValueTest, SavedColoursComeBackAfterARestart) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString file = folder.filePath("QyRadixpad.ini");
  struct Case {
    uint32_t background;
    uint32_t text;
  };
  const Case cases[] = {
      {0x00000000u, 0x00000000u},  {0x00000000u, 0x00FFFFFFu},  {0x00FFFFFFu, 0x00000000u},
      {kColorNotSet, 0x00000000u}, {0x00000000u, kColorNotSet}, {kColorNotSet, kColorNotSet},
      {0x00000001u, 0x00010000u},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.background << " / " << c.text);
    LookValues look;
    look.background = c.background;
    look.text = c.text;
    SaveLook(look, file);
    const LookValues read = ReadSavedLook(file);
    EXPECT_EQ(read.background, c.background);
    EXPECT_EQ(read.text, c.text);
  }
}

TEST(SnapTest, LandsOnTheSideWithinSixteenPixels) {
  const QRect area(0, 0, 800, 570);  // a panel below
  struct Case {
    const char* name;
    QPoint at;
    QPoint expected;
  };
  const QSize size(100, 80);
  const Case cases[] = {
      {"far from every side", {200, 200}, {200, 200}},
      {"16 from the left", {16, 200}, {0, 200}},
      {"17 from the left", {17, 200}, {17, 200}},
      {"beyond the left by 10", {-10, 200}, {0, 200}},
      {"beyond the left by 17", {-17, 200}, {-17, 200}},
      {"16 from the right", {800 - 100 - 16, 200}, {700, 200}},
      {"17 from the right", {800 - 100 - 17, 200}, {683, 200}},
      {"near the top", {300, 9}, {300, 0}},
      {"near the bottom of the available area", {300, 570 - 80 - 12}, {300, 490}},
      {"near a corner", {5, 570 - 80 + 3}, {0, 490}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SnapFramePosition(QRect(c.at, size), area), c.expected);
  }
}

TEST(SnapTest, OffsetAreaAndWindowWiderThanTheArea) {
  const QRect area(800, 30, 1024, 738);  // a second screen, a panel on top
  EXPECT_EQ(SnapFramePosition(QRect(QPoint(810, 40), QSize(200, 100)), area), QPoint(800, 30));
  EXPECT_EQ(SnapFramePosition(QRect(QPoint(790, 500), QSize(200, 100)), area), QPoint(800, 500));
  // Both sides close: the left one wins.
  EXPECT_EQ(SnapFramePosition(QRect(QPoint(805, 300), QSize(1020, 100)), area), QPoint(800, 300));
}

}  // namespace
}  // namespace radixpad::commonlib
