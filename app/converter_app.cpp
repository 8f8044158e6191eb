#include "converter_app.h"

#include <QApplication>
#include <QProcess>

#include "common_lib.h"
#include "converter_dlg.h"
#include "global_key.h"
#include "help.h"
#include "ini_store.h"
#include "localized_texts.h"
#include "options_sheet.h"
#include "qy_messages.h"
#include "settings_keys.h"
#include "single_instance.h"
#include "termination_signals.h"
#include "window_platform.h"

namespace radixpad {

namespace {
const QString kRemoval = QStringLiteral("-r");
const QString kUninstall = QStringLiteral("/uninstall");
const QString kWakeRequest = QStringLiteral("wake");
const QString kUninstallRequest = QStringLiteral("uninstall");
}  // namespace

bool NeedsWindow(const QString& commandLine) { return commandLine != kRemoval && commandLine != kUninstall; }

QString CommandLineText(int argc, char** argv) {
  QStringList parts;
  for (int i = 1; i < argc; ++i) parts << QString::fromLocal8Bit(argv[i]);
  return parts.join(QLatin1Char(' '));
}

QString WakeRequest(const QByteArray& activationToken) {
  // A token that would not fit the request line is left out: the wake still works
  // where the desktop lets a program bring itself forward.
  if (activationToken.isEmpty() || activationToken.size() > kMaxActivationTokenLength ||
      activationToken.contains('\n') || activationToken.contains(' ')) {
    return kWakeRequest;
  }
  return kWakeRequest + QLatin1Char(' ') + QString::fromUtf8(activationToken);
}

void HandleInstanceRequest(CConverterDlg& dialog, const QString& request) {
  // A Wayland compositor raises a window only with the token the launcher gave the
  // later start; Qt's Wayland plugin takes it from XDG_ACTIVATION_TOKEN when the
  // window asks to be activated. The variable is removed again, so no program
  // started from here inherits it.
  const QString token = request.section(QLatin1Char(' '), 1);
  const bool useToken = request.startsWith(kWakeRequest + QLatin1Char(' ')) && !token.isEmpty();
  if (useToken) qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
  HandlePlainInstanceRequest(dialog, request.section(QLatin1Char(' '), 0, 0));
  if (useToken) qunsetenv("XDG_ACTIVATION_TOKEN");
}

void HandlePlainInstanceRequest(CConverterDlg& dialog, const QString& request) {
  if (request == kUninstallRequest) {
    CCommandEvent command(kCommandUninstall);
    QCoreApplication::sendEvent(&dialog, &command);
  } else if (dialog.isVisible() && !ProgramsCanPlaceWindows()) {
    // A Wayland compositor does not tell a program that its window was minimised, nor
    // lets it raise one: the window is mapped afresh, which brings it back in front.
    dialog.hide();
    CCommandEvent command(kCommandRestore);
    QCoreApplication::sendEvent(&dialog, &command);
  } else if (dialog.isVisible()) {
    if (dialog.isMinimized()) dialog.showNormal();
    dialog.raise();
    dialog.activateWindow();
  } else {
    CCommandEvent command(kCommandRestore);
    QCoreApplication::sendEvent(&dialog, &command);
  }
}

void ToggleWindow(CConverterDlg& dialog) {
  if (dialog.isVisible() && !dialog.isMinimized() && dialog.isActiveWindow()) {
    dialog.hide();
    return;
  }
  HandlePlainInstanceRequest(dialog, kWakeRequest);
}

void OnShowHideKey(CConverterDlg& dialog) {
  // Hiding the window under an open options sheet would leave the sheet alone on screen.
  if (QWidget* modal = QApplication::activeModalWidget()) {
    modal->raise();
    modal->activateWindow();
    return;
  }
  ToggleWindow(dialog);
}

int CConverterApp::Run(const QString& commandLine) {
  // The forms are matched against the whole text, letter case significant.
  if (commandLine == kRemoval) {
    CCommonLib commonLib;
    commonLib.SetupFolders(nullptr);
    QProcess::startDetached(commonLib.Paths().programFolder + QStringLiteral("qyremove"), {QStringLiteral("OK")});
    return 0;
  }

  // Caught from here on: a signal that comes while the window is being made waits in
  // the event loop for it.
  CTerminationSignals endingSignals;
  CSingleInstance instance(QString::fromLatin1(kApplicationTitle));
  if (!instance.TryBecomeFirst()) {
    instance.SendToFirst(commandLine == kUninstall ? kUninstallRequest : WakeRequest(qgetenv("XDG_ACTIVATION_TOKEN")));
    return 0;
  }

  QCoreApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
  if (commandLine == kUninstall) return 0;

  CConverterDlg dialog;
  // The global show/hide key is taken only when one is set; it is released as Run ends,
  // before the application object goes.
  const ShellPaths& paths = dialog.Paths();
  CGlobalKey showHideKey(CurrentGlobalKeyEnvironment(), [textFile = paths.textFile] {
    return GetSectionText(text_sections::kGeneralPage, "KeyDescription", textFile,
                          QStringLiteral("Show or hide Quillory Radixpad"));
  });
  QObject::connect(&showHideKey, &CGlobalKey::activated, &dialog, [&dialog] { OnShowHideKey(dialog); });
  showHideKey.SetKey(
      KeyFromText(GetIniString(QString::fromLatin1(sections::kGeneral), QString::fromLatin1(keys::kShowHideKey),
                               QString(), paths.userSettingsFile)));
  dialog.onOptions = [&showHideKey](CConverterDlg& window) { RunOptionsSheet(window, &showHideKey); };
  dialog.onHelp = [&dialog] { ShowHelp(dialog.Paths().programFolder); };
  instance.Listen([&dialog](const QString& request) { HandleInstanceRequest(dialog, request); });
  // The window runs in the application's event loop rather than its own
  // modal one: hiding it to the tray must not end the program, only the exit
  // and uninstall commands do.
  QGuiApplication::setQuitOnLastWindowClosed(false);
  QObject::connect(&dialog, &CConverterDlg::ended, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
  // Without a session manager a session ends with one of these signals: the program
  // ends normally, and the window saves the settings as it ends.
  QObject::connect(&endingSignals, &CTerminationSignals::received, &dialog, [&dialog] {
    // Settings not read yet are read first, so that they are saved back as they were.
    if (dialog.StartupTimerActive()) dialog.LoadSettings();
    QCoreApplication::quit();
  });
  dialog.show();
  QCoreApplication::exec();
  return 0;
}

}  // namespace radixpad
