#include "help.h"

#include <QDir>
#include <QProcess>
#include <string>

#include "registry.h"

namespace radixpad {

namespace {
constexpr char kBrowserKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE";
constexpr char kHelpPage[] = "index.htm";
}  // namespace

QString HelpBrowser() {
  CRegistry registry;
  std::string browser;
  if (registry.Connect(HKEY_LOCAL_MACHINE, nullptr) && registry.OpenKey(kBrowserKey, KEY_READ)) {
    registry.GetStringValue("", browser);
  }
  return browser.empty() ? QStringLiteral("xdg-open") : QString::fromStdString(browser);
}

void ShowHelp(const QString& programFolder) {
  // Linux has no short path names: the program folder is used as it is.
  QString folder = programFolder;
  if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  QProcess::startDetached(HelpBrowser(), {folder + QLatin1String(kHelpPage)});
}

}  // namespace radixpad
