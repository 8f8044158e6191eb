// qyremove: Radixpad's removal helper. Started with "OK" (as "radixpad -r"
// does), it removes the user's login entry and the user settings folder of
// Radixpad, and nothing else. Without "OK" it only says what it would do.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

#include "common_lib.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  radixpad::CCommonLib commonLib;
  commonLib.SetupFolders(nullptr);
  const radixpad::ShellPaths& paths = commonLib.Paths();
  const QStringList arguments = QCoreApplication::arguments().mid(1);
  if (arguments != QStringList{QStringLiteral("OK")}) {
    std::fprintf(stderr,
                 "usage: qyremove OK\n"
                 "Removes Radixpad's login entry and its user settings folder:\n  %s\n  %s\n",
                 qUtf8Printable(paths.startupEntryPath), qUtf8Printable(paths.userSettingsFolder));
    return 2;
  }
  int failures = 0;
  if (!paths.startupEntryPath.isEmpty() && QFile::exists(paths.startupEntryPath) &&
      !QFile::remove(paths.startupEntryPath)) {
    ++failures;
  }
  // The settings folder is only ever ".../Quillory/Radixpad/"; the private folder
  // under the temporary folder, used when there is no configuration folder, is left.
  const QString folder = QDir::cleanPath(paths.userSettingsFolder);
  if (folder.endsWith(QStringLiteral("/Quillory/Radixpad")) && QDir(folder).exists() &&
      !QDir(folder).removeRecursively()) {
    ++failures;
  }
  return failures == 0 ? 0 : 1;
}
