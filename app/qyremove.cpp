// qyremove: Radixpad's removal helper. Started with "OK" (as "radixpad -r"
// does), it removes the user's login entry, the user settings folder of Radixpad and
// its private folder under the temporary folder, and nothing else. Without "OK" it
// only says what it would do.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

#include "common_lib.h"
#include "shell_folders.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  radixpad::CCommonLib commonLib;
  commonLib.SetupFolders(nullptr);
  const radixpad::ShellPaths& paths = commonLib.Paths();
  const QString temporaryFolder = radixpad::UserTemporaryFolder();
  const QStringList arguments = QCoreApplication::arguments().mid(1);
  if (arguments != QStringList{QStringLiteral("OK")}) {
    std::fprintf(stderr,
                 "usage: qyremove OK\n"
                 "Removes Radixpad's login entry, its user settings folder and its private temporary folder:\n"
                 "  %s\n  %s\n  %s\n",
                 qUtf8Printable(paths.startupEntryPath), qUtf8Printable(paths.userSettingsFolder),
                 qUtf8Printable(temporaryFolder));
    return 2;
  }
  int failures = 0;
  if (!paths.startupEntryPath.isEmpty() && QFile::exists(paths.startupEntryPath) &&
      !QFile::remove(paths.startupEntryPath)) {
    ++failures;
  }
  // The settings folder is only ever ".../Quillory/Radixpad/".
  const QString folder = QDir::cleanPath(paths.userSettingsFolder);
  if (folder.endsWith(QStringLiteral("/Quillory/Radixpad")) && QDir(folder).exists() &&
      !QDir(folder).removeRecursively()) {
    ++failures;
  }
  // The private folder that holds the settings when there is no configuration folder.
  // The temporary folder is everyone's: a link or another user's folder under that name
  // is not followed, nor is anything in it removed.
  if (radixpad::IsFolderOfThisUser(temporaryFolder) && !QDir(temporaryFolder).removeRecursively()) ++failures;
  return failures == 0 ? 0 : 1;
}
