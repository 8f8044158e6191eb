#include "localized_texts.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <utility>

#include "program_settings.h"
#include "test_environment.h"

namespace radixpad {
namespace {

TEST(TextLanguages, FromTheFirstSetVariable) {
  const struct {
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
    QStringList expected;
  } cases[] = {
      {"", "", "de_DE.UTF-8", {"de_DE", "de"}},
      {"", "", "de_AT.utf8@euro", {"de_AT", "de"}},
      {"", "", "de@euro", {"de"}},
      {"", "", "es_419.UTF-8", {"es_419", "es"}},
      {"", "", "DE_de", {"de_DE", "de"}},
      {"", "fr_FR", "de_DE.UTF-8", {"fr_FR", "fr"}},
      {"pt_BR", "fr_FR", "de_DE", {"pt_BR", "pt"}},
      // "C" and "POSIX" name no language, also when a later variable would.
      {"C.UTF-8", "", "de_DE.UTF-8", {}},
      {"", "POSIX", "de_DE.UTF-8", {}},
      {"", "", "", {}},
      // Anything but a language code would name other files than String.<code>.dat.
      {"", "", "../../etc/x", {}},
      {"", "", "de_DE/..", {}},
      {"", "", "german", {}},
      {"", "", "d", {}},
      {"", "", "de_", {}},
      {"", "", "de_DE_x", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextLanguages(c.lcAll, c.lcMessages, c.lang), c.expected)
        << c.lcAll << "|" << c.lcMessages << "|" << c.lang;
  }
}

TEST(TextLanguages, FilesSitBesideTheFileWithTheLanguageBeforeTheExtension) {
  const QStringList de{QStringLiteral("de_DE"), QStringLiteral("de")};
  EXPECT_EQ(LanguageFiles(QStringLiteral("/p/String.dat"), de),
            QStringList({"/p/String.de_DE.dat", "/p/String.de.dat", "/p/String.dat"}));
  EXPECT_EQ(LanguageFiles(QStringLiteral("/p.d/index"), {QStringLiteral("de")}),
            QStringList({"/p.d/index.de", "/p.d/index"}));
  EXPECT_EQ(LanguageFiles(QStringLiteral("/p/String.dat"), {}), QStringList({"/p/String.dat"}));
  EXPECT_EQ(LanguageFiles(QString(), de), QStringList({QString()}));
}

class LanguageFallback : public testing::Test {
 protected:
  void SetUp() override {
    const QString folder = m_env.Root() + QStringLiteral("/program/");
    QDir().mkpath(folder);
    m_textFile = folder + QStringLiteral("String.dat");
    test::WriteBytes(m_textFile, "[String]\nA=English A\nB=English B\nC=English C\n[Window]\nTitle=Title\n");
    test::WriteBytes(folder + QStringLiteral("String.de.dat"), "[String]\nA=Deutsch A\nB=Deutsch B\nC=\n");
    test::WriteBytes(folder + QStringLiteral("String.de_AT.dat"), "[String]\nA=Österreichisch A\n");
    test::WriteBytes(folder + QStringLiteral("index.htm"), "en");
    test::WriteBytes(folder + QStringLiteral("index.de.htm"), "de");
    m_helpPage = folder + QStringLiteral("index.htm");
    m_env.Set("LC_ALL", std::nullopt);
    m_env.Set("LC_MESSAGES", std::nullopt);
  }

  test::ScopedEnvironment m_env;
  QString m_textFile;
  QString m_helpPage;
};

TEST_F(LanguageFallback, EachKeyFromTheBestFileThatHasIt) {
  const struct {
    const char* lang;
    const char* key;
    const char* expected;
  } cases[] = {
      {"de_AT.UTF-8", "A", "Österreichisch A"},
      {"de_AT.UTF-8", "B", "Deutsch B"},
      {"de_DE.UTF-8", "A", "Deutsch A"},
      // An empty text is one not translated yet.
      {"de_DE.UTF-8", "C", "English C"},
      {"de_DE.UTF-8", "Missing", "built-in"},
      {"fr_FR.UTF-8", "A", "English A"},
      {"C.UTF-8", "A", "English A"},
  };
  for (const auto& c : cases) {
    m_env.Set("LANG", QString::fromLatin1(c.lang));
    EXPECT_EQ(GetSectionText("String", c.key, m_textFile, QStringLiteral("built-in")), QString::fromUtf8(c.expected))
        << c.lang << " " << c.key;
  }
  m_env.Set("LANG", QStringLiteral("de_DE.UTF-8"));
  EXPECT_EQ(GetSectionText("Window", "Title", m_textFile, QString()), QStringLiteral("Title"));
  EXPECT_EQ(GetLocalizedText(QStringLiteral("B"), m_textFile), QStringLiteral("Deutsch B"));
}

TEST_F(LanguageFallback, HelpPageInTheUsersLanguageWhereThereIsOne) {
  const QString folder = QFileInfo(m_helpPage).path();
  for (const auto& [lang, page] :
       {std::pair{"de_CH.UTF-8", "/index.de.htm"}, std::pair{"fr_FR", "/index.htm"}, std::pair{"", "/index.htm"}}) {
    m_env.Set("LANG", QString::fromLatin1(lang));
    EXPECT_EQ(LocalizedFile(m_helpPage), folder + QString::fromLatin1(page)) << lang;
  }
}

}  // namespace
}  // namespace radixpad
