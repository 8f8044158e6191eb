#include "shell_folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <functional>

#include "common_lib.h"
#include "test_environment.h"

namespace radixpad {
namespace {

using test::ScopedEnvironment;

bool IsDir(const QString& path) { return QFileInfo(path).isDir(); }

mode_t Mode(const QString& path) {
  struct stat info {};
  return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

class SetupFoldersTest : public testing::Test {
 protected:
  QString Root() const { return m_env.Root(); }
  // The user's private folder under the temporary folder.
  QString PrivateTmp() const { return Root() + QStringLiteral("/tmp/radixpad-%1/").arg(::geteuid()); }
  // A path whose folders can never be created: it runs through a regular file.
  QString Uncreatable() {
    test::WriteBytes(Root() + QStringLiteral("/file"), "x");
    return Root() + QStringLiteral("/file/sub");
  }
  ShellPaths SetUpFolders(int versionCode = 0) {
    CCommonLib lib(versionCode);
    lib.SetupFolders(nullptr, Root() + QStringLiteral("/program"));
    return lib.Paths();
  }

  ScopedEnvironment m_env;
};

TEST_F(SetupFoldersTest, EveryPathFromTheXdgFolders) {
  const ShellPaths p = SetUpFolders();
  const QString config = Root() + QStringLiteral("/config/");
  const QString shared = Root() + QStringLiteral("/shared/");
  EXPECT_EQ(p.programFolder, Root() + QStringLiteral("/program/"));
  EXPECT_EQ(p.userSettingsFolder, config + QStringLiteral("Quillory/Radixpad/"));
  EXPECT_EQ(p.sharedSettingsFolder, shared + QStringLiteral("Quillory/Radixpad/"));
  EXPECT_EQ(p.userSettingsFile, config + QStringLiteral("Quillory/Radixpad/QyRadixpad.ini"));
  EXPECT_EQ(p.sharedSettingsFile, shared + QStringLiteral("Quillory/Radixpad/QyRadixpad.ini"));
  EXPECT_EQ(p.textFile, Root() + QStringLiteral("/program/String.dat"));
  EXPECT_EQ(p.defaultsFile, Root() + QStringLiteral("/program/Default.dat"));
  EXPECT_EQ(p.startupEntryPath, config + QStringLiteral("autostart/Quillory Radixpad.desktop"));

  EXPECT_TRUE(IsDir(p.userSettingsFolder));
  EXPECT_TRUE(IsDir(p.sharedSettingsFolder));
  EXPECT_TRUE(IsDir(config + QStringLiteral("autostart")));
  // Only folders are made: no settings file, no start-up entry.
  EXPECT_FALSE(QFileInfo::exists(p.userSettingsFile));
  EXPECT_FALSE(QFileInfo::exists(p.startupEntryPath));
}

TEST_F(SetupFoldersTest, TrailingSeparatorsAreNotDoubled) {
  m_env.Set("XDG_CONFIG_HOME", Root() + QStringLiteral("/config/"));
  m_env.Set("XDG_CONFIG_DIRS", Root() + QStringLiteral("/shared/"));
  CCommonLib lib(0);
  lib.SetupFolders(nullptr, Root() + QStringLiteral("/program/"));
  const ShellPaths& p = lib.Paths();
  EXPECT_EQ(p.programFolder, Root() + QStringLiteral("/program/"));
  EXPECT_EQ(p.userSettingsFolder, Root() + QStringLiteral("/config/Quillory/Radixpad/"));
  EXPECT_EQ(p.sharedSettingsFolder, Root() + QStringLiteral("/shared/Quillory/Radixpad/"));
  EXPECT_EQ(p.startupEntryPath, Root() + QStringLiteral("/config/autostart/Quillory Radixpad.desktop"));
}

TEST_F(SetupFoldersTest, ConfigHomeFallsBackToDotConfigInHome) {
  for (const std::optional<QString>& configHome :
       {std::optional<QString>(), std::optional(QStringLiteral("relative/config"))}) {
    SCOPED_TRACE(configHome.value_or(QStringLiteral("(unset)")).toStdString());
    m_env.Set("XDG_CONFIG_HOME", configHome);
    const ShellPaths p = SetUpFolders();
    const QString dotConfig = Root() + QStringLiteral("/home/.config/");
    EXPECT_EQ(p.userSettingsFolder, dotConfig + QStringLiteral("Quillory/Radixpad/"));
    EXPECT_EQ(p.startupEntryPath, dotConfig + QStringLiteral("autostart/Quillory Radixpad.desktop"));
    EXPECT_TRUE(IsDir(p.userSettingsFolder));
  }
}

TEST_F(SetupFoldersTest, NoUserFolderMeansTemporaryFolderAndNoStartupEntry) {
  struct Case {
    const char* name;
    std::optional<QString> configHome;
    std::optional<QString> home;
  };
  const Case cases[] = {
      {"no home at all", std::nullopt, std::nullopt},
      {"config folder cannot be created", Uncreatable(), Root() + QStringLiteral("/home")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_env.Set("XDG_CONFIG_HOME", c.configHome);
    m_env.Set("HOME", c.home);
    const ShellPaths p = SetUpFolders();
    EXPECT_EQ(p.userSettingsFolder, PrivateTmp());
    EXPECT_EQ(p.userSettingsFile, PrivateTmp() + QStringLiteral("QyRadixpad.ini"));
    EXPECT_EQ(Mode(PrivateTmp()), 0700u);
    EXPECT_EQ(p.startupEntryPath, QString());
    // The shared lookup still works on its own.
    EXPECT_EQ(p.sharedSettingsFolder, Root() + QStringLiteral("/shared/Quillory/Radixpad/"));
    EXPECT_FALSE(IsDir(Root() + QStringLiteral("/tmp/Quillory")));
  }
}

TEST_F(SetupFoldersTest, SharedFolderFallsBackToUserFolder) {
  m_env.Set("XDG_CONFIG_DIRS", Uncreatable());
  const ShellPaths p = SetUpFolders();
  EXPECT_EQ(p.sharedSettingsFolder, p.userSettingsFolder);
  EXPECT_EQ(p.sharedSettingsFile, p.userSettingsFile);
}

TEST_F(SetupFoldersTest, BothLookupsFailingShareTheTemporaryFolder) {
  m_env.Set("XDG_CONFIG_HOME", std::nullopt);
  m_env.Set("HOME", std::nullopt);
  m_env.Set("XDG_CONFIG_DIRS", Uncreatable());
  const ShellPaths p = SetUpFolders();
  EXPECT_EQ(p.userSettingsFolder, PrivateTmp());
  EXPECT_EQ(p.sharedSettingsFolder, PrivateTmp());
}

TEST_F(SetupFoldersTest, TheTemporaryFallbackIsPrivateOrNotUsed) {
  m_env.Set("XDG_CONFIG_HOME", std::nullopt);
  m_env.Set("HOME", std::nullopt);
  const QString folder = PrivateTmp().chopped(1);
  struct Case {
    const char* name;
    std::function<void()> prepare;
    bool used;
  };
  const Case cases[] = {
      {"made with a loose umask", [] { ::umask(0); }, true},
      {"there already, open to all",
       [&] {
         QDir().mkpath(folder);
         ::chmod(QFile::encodeName(folder), 0777);
       },
       true},
      {"a link to another folder",
       [&] {
         QDir().mkpath(Root() + "/elsewhere");
         QFile::link(Root() + "/elsewhere", folder);
       },
       false},
      {"a file", [&] { test::WriteBytes(folder, "x"); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(folder);
    QDir(folder).removeRecursively();
    const mode_t umask = ::umask(022);
    c.prepare();
    const ShellPaths p = SetUpFolders();
    ::umask(umask);
    if (c.used) {
      EXPECT_EQ(p.userSettingsFolder, PrivateTmp());
      EXPECT_EQ(Mode(folder), 0700u);
    } else {
      EXPECT_EQ(p.userSettingsFolder, QString());
      EXPECT_EQ(p.userSettingsFile, QString()) << "never a bare file name";
      if (IsDir(Root() + "/elsewhere")) {
        EXPECT_EQ(Mode(Root() + "/elsewhere"), 0755u) << "a linked folder is left alone";
      }
    }
    EXPECT_EQ(p.startupEntryPath, QString());
  }
}

TEST_F(SetupFoldersTest, SharedFolderIsTheFirstAbsoluteConfigDir) {
  m_env.Set("XDG_CONFIG_DIRS", QStringLiteral("::relative:") + Root() + QStringLiteral("/shared:/etc/xdg"));
  EXPECT_EQ(SetUpFolders().sharedSettingsFolder, Root() + QStringLiteral("/shared/Quillory/Radixpad/"));
}

TEST_F(SetupFoldersTest, ProfilesFolderRemovedBelowCode7Only) {
  struct Case {
    int code;
    const char* shared;    // below the root
    const char* expected;  // below the root
  };
  const Case cases[] = {
      {0, "/WINDOWS/Profiles/All Users", "/WINDOWS/All Users/Quillory/Radixpad/"},
      {4, "/WINDOWS/PROFILES/All Users", "/WINDOWS/All Users/Quillory/Radixpad/"},
      {6, "/w/profiles/a/profiles/b", "/w/a/profiles/b/Quillory/Radixpad/"},  // first only
      {0, "/w/userprofiles", "/w/user/Quillory/Radixpad/"},                   // fewer than 9 characters left
      {7, "/WINDOWS/Profiles/All Users", "/WINDOWS/Profiles/All Users/Quillory/Radixpad/"},
      {101, "/WINDOWS/Profiles/All Users", "/WINDOWS/Profiles/All Users/Quillory/Radixpad/"},
      {107, "/WINDOWS/Profiles/All Users", "/WINDOWS/Profiles/All Users/Quillory/Radixpad/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "code " << c.code << " " << c.shared);
    m_env.Set("XDG_CONFIG_DIRS", Root() + QString::fromUtf8(c.shared));
    EXPECT_EQ(SetUpFolders(c.code).sharedSettingsFolder, Root() + QString::fromUtf8(c.expected));
  }
}

TEST_F(SetupFoldersTest, EachRunUsesTheEnvironmentOfThatRun) {
  CCommonLib lib(0);
  lib.SetupFolders(nullptr, Root());
  const QString first = lib.Paths().userSettingsFolder;
  m_env.Set("XDG_CONFIG_HOME", Root() + QStringLiteral("/other"));
  lib.SetupFolders(nullptr, Root());
  EXPECT_EQ(first, Root() + QStringLiteral("/config/Quillory/Radixpad/"));
  EXPECT_EQ(lib.Paths().userSettingsFolder, Root() + QStringLiteral("/other/Quillory/Radixpad/"));
}

TEST_F(SetupFoldersTest, ProgramFolderDefaultsToTheExecutablesFolder) {
  CCommonLib lib;
  lib.SetupFolders(nullptr);
  EXPECT_EQ(lib.Paths().programFolder, QCoreApplication::applicationDirPath() + u'/');
  EXPECT_EQ(lib.Paths().textFile, QCoreApplication::applicationDirPath() + QStringLiteral("/String.dat"));
}

TEST_F(SetupFoldersTest, PathsAreEmptyBeforeSetup) {
  const CCommonLib lib(0);
  EXPECT_TRUE(lib.Paths().userSettingsFile.isEmpty());
  EXPECT_TRUE(lib.Paths().programFolder.isEmpty());
}

TEST_F(SetupFoldersTest, FolderLookupAndCreateFlag) {
  m_env.Set("XDG_CONFIG_HOME", Root() + QStringLiteral("/new/config"));
  const CShellFolders folders;
  QString path = QStringLiteral("stale");

  EXPECT_EQ(folders.GetFolderPath(nullptr, kFolderAppData, path, false), kFolderOk);
  EXPECT_EQ(path, Root() + QStringLiteral("/new/config"));
  EXPECT_FALSE(IsDir(path)) << "without the create flag nothing is created";

  EXPECT_EQ(folders.GetFolderPath(nullptr, kFolderStartup, path, true), kFolderOk);
  EXPECT_EQ(path, Root() + QStringLiteral("/new/config/autostart"));
  EXPECT_TRUE(IsDir(path));

  path = QStringLiteral("stale");
  EXPECT_EQ(folders.GetFolderPath(nullptr, kFolderCommonDocuments, path, true), kFolderFail);
  EXPECT_EQ(path, QString());
  path = QStringLiteral("stale");
  EXPECT_EQ(folders.GetFolderPath(nullptr, 12345, path, false), kFolderFail);
  EXPECT_EQ(path, QString());

  m_env.Set("XDG_CONFIG_DIRS", std::nullopt);
  EXPECT_EQ(folders.GetFolderPath(nullptr, kFolderCommonAppData, path, false), kFolderOk);
  EXPECT_EQ(path, QStringLiteral("/etc/xdg"));
}

}  // namespace
}  // namespace radixpad
