// The Options command: the sheet, the General page and what reaches the settings file,
// the start-up entry and the common library after OK.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include "general_page.h"
#include "global_key.h"
#include "held_settings_lock.h"
#include "key_field.h"
#include "look_page.h"
#include "options_fixture.h"
#include "save_failures.h"
#include "startup_entry.h"

namespace radixpad::test {
namespace {

CGeneralPage* General(COptionsSheet& sheet) { return qobject_cast<CGeneralPage*>(sheet.Tabs()->widget(0)); }
CUIPage* Look(COptionsSheet& sheet) { return qobject_cast<CUIPage*>(sheet.Tabs()->widget(1)); }
void SwitchTo(COptionsSheet& sheet, int index) { sheet.Tabs()->tabBar()->setCurrentIndex(index); }
void ClickOk(COptionsSheet& sheet) { sheet.Buttons()->button(QDialogButtonBox::Ok)->click(); }

struct Item {
  QString label;
  bool checked;
  bool operator==(const Item&) const = default;
};
void PrintTo(const Item& item, std::ostream* os) {
  *os << (item.checked ? "[x] " : "[ ] ") << item.label.toStdString();
}

std::vector<Item> ItemsOf(const QListWidget* list) {
  std::vector<Item> items;
  items.reserve(static_cast<std::size_t>(list->count()));
  for (int i = 0; i < list->count(); ++i) {
    items.push_back({list->item(i)->text(), list->item(i)->checkState() == Qt::Checked});
  }
  return items;
}

void SetCheck(QListWidget* list, int row, bool on) { list->item(row)->setCheckState(on ? Qt::Checked : Qt::Unchecked); }

QString ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

class OptionsSheetTest : public OptionsTest {
 protected:
  void WriteDefaults(const QByteArray& text) {
    QFile file(DefaultsFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
  }
  std::vector<RecordedSendMsg> BehaviourCalls() const {
    std::vector<RecordedSendMsg> calls;
    for (const RecordedSendMsg& call : Calls()) {
      if (call.code >= 50 && call.code <= 52) calls.push_back(call);
    }
    return calls;
  }
};

TEST_F(OptionsSheetTest, SheetHasCaptionTwoPagesAndOnlyOkCancel) {
  Open();
  RunOptions([&](COptionsSheet& sheet) {
    EXPECT_EQ(sheet.windowTitle(), "Options");
    EXPECT_TRUE(sheet.isModal());
    EXPECT_FALSE(sheet.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(sheet.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_EQ(sheet.parentWidget(), window_.get());
    ASSERT_EQ(sheet.Tabs()->count(), 2);
    EXPECT_EQ(sheet.Tabs()->tabText(0), "General");
    EXPECT_EQ(sheet.Tabs()->tabText(1), "Look");
    EXPECT_EQ(sheet.Buttons()->buttons().size(), 2);
    EXPECT_NE(sheet.Buttons()->button(QDialogButtonBox::Ok), nullptr);
    EXPECT_NE(sheet.Buttons()->button(QDialogButtonBox::Cancel), nullptr);
    EXPECT_EQ(General(sheet)->Control(1017), General(sheet)->CheckList());
    EXPECT_EQ(General(sheet)->Control(1020), General(sheet)->AutoCopyList());
    EXPECT_EQ(sheet.Tabs()->currentIndex(), 0);
  });
}

// With the shipped texts: every item and label of both pages has its text, and no two
// controls of a page, nor a page and the sheet's buttons, answer the same Alt key.
TEST_F(OptionsSheetTest, ShippedTextsFillThePagesAndEveryMnemonicIsItsOwn) {
  Open();
  RunOptions([&](COptionsSheet& sheet) {
    for (const QListWidget* list : {General(sheet)->CheckList()}) {
      ASSERT_GT(list->count(), 0);
      for (int i = 0; i < list->count(); ++i) EXPECT_FALSE(list->item(i)->text().isEmpty()) << i;
    }
    QStringList buttons;
    for (QAbstractButton* button : sheet.Buttons()->buttons()) buttons << button->text();
    for (int page = 0; page < sheet.Tabs()->count(); ++page) {
      SCOPED_TRACE(sheet.Tabs()->tabText(page).toStdString());
      SwitchTo(sheet, page);  // a page takes its texts when first shown
      const QStringList texts = ControlTexts(sheet.Tabs()->widget(page));
      EXPECT_FALSE(texts.filter("&").isEmpty());
      EXPECT_EQ(MnemonicClashes(texts + buttons).join("; ").toStdString(), "");
    }
  });
}

TEST_F(OptionsSheetTest, MessageBoxesHaveNoMinimiseOrMaximise) {
  OptionsDialogs::messageShower() = {};  // the real box
  Qt::WindowFlags flags;
  QString text;
  bool seen = false;
  MessageBoxAnswerer answerer([&](const QMessageBox& box) {
    seen = true;
    flags = box.windowFlags();
    text = box.text();
  });
  ShowMessage(nullptr, "A message", QMessageBox::Critical);
  answerer.Stop();
  ASSERT_TRUE(seen);
  EXPECT_EQ(text, "A message");
  EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
}

TEST_F(OptionsSheetTest, StaysAboveAnAlwaysOnTopMainWindow) {
  Open();
  window_->setWindowFlag(Qt::WindowStaysOnTopHint);
  window_->show();
  RunOptions([&](COptionsSheet& sheet) { EXPECT_TRUE(sheet.windowFlags().testFlag(Qt::WindowStaysOnTopHint)); });
}

TEST_F(OptionsSheetTest, ChecksComeFromUserFileElseDefaultsFile) {
  // Defaults file: AlwaysOnTop 0, MinimizeToSystemTray 1, SnapToDesktopSide 1.
  WriteBehaviour("AlwaysOnTop", 1);
  WriteBehaviour("MinimizeToSystemTray", -1);  // -1 is "not set"
  WriteBehaviour("SnapToDesktopSide", 0);
  Open();
  RunOptions([&](COptionsSheet& sheet) {
    EXPECT_EQ(ItemsOf(General(sheet)->CheckList()), (std::vector<Item>{{"Always on top", true},
                                                                       {"Minimize to the system tray", true},
                                                                       {"Snap to the sides of the desktop", false},
                                                                       {"Run when I log in", false}}));
  });
}

TEST_F(OptionsSheetTest, ThreeItemsAndEntryUntouchedWhenRunAtLoginNotAllowed) {
  for (const QByteArray& defaults : {QByteArray("[General]\nAllowRunOnStartup=0\n"), QByteArray()}) {
    SCOPED_TRACE(defaults.toStdString());
    WriteDefaults(defaults);
    Open();
    ASSERT_EQ(CreateStartupShortcut("/usr/bin/true", StartupEntry(), "elsewhere"), kStartupEntryOk);
    RunOptions([&](COptionsSheet& sheet) {
      EXPECT_EQ(General(sheet)->CheckList()->count(), 3);
      ClickOk(sheet);
    });
    EXPECT_TRUE(QFile::exists(StartupEntry()));
    EXPECT_TRUE(ReadFile(StartupEntry()).contains("Name=elsewhere"));
    window_.reset();
  }
}

TEST_F(OptionsSheetTest, OkWithoutChangeWritesKeysAndSendsBehaviours) {
  CConverterDlg& window = Open();
  RunOptions([&](COptionsSheet& sheet) { ClickOk(sheet); });
  EXPECT_EQ(ReadBehaviour("AlwaysOnTop"), 0);
  EXPECT_EQ(ReadBehaviour("MinimizeToSystemTray"), 1);
  EXPECT_EQ(ReadBehaviour("SnapToDesktopSide"), 1);
  const auto calls = BehaviourCalls();
  ASSERT_EQ(calls.size(), 3u);
  const intptr_t self = CCommonLib::WindowArg(&window);
  // Always on top, snap, minimise to tray: in that order, with the window object.
  const std::pair<intptr_t, intptr_t> expected[] = {{50, 0}, {51, 1}, {52, 1}};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(calls[i].code, expected[i].first);
    EXPECT_EQ(calls[i].a, self);
    EXPECT_EQ(calls[i].b, expected[i].second) << "code " << calls[i].code;
  }
  EXPECT_TRUE(look_.SubCodesTo(&window).empty()) << "the Look page was never shown";
}

TEST_F(OptionsSheetTest, ChangedChecksAndAutoCopyReachFileAndLibrary) {
  CConverterDlg& window = Open();
  window.SetAutoCopyMode(2);
  RunOptions([&](COptionsSheet& sheet) {
    CGeneralPage* page = General(sheet);
    EXPECT_EQ(page->AutoCopyList()->currentIndex(), 2);
    EXPECT_EQ(page->AutoCopyList()->count(), 5);
    EXPECT_FALSE(page->GroupDigitsCheck()->isChecked()) << "off by default";
    page->GroupDigitsCheck()->setChecked(true);
    page->AutoCopyList()->setCurrentIndex(4);
    SetCheck(page->CheckList(), 0, true);
    SetCheck(page->CheckList(), 1, false);
    ClickOk(sheet);
  });
  EXPECT_EQ(window.AutoCopyMode(), 4);
  EXPECT_TRUE(window.GroupDigits());
  EXPECT_EQ(GetIniInt("General", "GroupDigits", -1, SettingsFile()), 1) << "saved by the OK";
  EXPECT_EQ(ReadBehaviour("AlwaysOnTop"), 1);
  EXPECT_EQ(ReadBehaviour("MinimizeToSystemTray"), 0);
  const auto calls = BehaviourCalls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].b, 1);
  EXPECT_EQ(calls[2].b, 0);
  RunOptions([&](COptionsSheet& sheet) {
    EXPECT_TRUE(General(sheet)->GroupDigitsCheck()->isChecked()) << "the window's state is shown";
    General(sheet)->GroupDigitsCheck()->setChecked(false);
    ClickOk(sheet);
  });
  EXPECT_FALSE(window.GroupDigits());
  window.SaveSettings();
  EXPECT_EQ(GetIniInt("General", "GroupDigits", -1, SettingsFile()), 0);
  EXPECT_EQ(GetIniInt("General", "AutoCopy", -1, SettingsFile()), 4);
}

// The General page's three keys are one save: with another program in the middle of a
// save, OK waits about two seconds once and says once that they were not saved.
TEST_F(OptionsSheetTest, AnOkThatCannotSaveSaysSoOnce) {
  Open();
  const SaveFailures told;
  std::unique_ptr<HeldSettingsLock> held;
  qint64 waited = 0;
  RunOptions([&](COptionsSheet& sheet) {
    SetCheck(General(sheet)->CheckList(), 0, true);
    held = std::make_unique<HeldSettingsLock>(SettingsFile());
    QElapsedTimer timer;
    timer.start();
    ClickOk(sheet);
    waited = timer.elapsed();
  });
  ASSERT_TRUE(held && held->Held());
  EXPECT_EQ(told.texts,
            QStringList{"Radixpad could not save its settings: another program kept " + SettingsFile() + " busy."});
  EXPECT_LT(waited, kIniWriteWaitMs + 2000);
  EXPECT_EQ(ReadBehaviour("AlwaysOnTop"), -99);
  const auto calls = BehaviourCalls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].b, 1) << "the choice still counts for this session";
}

TEST_F(OptionsSheetTest, CancelChangesNothing) {
  CConverterDlg& window = Open();
  RunOptions([&](COptionsSheet& sheet) {
    General(sheet)->AutoCopyList()->setCurrentIndex(3);
    SetCheck(General(sheet)->CheckList(), 0, true);
    SetCheck(General(sheet)->CheckList(), 3, true);
    SwitchTo(sheet, 1);
    Look(sheet)->ShowImageCheck()->setChecked(false);
    sheet.Buttons()->button(QDialogButtonBox::Cancel)->click();
  });
  EXPECT_EQ(window.AutoCopyMode(), 0);
  EXPECT_EQ(ReadBehaviour("AlwaysOnTop"), -99);
  EXPECT_FALSE(QFile::exists(StartupEntry()));
  EXPECT_TRUE(BehaviourCalls().empty());
  EXPECT_TRUE(look_.SubCodesTo(&window).empty());
}

// The show/hide key: a key pressed in the field is tried at once and its state shown in
// words; Cancel puts the program's key back, OK stores the new one, and a store that fails
// says so. No X server and no session bus here: a usable key ends at the desktop's settings.
TEST_F(OptionsSheetTest, ShowHideKeyIsTriedAtOnceStoredOnOkAndPutBackOnCancel) {
  const ScopedVariable noBus("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + config_.filePath("no-bus"));
  WriteBehaviour("AlwaysOnTop", 0);  // the settings file exists
  ASSERT_TRUE(WriteIniString("General", "ShowHideKey", "Ctrl+Alt+J", SettingsFile()));
  CGlobalKey key({QString(), QString(), QStringLiteral("offscreen")}, {});
  key.SetKey(KeyFromText(QStringLiteral("Ctrl+Alt+J")));
  CConverterDlg& window = Open();
  window.onOptions = [&key](CConverterDlg& w) { RunOptionsSheet(w, &key); };
  const auto state = [](COptionsSheet& sheet) {
    return General(sheet)->ShowHideKeyState()->isVisibleTo(General(sheet)) ? General(sheet)->ShowHideKeyState()->text()
                                                                           : QString();
  };
  const struct {
    const char* what;
    std::function<void(CKeyField*, QPushButton*)> act;
    const char* stateSays;  // "" for no state shown
    bool ok;
    const char* liveKey;    // the program's key after the sheet
    const char* storedKey;  // ShowHideKey afterwards
  } cases[] = {
      {"a key, then Cancel",
       [](CKeyField* f, QPushButton*) { QTest::keyClick(f, Qt::Key_K, Qt::ControlModifier | Qt::AltModifier); },
       "bind a key to this command:\nradixpad --toggle", false, "Ctrl+Alt+J", "Ctrl+Alt+J"},
      {"a typing key alone", [](CKeyField* f, QPushButton*) { QTest::keyClick(f, Qt::Key_A); },
       "Hold Ctrl, Alt or Super", true, "A", "A"},
      {"Clear", [](CKeyField*, QPushButton* clear) { clear->click(); }, "", true, "", ""},
      {"Esc is no key", [](CKeyField* f, QPushButton*) { QTest::keyClick(f, Qt::Key_Escape); }, "", false, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    RunOptions([&](COptionsSheet& sheet) {
      CGeneralPage* page = General(sheet);
      EXPECT_EQ(page->ShowHideKeyField()->text(), KeyToDisplayText(key.Key())) << "the program's key is shown";
      c.act(page->ShowHideKeyField(), page->ShowHideKeyClearButton());
      const QString says = state(sheet);
      EXPECT_EQ(says.isEmpty(), *c.stateSays == '\0') << says.toStdString();
      EXPECT_TRUE(says.contains(QString::fromLatin1(c.stateSays).replace("\\n", "\n"))) << says.toStdString();
      if (c.ok) ClickOk(sheet);
      if (sheet.isVisible()) sheet.reject();
    });
    EXPECT_EQ(KeyToText(key.Key()), c.liveKey);
    EXPECT_EQ(GetIniString("General", "ShowHideKey", "missing", SettingsFile()), c.storedKey);
  }

  // A settings file that cannot be written: the key works for this run, and the page's
  // one save says it was not made.
  const SaveFailures told;
  QFile::setPermissions(SettingsFile(), QFileDevice::ReadOwner);
  RunOptions([&](COptionsSheet& sheet) {
    QTest::keyClick(General(sheet)->ShowHideKeyField(), Qt::Key_K, Qt::ControlModifier | Qt::AltModifier);
    ClickOk(sheet);
  });
  QFile::setPermissions(SettingsFile(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  EXPECT_EQ(KeyToText(key.Key()), "Ctrl+Alt+K");
  EXPECT_EQ(GetIniString("General", "ShowHideKey", "missing", SettingsFile()), "");
  ASSERT_EQ(told.texts.size(), 1) << told.texts.join("\n---\n").toStdString();
  EXPECT_TRUE(told.texts[0].contains(SettingsFile())) << told.texts[0].toStdString();
}

TEST_F(OptionsSheetTest, RunAtLoginCreatesAndDeletesTheEntryOnlyOnChange) {
  Open();
  RunOptions([&](COptionsSheet& sheet) {
    SetCheck(General(sheet)->CheckList(), 3, true);
    ClickOk(sheet);
  });
  const QString entry = ReadFile(StartupEntry());
  const QString exec = "Exec=" + QuoteExecArgument(QCoreApplication::applicationFilePath()) + "\n";
  EXPECT_TRUE(entry.contains(exec)) << entry.toStdString();
  EXPECT_TRUE(entry.contains("Comment=Quillory Radixpad\n"));

  // Ticked again without a change: a file replaced meanwhile stays as it is.
  ASSERT_EQ(CreateStartupShortcut("/usr/bin/true", StartupEntry(), "someone else"), kStartupEntryOk);
  RunOptions([&](COptionsSheet& sheet) {
    EXPECT_TRUE(ItemsOf(General(sheet)->CheckList())[3].checked);
    ClickOk(sheet);
  });
  EXPECT_TRUE(ReadFile(StartupEntry()).contains("Name=someone else"));

  // Cleared: whatever lies at the path goes.
  RunOptions([&](COptionsSheet& sheet) {
    SetCheck(General(sheet)->CheckList(), 3, false);
    ClickOk(sheet);
  });
  EXPECT_FALSE(QFile::exists(StartupEntry()));
}

TEST_F(OptionsSheetTest, TickingWhenTheEntryAppearedMeanwhileRewritesIt) {
  Open();
  RunOptions([&](COptionsSheet& sheet) {
    ASSERT_FALSE(ItemsOf(General(sheet)->CheckList())[3].checked);
    ASSERT_EQ(CreateStartupShortcut("/usr/bin/true", StartupEntry(), "someone else"), kStartupEntryOk);
    SetCheck(General(sheet)->CheckList(), 3, true);
    ClickOk(sheet);
  });
  EXPECT_TRUE(ReadFile(StartupEntry()).contains("Name=Quillory Radixpad"));
}

TEST_F(OptionsSheetTest, LookShownForwardsTheWholeLookAndPurgesCopies) {
  look_.background = 0x00112233;
  look_.text = 0x00445566;
  look_.showImage = 0;
  look_.displayMethod = 5;
  look_.imagePath = "/pictures/sea.jpg";
  CConverterDlg& window = Open();
  QDir().mkpath(SettingsFolder());
  for (const char* name : {"SEA.JPG.BMP", "other.bmp", "keep.txt"}) {
    QFile(SettingsFolder() + "/" + name).open(QIODevice::WriteOnly);
  }

  RunOptions([&](COptionsSheet& sheet) {
    SwitchTo(sheet, 1);
    CUIPage* look = Look(sheet);
    EXPECT_EQ(look->PathField()->text(), "/pictures/sea.jpg");
    EXPECT_EQ(look->DisplayMethodList()->currentText(), "Bottom-Left");
    ClickOk(sheet);
  });
  // Queried in this order, then set in this order.
  EXPECT_EQ(look_.SubCodesTo(&window, false), (std::vector<intptr_t>{111, 110, 112, 113, 114, 60, 61, 63, 64, 62}));
  EXPECT_EQ(look_.Find(&window, 60)->value, 0x00112233);
  EXPECT_EQ(look_.Find(&window, 61)->value, 0x00445566);
  EXPECT_EQ(look_.Find(&window, 63)->value, 5);
  EXPECT_EQ(look_.Find(&window, 64)->path, "/pictures/sea.jpg");
  EXPECT_EQ(look_.Find(&window, 62)->value, 0);
  EXPECT_TRUE(QFile::exists(SettingsFolder() + "/SEA.JPG.BMP"));
  EXPECT_FALSE(QFile::exists(SettingsFolder() + "/other.bmp"));
  EXPECT_TRUE(QFile::exists(SettingsFolder() + "/keep.txt"));
  // Both pages were shown.
  EXPECT_EQ(BehaviourCalls().size(), 3u);
}

TEST_F(OptionsSheetTest, LookShownInTheTemporaryFolderFallbackDeletesNoBitmap) {
  Open();
  // The settings folder is the temporary folder, as when no folder of its own was found.
  QDir().mkpath(SettingsFolder());
  {
    const ScopedVariable temp("TMPDIR", SettingsFolder());
    QFile(SettingsFolder() + "/someone-elses.bmp").open(QIODevice::WriteOnly);
    RunOptions([&](COptionsSheet& sheet) {
      SwitchTo(sheet, 1);
      ClickOk(sheet);
    });
  }
  EXPECT_TRUE(QFile::exists(SettingsFolder() + "/someone-elses.bmp"));
  EXPECT_EQ(look_.SubCodesTo(window_.get()).size(), 5u) << "the look itself was applied";
}

TEST_F(OptionsSheetTest, ReopensOnLastPageAndNeverShownGeneralSendsNothing) {
  CConverterDlg& window = Open();
  window.SetAutoCopyMode(1);
  RunOptions([&](COptionsSheet& sheet) {
    SwitchTo(sheet, 1);
    sheet.Buttons()->button(QDialogButtonBox::Cancel)->click();
  });
  EXPECT_EQ(LastOptionsPage(), 1);
  look_.calls.clear();
  RunOptions([&](COptionsSheet& sheet) {
    EXPECT_EQ(sheet.Tabs()->currentIndex(), 1);
    EXPECT_FALSE(General(sheet)->WasShown());
    EXPECT_EQ(General(sheet)->CheckList()->count(), 0) << "General initialises only when shown";
    ClickOk(sheet);
  });
  EXPECT_TRUE(BehaviourCalls().empty());
  EXPECT_EQ(ReadBehaviour("AlwaysOnTop"), -99);
  EXPECT_EQ(window.AutoCopyMode(), 1);
  EXPECT_EQ(look_.SubCodesTo(&window), (std::vector<intptr_t>{60, 61, 63, 64, 62}));
}

TEST_F(OptionsSheetTest, LookWithCheckedEmptyPathKeepsThePage) {
  Open();
  const QString warning = GetIniString("Error", "1001", "", program_.filePath("String.dat"));
  ASSERT_FALSE(warning.isEmpty());
  RunOptions([&](COptionsSheet& sheet) {
    SwitchTo(sheet, 1);
    CUIPage* look = Look(sheet);
    look->ShowImageCheck()->click();
    ASSERT_TRUE(look->ShowImageCheck()->isChecked());
    look->PathField()->setText("   ");

    SwitchTo(sheet, 0);
    EXPECT_EQ(sheet.Tabs()->currentIndex(), 1);
    ASSERT_EQ(answers_.messages.size(), 1u);
    EXPECT_EQ(answers_.messages[0].text, warning);
    EXPECT_EQ(answers_.messages[0].icon, QMessageBox::Warning);
    EXPECT_EQ(look->PathField()->text(), "") << "the trimmed text is written back";

    ClickOk(sheet);
    EXPECT_TRUE(sheet.isVisible()) << "OK is refused on the Look page too";
    EXPECT_EQ(answers_.messages.size(), 2u);

    look->ShowImageCheck()->click();
    look->PathField()->setText("  /not/an/image  ");
    SwitchTo(sheet, 0);
    EXPECT_EQ(sheet.Tabs()->currentIndex(), 0) << "an unchecked box accepts any path";
    EXPECT_EQ(LastOptionsPage(), 0);
    ClickOk(sheet);
  });
  EXPECT_EQ(look_.Find(window_.get(), 64)->path, "/not/an/image");
  EXPECT_EQ(look_.Find(window_.get(), 62)->value, 0);
}

}  // namespace
}  // namespace radixpad::test
