#include "shell_folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cerrno>

namespace radixpad {
namespace {

// XDG base directories must be absolute; a relative value is ignored.
QString AbsoluteOrEmpty(const QString& path) { return QDir::isAbsolutePath(path) ? path : QString(); }

QString UserConfigFolder() {
  const QString configHome = AbsoluteOrEmpty(qEnvironmentVariable("XDG_CONFIG_HOME"));
  if (!configHome.isEmpty()) return configHome;
  const QString home = AbsoluteOrEmpty(qEnvironmentVariable("HOME"));
  if (home.isEmpty()) return {};
  return WithTrailingSeparator(home) + QStringLiteral(".config");
}

QString SharedConfigFolder() {
  const QStringList dirs = qEnvironmentVariable("XDG_CONFIG_DIRS").split(u':', Qt::SkipEmptyParts);
  for (const QString& dir : dirs) {
    if (QDir::isAbsolutePath(dir)) return dir;
  }
  return QStringLiteral("/etc/xdg");
}

QString FolderOfKind(int kind) {
  switch (kind) {
    case kFolderAppData:
      return UserConfigFolder();
    case kFolderCommonAppData:
      return SharedConfigFolder();
    case kFolderStartup: {
      const QString config = UserConfigFolder();
      if (config.isEmpty()) return {};
      return WithTrailingSeparator(config) + QStringLiteral("autostart");
    }
    default:
      return {};
  }
}

}  // namespace

QString WithTrailingSeparator(const QString& path) { return path.endsWith(u'/') ? path : path + u'/'; }

QString PrivateFolder(const QString& folder) {
  if (folder.isEmpty()) return {};
  const QByteArray path = QFile::encodeName(folder);
  if (::mkdir(path.constData(), S_IRWXU) != 0 && errno != EEXIST) return {};
  struct stat info {};
  if (::lstat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) return {};
  if ((info.st_mode & 07777) != S_IRWXU && ::chmod(path.constData(), S_IRWXU) != 0) return {};
  return WithTrailingSeparator(folder);
}

bool IsFolderOfThisUser(const QString& folder) {
  struct stat info {};
  return !folder.isEmpty() && ::lstat(QFile::encodeName(folder).constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
         info.st_uid == ::geteuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

QString UserTemporaryFolder() {
  return WithTrailingSeparator(QDir::tempPath()) +
         QStringLiteral("radixpad-%1").arg(static_cast<qulonglong>(::geteuid()));
}

int32_t CShellFolders::GetFolderPath(QObject* /*owner*/, int kind, QString& path, bool create) const {
  path.clear();
  const QString folder = FolderOfKind(kind);
  if (folder.isEmpty()) return kFolderFail;
  if (create) {
    const QFileInfo info(folder);
    if (!info.isDir() && !QDir().mkpath(folder)) return kFolderFail;
  }
  path = folder;
  return kFolderOk;
}

}  // namespace radixpad
