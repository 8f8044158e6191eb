// Start-up state, the converter settings round trip through QyRadixpad.ini,
// and the auto-copy.
#include <QClipboard>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

#include "held_settings_lock.h"
#include "qy_messages.h"
#include "save_failures.h"
#include "window_fixture.h"

namespace radixpad::test {
namespace {

class SettingsTest : public WindowTest {};

TEST_F(SettingsTest, DefaultLayoutBeforeTheFirstTickAndSavedLayoutAfterIt) {
  WriteSetting("C1", 3);
  WriteSetting("C2", 2);
  WriteSetting("C3", 1);
  WriteSetting("C4", 0);
  CConverterDlg& window = Open(false);
  EXPECT_TRUE(window.StartupTimerActive());
  EXPECT_EQ(RowBases(), "0123") << "the saved layout waits for the timer";
  EXPECT_EQ(window.Converter().Bits(), 32);
  EXPECT_EQ(window.Converter().SignedFlag(), 1);
  ASSERT_TRUE(WaitFor([&] { return !window.StartupTimerActive(); }));
  EXPECT_EQ(RowBases(), "3210");
  EXPECT_EQ(qobject_cast<QLabel*>(window.Control(1013))->text(), "&H");
  EXPECT_EQ(window.Field(0)->accessibleName(), "Hexadecimal");
  // A window that ends before the timer saves back what was saved, not its defaults.
  Close();
  Open(false);
  Close();
  EXPECT_EQ(ReadSetting("C1"), 3);
}

TEST_F(SettingsTest, FirstRunUsesTheDefaults) {
  CConverterDlg& window = Open();
  EXPECT_EQ(RowBases(), "0123");
  EXPECT_EQ(window.Converter().Bits(), 32);
  EXPECT_EQ(window.Converter().SignedFlag(), 1);
  EXPECT_EQ(window.AutoCopyMode(), 0);
  EXPECT_EQ(QApplication::focusWidget(), FieldOf(kBinary));
}

TEST_F(SettingsTest, SavedValuesAreValidatedAsTheyAreApplied) {
  struct Case {
    const char* name;
    std::vector<std::pair<const char*, int>> saved;
    QString rows;
    int bits;
    int signedFlag;
    int autoCopy;
    int focusBase;
  };
  const Case cases[] = {
      {"row_out_of_range_stops_later_rows", {{"C1", 2}, {"C2", 7}, {"C3", 0}, {"C4", 1}}, "2103", 32, 1, 0, 0},
      {"unsigned_64", {{"Signed", 1}, {"Bits", 3}}, "0123", 64, 0, 0, 0},
      {"bad_width_and_sign_ignored", {{"Signed", 2}, {"Bits", 4}}, "0123", 32, 1, 0, 0},
      {"width_one_past_the_end_ignored", {{"Bits", 4}}, "0123", 32, 1, 0, 0},
      {"negative_width_and_sign_ignored", {{"Signed", -1}, {"Bits", -1}}, "0123", 32, 1, 0, 0},
      {"signed_8", {{"Signed", 0}, {"Bits", 0}}, "0123", 8, 1, 0, 0},
      {"auto_copy_out_of_range_is_off", {{"AutoCopy", 5}}, "0123", 32, 1, 0, 0},
      {"auto_copy_negative_is_off", {{"AutoCopy", -1}}, "0123", 32, 1, 0, 0},
      {"auto_copy_hex", {{"AutoCopy", 4}}, "0123", 32, 1, 4, 0},
      {"focus_follows_last_convert",
       {{"LastConvert", 3}, {"C1", 3}, {"C2", 1}, {"C3", 2}, {"C4", 0}},
       "3120",
       32,
       1,
       0,
       3},
      // Missing later rows read their defaults, which swap the first row back.
      {"one_row_saved_alone_is_undone", {{"C1", 3}}, "0123", 32, 1, 0, 0},
      {"last_convert_out_of_range_ignored", {{"LastConvert", 9}}, "0123", 32, 1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(SettingsFile());
    for (const auto& [key, value] : c.saved) WriteSetting(key, value);
    CConverterDlg& window = Open();
    EXPECT_EQ(RowBases(), c.rows);
    EXPECT_EQ(window.Converter().Bits(), c.bits);
    EXPECT_EQ(window.Converter().SignedFlag(), c.signedFlag);
    // The boxes show what is in force, never a blank left by a value they do not hold.
    EXPECT_EQ(Combo(1031)->currentText(), QString("%1 Bits").arg(c.bits));
    EXPECT_EQ(Combo(1020)->currentText(), c.signedFlag != 0 ? "Signed" : "Unsigned");
    EXPECT_EQ(window.AutoCopyMode(), c.autoCopy);
    EXPECT_EQ(window.Converter().LastConverted(), c.focusBase);
    EXPECT_EQ(QApplication::focusWidget(), FieldOf(c.focusBase));
    Close();
  }
}

// Text typed before the start-up tick meets the saved width first, then the saved
// signedness: narrowing cuts the Binary row and its value is then read unsigned.
TEST_F(SettingsTest, TextTypedBeforeTheTickMeetsTheWidthBeforeTheSignedness) {
  struct Case {
    const char* typedDecimal;
    int bits;
    int sign;
    QStringList rows;  // Binary, Octal, Decimal, Hexadecimal afterwards
  };
  const Case cases[] = {
      {"-1", 0, 1, {"11111111", "377", "255", "FF"}},
      {"-1", 1, 1, {"1111111111111111", "177777", "65535", "FFFF"}},
      {"5", 0, 1, {"101", "5", "5", "5"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(QString("%1 at Bits=%2 Signed=%3").arg(c.typedDecimal).arg(c.bits).arg(c.sign).toStdString());
    QFile::remove(SettingsFile());
    WriteSetting("Bits", c.bits);
    WriteSetting("Signed", c.sign);
    CConverterDlg& window = Open(false);
    ASSERT_TRUE(window.StartupTimerActive());
    Type(kDecimal, c.typedDecimal);
    ASSERT_TRUE(WaitFor([&] { return !window.StartupTimerActive(); }));
    EXPECT_EQ((QStringList{TextOf(kBinary), TextOf(kOctal), TextOf(kDecimal), TextOf(kHexadecimal)}), c.rows);
    Close();
  }
}

TEST_F(SettingsTest, RestartBringsBackEverything) {
  CConverterDlg& window = Open();
  Choose(1009, kHexadecimal);
  Choose(1031, 3);
  Choose(1020, 1);
  window.SetAutoCopyMode(3);
  Type(kDecimal, "7");
  Close();
  EXPECT_EQ(ReadSetting("C1"), 3);
  EXPECT_EQ(ReadSetting("C4"), 0);
  EXPECT_EQ(ReadSetting("Bits"), 3);
  EXPECT_EQ(ReadSetting("Signed"), 1);
  EXPECT_EQ(ReadSetting("LastConvert"), kDecimal);
  EXPECT_EQ(ReadSetting("AutoCopy"), 3);

  CConverterDlg& again = Open();
  EXPECT_EQ(RowBases(), "3120");
  EXPECT_EQ(again.Converter().Bits(), 64);
  EXPECT_EQ(again.Converter().SignedFlag(), 0);
  EXPECT_EQ(again.AutoCopyMode(), 3);
  EXPECT_EQ(QApplication::focusWidget(), FieldOf(kDecimal));
}

// Another program in the middle of a save of the same file: opening the options waits
// about two seconds at most, the window goes on answering meanwhile, and the user is told
// once that the settings were not saved.
TEST_F(SettingsTest, ASaveThatMustWaitKeepsTheWindowAnsweringAndIsTold) {
  CConverterDlg& window = Open();
  Choose(1031, 3);
  const SaveFailures told;
  bool optionsOpened = false;
  window.onOptions = [&](CConverterDlg&) { optionsOpened = true; };
  int ticks = 0;
  QTimer ticker;
  ticker.setInterval(50);
  QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
  ticker.start();
  {
    const HeldSettingsLock held(SettingsFile());
    ASSERT_TRUE(held.Held());
    QElapsedTimer timer;
    timer.start();
    window.Command(kCommandOptions);
    const qint64 waited = timer.elapsed();
    EXPECT_GE(waited, kIniWriteWaitMs - 100);
    EXPECT_LT(waited, kIniWriteWaitMs + 2000);
    EXPECT_GT(ticks, 10) << "the window stopped answering";
    EXPECT_TRUE(optionsOpened);
    ASSERT_EQ(told.texts.size(), 1);
    EXPECT_EQ(told.texts[0], "Radixpad could not save its settings: another program kept " + SettingsFile() + " busy.");
    EXPECT_EQ(told.owners[0], &window);
    EXPECT_EQ(ReadSetting("Bits"), -99);
  }
  EXPECT_TRUE(window.SaveSettings());
  EXPECT_EQ(ReadSetting("Bits"), 3);
  EXPECT_EQ(told.texts.size(), 1);
}

// The save as the window ends cannot show a box: it says so on standard error.
TEST_F(SettingsTest, ASaveAtTheEndThatCannotBeMadeIsALineOnStandardError) {
  Open();
  const HeldSettingsLock held(SettingsFile());
  ASSERT_TRUE(held.Held());
  std::FILE* captured = std::tmpfile();
  ASSERT_NE(captured, nullptr);
  std::fflush(stderr);
  const int savedError = ::dup(STDERR_FILENO);
  ::dup2(::fileno(captured), STDERR_FILENO);
  QElapsedTimer timer;
  timer.start();
  Close();
  const qint64 waited = timer.elapsed();
  std::fflush(stderr);
  ::dup2(savedError, STDERR_FILENO);
  ::close(savedError);
  std::rewind(captured);
  char line[1024] = {};
  const bool read = std::fgets(line, sizeof line, captured) != nullptr;
  std::fclose(captured);
  EXPECT_TRUE(read);
  EXPECT_EQ(QString::fromLocal8Bit(line),
            "Radixpad could not save its settings: another program kept " + SettingsFile() + " busy.\n");
  EXPECT_LT(waited, kIniWriteWaitMs + 2000);
}

TEST_F(SettingsTest, OutOfRangeAutoCopyIsSavedAsOff) {
  WriteSetting("AutoCopy", 5);
  Open();
  Close();
  EXPECT_EQ(ReadSetting("AutoCopy"), 0);
}

TEST_F(SettingsTest, AutoCopyPutsTheRowOnTheClipboardWhenActivationIsLost) {
  CConverterDlg& window = Open();
  window.SetAutoCopyMode(4);
  Type(kDecimal, "255");
  QWidget* focused = QApplication::focusWidget();
  // Each step: the state reported, then what the clipboard holds afterwards.
  struct Step {
    Qt::ApplicationState state;
    const char* before;
    const char* after;
  };
  const Step steps[] = {
      {Qt::ApplicationActive, "copied elsewhere", "copied elsewhere"},  // gaining it copies nothing
      {Qt::ApplicationInactive, "before", "FF"},
      {Qt::ApplicationInactive, "again", "again"},  // no second loss without a gain between
      {Qt::ApplicationHidden, "hidden", "hidden"},
      {Qt::ApplicationActive, "between", "between"},
      {Qt::ApplicationSuspended, "z", "FF"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.before);
    QGuiApplication::clipboard()->setText(step.before);
    emit qApp->applicationStateChanged(step.state);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), step.after);
    EXPECT_FALSE(FieldOf(kHexadecimal)->hasSelectedText());
    EXPECT_EQ(QApplication::focusWidget(), focused) << "the copied row takes no focus, so shows no caret";
  }

  // An empty row leaves the clipboard alone; mode 0 copies nothing.
  emit qApp->applicationStateChanged(Qt::ApplicationActive);
  FieldOf(kDecimal)->clear();
  QGuiApplication::clipboard()->setText("kept");
  emit qApp->applicationStateChanged(Qt::ApplicationInactive);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept");
  window.SetAutoCopyMode(0);
  Type(kDecimal, "1");
  emit qApp->applicationStateChanged(Qt::ApplicationActive);
  emit qApp->applicationStateChanged(Qt::ApplicationInactive);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept");
}

}  // namespace
}  // namespace radixpad::test
