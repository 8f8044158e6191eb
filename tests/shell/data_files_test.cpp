#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <map>
#include <set>
#include <utility>

#include "ini_store.h"
#include "localized_texts.h"
#include "program_settings.h"
#include "settings_keys.h"
#include "test_environment.h"
#include "view_texts.h"

namespace radixpad {
namespace {

const QString kProgramDir = QStringLiteral(RADIXPAD_TEST_PROGRAM_DIR);
const QString kTextFile = kProgramDir + QStringLiteral("/String.dat");
const QString kDefaultsFile = kProgramDir + QStringLiteral("/Default.dat");
// The language files are read where they are written, so that a key added to String.dat
// and not yet to a translation fails here.
const QString kDataSourceDir = QStringLiteral(RADIXPAD_TEST_DATA_SOURCE_DIR);

using SectionKey = std::pair<QString, QString>;

// Every (section, key) of a text file with its stored value, in the file's own spelling.
std::map<SectionKey, QString> ReadTexts(const QString& path) {
  std::map<SectionKey, QString> texts;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return texts;
  QString section;
  while (!file.atEnd()) {
    const QString line = QString::fromUtf8(file.readLine()).trimmed();
    if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#')) continue;
    if (line.startsWith(u'[')) {
      section = line.mid(1, line.indexOf(u']') - 1);
    } else if (const qsizetype eq = line.indexOf(u'='); eq > 0) {
      texts.emplace(SectionKey{section, line.left(eq).trimmed()}, line.mid(eq + 1).trimmed());
    }
  }
  return texts;
}

QStringList LanguageTextFiles() {
  return QDir(kDataSourceDir).entryList({QStringLiteral("String.*.dat")}, QDir::Files, QDir::Name);
}

std::multiset<QString> Placeholders(const QString& text) {
  static const QRegularExpression placeholder(QStringLiteral("%[0-9]+"));
  std::multiset<QString> found;
  for (const auto& match : placeholder.globalMatch(text)) found.insert(match.captured());
  return found;
}

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

TEST(DataFiles, LanguageFilesHaveTheKeysPlaceholdersAndMarksOfStringDat) {
  const std::map<SectionKey, QString> english = ReadTexts(kDataSourceDir + QStringLiteral("/String.dat"));
  ASSERT_GT(english.size(), 100u);
  const QStringList languages = LanguageTextFiles();
  EXPECT_TRUE(languages.contains(QStringLiteral("String.de.dat"))) << languages.join(u' ').toStdString();
  for (const QString& name : QStringList(QStringLiteral("String.dat")) + languages) {
    SCOPED_TRACE(name.toStdString());
    const std::map<SectionKey, QString> texts = ReadTexts(kDataSourceDir + u'/' + name);
    for (const auto& [where, text] : texts) {
      const std::string place = (where.first + u'/' + where.second).toStdString();
      // A longer text would be cut when it is read.
      EXPECT_LE(text.size(), kMaxIniValueLength) << place;
      const auto original = english.find(where);
      if (original == english.end()) {
        ADD_FAILURE() << place << " is not in String.dat";
        continue;
      }
      EXPECT_EQ(Placeholders(text), Placeholders(original->second)) << place;
      EXPECT_EQ(text.count(u'&'), original->second.count(u'&')) << place;
    }
    for (const auto& entry : english) {
      EXPECT_TRUE(texts.count(entry.first))
          << (entry.first.first + u'/' + entry.first.second).toStdString() << " is missing";
    }
  }
}

// The window reads the float and character views' texts from String.dat: every key is
// there, once, in its section, with the English the console uses.
TEST(DataFiles, StringDatHoldsEveryViewText) {
  const std::map<SectionKey, QString> texts = ReadTexts(kDataSourceDir + QStringLiteral("/String.dat"));
  std::set<SectionKey> seen;
  for (const ViewTextKey& k : kViewTextKeys) {
    const SectionKey where{QString::fromLatin1(k.section), QString::fromLatin1(k.key)};
    EXPECT_TRUE(seen.insert(where).second) << k.section << "/" << k.key << " twice";
    const auto found = texts.find(where);
    EXPECT_EQ(found == texts.end() ? QString() : found->second, QString::fromUtf8(k.english))
        << k.section << "/" << k.key;
  }
}

// The & letters of the items of one menu, or of the controls one window shows together,
// differ in every language; `taken` are the window's keys that come from no text.
TEST(DataFiles, MnemonicsAreUniqueInEachMenuAndWindow) {
  const struct {
    const char* name;
    const char* taken;
    std::vector<SectionKey> items;
  } groups[] = {
      {"window menu",
       "",
       {{"WindowMenu", "Restore"},
        {"WindowMenu", "Minimize"},
        {"WindowMenu", "Maximize"},
        {"WindowMenu", "Close"},
        {"WindowMenu", "Exit"},
        {"String", "Menu-BitGrid"},
        {"String", "Menu-FloatView"},
        {"String", "Menu-CharView"},
        {"String", "Menu-SwapBytes"},
        {"String", "Menu-CopyAll"},
        {"String", "Menu-Options"},
        {"String", "Menu-Help"},
        {"String", "Menu-About"}}},
      {"tray menu", "", {{"String", "Menu-Restore"}, {"String", "Menu-About"}, {"String", "Menu-Exit"}}},
      {"edit menu",
       "",
       {{"EditMenu", "Undo"},
        {"EditMenu", "Redo"},
        {"EditMenu", "Cut"},
        {"EditMenu", "Copy"},
        {"EditMenu", "Paste"},
        {"EditMenu", "Delete"},
        {"EditMenu", "SelectAll"}}},
      {"main window",
       "bodh",  // Alt+B, O, D and H go to the rows
       {{"Window", "Width8"},
        {"Window", "Width16"},
        {"Window", "Width32"},
        {"Window", "Width64"},
        {"Window", "ShiftRight"},
        {"Window", "RotateRight"},
        {"Window", "Invert"},
        {"Window", "PickColor"}}},
      {"general page",
       "",
       {{"GeneralPage", "AutoCopy"},
        {"GeneralPage", "GroupDigits"},
        {"GeneralPage", "ShowHideKey"},
        {"GeneralPage", "ShowHideKeyClear"}}},
      {"look page",
       "",
       {{"String", "ShowBackgroundBitmap"},
        {"String", "BackgroundBitmapFile"},
        {"String", "BitmapDisplayMethod"},
        {"LookPage", "TextColor"},
        {"LookPage", "BackgroundColor"},
        {"LookPage", "DefaultColors"},
        {"LookPage", "Preview"}}},
  };
  for (const QString& name : QStringList(QStringLiteral("String.dat")) + LanguageTextFiles()) {
    const std::map<SectionKey, QString> texts = ReadTexts(kDataSourceDir + u'/' + name);
    for (const auto& group : groups) {
      std::map<QChar, QString> letters;
      for (const char* key = group.taken; *key; ++key)
        letters.emplace(QChar::fromLatin1(*key), QStringLiteral("(taken)"));
      for (const auto& item : group.items) {
        const auto found = texts.find({item.first, item.second});
        if (found == texts.end()) continue;  // the key test above names it
        const qsizetype at = found->second.indexOf(u'&');
        if (at < 0 || at + 1 >= found->second.size()) continue;
        const QChar letter = found->second.at(at + 1).toLower();
        const auto [other, added] = letters.emplace(letter, item.second);
        EXPECT_TRUE(added) << name.toStdString() << ", " << group.name << ": " << item.second.toStdString() << " and "
                           << other->second.toStdString() << " share &" << QString(letter).toStdString();
      }
    }
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
