#include <gtest/gtest.h>

#include <QFileInfo>

#include "ini_store.h"
#include "localized_texts.h"
#include "program_settings.h"
#include "settings_keys.h"
#include "test_environment.h"

namespace radixpad {
namespace {

const QString kProgramDir = QStringLiteral(RADIXPAD_TEST_PROGRAM_DIR);
const QString kTextFile = kProgramDir + QStringLiteral("/String.dat");
const QString kDefaultsFile = kProgramDir + QStringLiteral("/Default.dat");

TEST(DataFiles, AreBesideTheProgram) {
  EXPECT_TRUE(QFileInfo(kTextFile).isFile()) << kTextFile.toStdString();
  EXPECT_TRUE(QFileInfo(kDefaultsFile).isFile()) << kDefaultsFile.toStdString();
}

TEST(DataFiles, EveryTextKeyHasAText) {
  for (const char* key : keys::kAllTextKeys) {
    const QString text = GetLocalizedText(QString::fromLatin1(key), kTextFile);
    EXPECT_FALSE(text.trimmed().isEmpty()) << key;
  }
  EXPECT_FALSE(GetIniString(sections::kError, keys::kErrorNoImageFile, {}, kTextFile).isEmpty());
}

TEST(DataFiles, MenuItemsHaveOneMnemonicAndTheOptionsCaptionNamesItsItem) {
  for (const char* key : {keys::kMenuOptions, keys::kMenuHelp, keys::kMenuAbout, keys::kMenuRestore, keys::kMenuExit}) {
    const QString text = GetLocalizedText(QString::fromLatin1(key), kTextFile);
    const qsizetype at = text.indexOf(u'&');
    EXPECT_EQ(text.count(u'&'), 1) << key;
    EXPECT_TRUE(at >= 0 && at + 1 < text.size() && text.at(at + 1).isLetterOrNumber()) << key;
  }
  // The sheet's caption is the item that opens it, without its mnemonic and its dots.
  QString item = GetLocalizedText(keys::kMenuOptions, kTextFile).remove(u'&');
  EXPECT_TRUE(item.endsWith(QStringLiteral("..."))) << "the item opens a window";
  item.chop(3);
  EXPECT_EQ(GetLocalizedText(keys::kOptionsCaption, kTextFile), item);
}

// The texts of the windows, pages and menus: the English they had before they moved here.
TEST(DataFiles, SectionTextsKeepTheirEnglish) {
  const struct {
    const char* section;
    const char* key;
    const char* english;
  } cases[] = {
      {text_sections::kWindow, "Title", "Quillory Radixpad"},
      {text_sections::kWindow, "ShiftRight", "&Shift    >"},
      {text_sections::kWindow, "PickColor", "&Pick Color.."},
      {text_sections::kWindow, "Bits16", "16 Bits"},
      {text_sections::kWindow, "Width16", "&16 Bits"},
      {text_sections::kWindow, "Hexadecimal", "Hexadecimal"},
      {text_sections::kAccessible, "RowDigits", "Digits of row %1"},
      {text_sections::kAccessible, "RotateRight", "Rotate right"},
      {text_sections::kAccessible, "Bit", "Bit %1"},
      {text_sections::kWindowMenu, "Minimize", "Mi&nimize"},
      {text_sections::kWindowMenu, "Exit", "&Exit"},
      {text_sections::kTray, "Help", "Help"},
      {text_sections::kSheet, "Look", "Look"},
      {text_sections::kGeneralPage, "AutoCopy", "&Auto-copy conversion result:"},
      {text_sections::kGeneralPage, "ShowHideKey", "Show/hide &key:"},
      {text_sections::kGeneralPage, "KeyInUse",
       "This key is in use by another program, which keeps it. Choose another key."},
      {text_sections::kGeneralPage, "KeyDesktopSettings",
       "This desktop does not let programs take a key. In the desktop's keyboard settings, bind a key to this "
       "command:\n%1"},
      {text_sections::kLookPage, "3x3Tiling", "3x3 Tiling"},
      {text_sections::kLookPage, "DefaultColors", "Use &Default"},
      {text_sections::kAbout, "Title", "About %1"},
      {text_sections::kAbout, "Copyright", "Copyright \u00a9 %1 Quillory. All rights reserved."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetSectionText(c.section, c.key, kTextFile, QString()), QString::fromUtf8(c.english))
        << c.section << "/" << c.key;
  }
}

TEST(DataFiles, FactoryBehaviours) {
  const QString product = QString::fromLatin1(sections::kProduct);
  EXPECT_EQ(GetIniInt(product, keys::kAlwaysOnTop, -1, kDefaultsFile), 0);
  EXPECT_EQ(GetIniInt(product, keys::kMinimizeToSystemTray, -1, kDefaultsFile), 1);
  EXPECT_EQ(GetIniInt(product, keys::kSnapToDesktopSide, -1, kDefaultsFile), 1);
  EXPECT_EQ(GetIniInt(sections::kGeneral, keys::kAllowRunOnStartup, -1, kDefaultsFile), 1);
  // No colours: the desktop theme's are the defaults.
  EXPECT_EQ(GetIniString(product, keys::kTextColor, QStringLiteral("none"), kDefaultsFile), QStringLiteral("none"));
  EXPECT_EQ(GetIniString(product, keys::kBackgroundColor, QStringLiteral("none"), kDefaultsFile),
            QStringLiteral("none"));
}

}  // namespace
}  // namespace radixpad
