#include "help.h"

#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <string>
#include <utility>

#include "converter_app.h"
#include "ini_store.h"
#include "localized_texts.h"
#include "program_settings.h"
#include "registry.h"
#include "settings_keys.h"

namespace radixpad {

namespace {
constexpr char kBrowserKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE";
const QString kXdgOpen = QStringLiteral("xdg-open");

void ShowHelpPageBox(const QString& text, QWidget* window) {
  QMessageBox box(QMessageBox::Information, QString::fromLatin1(kApplicationTitle), text, QMessageBox::Ok, window);
  box.setTextInteractionFlags(Qt::TextSelectableByMouse);
  box.exec();
}
}  // namespace

QString HelpBrowser() {
  CRegistry registry;
  std::string browser;
  if (registry.Connect(HKEY_LOCAL_MACHINE, nullptr) && registry.OpenKey(kBrowserKey, KEY_READ)) {
    registry.GetStringValue("", browser);
  }
  return browser.empty() ? kXdgOpen : QString::fromStdString(browser);
}

void ShowHelp(const QString& programFolder, QWidget* window, std::function<void(const QString& text)> tell) {
  // Linux has no short path names: the program folder is used as it is.
  QString folder = programFolder;
  if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  const QString page = LocalizedFile(folder + QLatin1String(files::kHelpPage));
  const QString browser = HelpBrowser();
  if (browser != kXdgOpen && QProcess::startDetached(browser, {page})) return;

  // xdg-open answers later: the window may be gone by then.
  const auto notShown = [page, textFile = folder + QLatin1String(files::kTexts), tell = std::move(tell),
                         owner = QPointer<QWidget>(window)] {
    const QString text = GetLocalizedText(QString::fromLatin1(keys::kHelpPageNotShown), textFile).arg(page);
    if (tell) {
      tell(text);
    } else {
      ShowHelpPageBox(text, owner.data());
    }
  };
  // xdg-open says by its exit code whether anything could show the page; it is
  // watched without waiting for it. Its output goes nowhere, so that a browser it
  // leaves running never writes into a closed pipe.
  auto* opener = new QProcess(QCoreApplication::instance());
  opener->setStandardInputFile(QProcess::nullDevice());
  opener->setStandardOutputFile(QProcess::nullDevice());
  opener->setStandardErrorFile(QProcess::nullDevice());
  QObject::connect(opener, &QProcess::finished, opener, [opener, notShown](int exitCode, QProcess::ExitStatus status) {
    opener->deleteLater();
    if (status != QProcess::NormalExit || exitCode != 0) notShown();
  });
  QObject::connect(opener, &QProcess::errorOccurred, opener, [opener, notShown](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart) return;
    opener->deleteLater();
    notShown();
  });
  opener->start(kXdgOpen, {page});
}

}  // namespace radixpad
