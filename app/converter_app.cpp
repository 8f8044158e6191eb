#include "converter_app.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <cstdio>

#include "active_window.h"
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
const QString kShowOption = QStringLiteral("--show");
const QString kHideOption = QStringLiteral("--hide");
const QString kToggleOption = QStringLiteral("--toggle");
const QString kWakeRequest = QStringLiteral("wake");
const QString kShowRequest = QStringLiteral("show");
const QString kHideRequest = QStringLiteral("hide");
const QString kToggleRequest = QStringLiteral("toggle");
const QString kUninstallRequest = QStringLiteral("uninstall");

// Shows, raises and activates the window; restores it when hidden.
void ShowWindow(CConverterDlg& dialog) {
  if (dialog.isVisible() && !ProgramsCanPlaceWindows(dialog.WindowPlatform())) {
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

// The window's own minimise, through the common library's pre-translation: it hides
// the window to the tray where that is on and a tray is there; otherwise the window
// is minimised.
void HideWindow(CConverterDlg& dialog) {
  if (!dialog.isVisible() || dialog.isMinimized()) return;
  CSysCommandEvent minimize(kScMinimize);
  QCoreApplication::sendEvent(&dialog, &minimize);
}

// Ends the program as the tray's Exit does (its save reads settings not read yet first).
void EndSession(CConverterDlg& dialog) { dialog.PostCommand(kCommandExit); }

// Says that the running copy did not answer: on standard error, and in a message box
// where there is a display to show one on.
void ReportNoAnswer() {
  const QString textFile =
      QCoreApplication::applicationDirPath() + QLatin1Char('/') + QString::fromLatin1(files::kTexts);
  const QString text = GetSectionText(text_sections::kStart, "NotAnswering", textFile,
                                      QStringLiteral("Radixpad is running but did not answer. Try again in a moment."));
  std::fprintf(stderr, "radixpad: %s\n", qUtf8Printable(text));
  const QString platform = QGuiApplication::platformName();
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) && platform != QLatin1String("offscreen") &&
      platform != QLatin1String("minimal")) {
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kApplicationTitle), text, QMessageBox::Ok);
    box.exec();
  }
}
}  // namespace

StartForm FormOf(const QString& commandLine) {
  if (commandLine == kRemoval) return StartForm::kRemoval;
  if (commandLine == kUninstall) return StartForm::kUninstall;
  if (commandLine == kShowOption) return StartForm::kShow;
  if (commandLine == kHideOption) return StartForm::kHide;
  if (commandLine == kToggleOption) return StartForm::kToggle;
  return StartForm::kPlain;
}

bool NeedsWindow(const QString& commandLine) {
  const StartForm form = FormOf(commandLine);
  return form != StartForm::kRemoval && form != StartForm::kUninstall && !UsesDisplayIfThere(commandLine);
}

bool UsesDisplayIfThere(const QString& commandLine) {
  const StartForm form = FormOf(commandLine);
  return form == StartForm::kHide || form == StartForm::kToggle;
}

QString CommandLineText(int argc, char** argv) {
  QStringList parts;
  for (int i = 1; i < argc; ++i) parts << QString::fromLocal8Bit(argv[i]);
  return parts.join(QLatin1Char(' '));
}

QString WakeRequest(const QByteArray& activationToken) { return InstanceRequest(StartForm::kPlain, activationToken); }

QString InstanceRequest(StartForm form, const QByteArray& activationToken) {
  QString word;
  switch (form) {
    case StartForm::kUninstall:
      return kUninstallRequest;
    case StartForm::kHide:
      return kHideRequest;
    case StartForm::kShow:
      word = kShowRequest;
      break;
    case StartForm::kToggle:
      word = kToggleRequest;
      break;
    default:
      word = kWakeRequest;
      break;
  }
  // A token that would not fit the request line is left out: the wake still works
  // where the desktop lets a program bring itself forward.
  if (activationToken.isEmpty() || activationToken.size() > kMaxActivationTokenLength ||
      activationToken.contains('\n') || activationToken.contains(' ')) {
    return word;
  }
  return word + QLatin1Char(' ') + QString::fromUtf8(activationToken);
}

void HandleInstanceRequest(CConverterDlg& dialog, const QString& request) {
  // A Wayland compositor raises a window only with the token the launcher gave the
  // later start; Qt's Wayland plugin takes it from XDG_ACTIVATION_TOKEN when the
  // window asks to be activated. The variable is removed again, so no program
  // started from here inherits it.
  const QString word = request.section(QLatin1Char(' '), 0, 0);
  const QString token = request.section(QLatin1Char(' '), 1);
  const bool useToken = word != kUninstallRequest && word != kHideRequest && !token.isEmpty();
  if (useToken) qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
  HandlePlainInstanceRequest(dialog, word);
  if (useToken) qunsetenv("XDG_ACTIVATION_TOKEN");
}

void HandlePlainInstanceRequest(CConverterDlg& dialog, const QString& request) {
  if (request == kUninstallRequest) {
    CCommandEvent command(kCommandUninstall);
    QCoreApplication::sendEvent(&dialog, &command);
  } else if (request == kHideRequest) {
    HideWindow(dialog);
  } else if (request == kToggleRequest) {
    ToggleWindow(dialog);
  } else {
    ShowWindow(dialog);
  }
}

void ToggleWindow(CConverterDlg& dialog) {
  // The display server's word, not Qt's: Qt hears late that another window was
  // activated, and a key pressed right after that would hide a covered window.
  const auto activeNow = [&dialog] { return IsActiveOnDisplay(dialog.winId()).value_or(dialog.isActiveWindow()); };
  if (dialog.isVisible() && !dialog.isMinimized() && activeNow()) {
    HideWindow(dialog);
  } else {
    ShowWindow(dialog);
  }
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
  const StartForm form = FormOf(commandLine);
  if (form == StartForm::kRemoval) {
    CCommonLib commonLib;
    commonLib.SetupFolders(nullptr);
    QProcess::startDetached(commonLib.Paths().programFolder + QStringLiteral("qyremove"), {QStringLiteral("OK")});
    return 0;
  }

  // Caught from here on: a signal that comes while the window is being made waits in
  // the event loop for it.
  CTerminationSignals endingSignals;
  // The window once it is there; what came for it before.
  CConverterDlg* window = nullptr;
  QStringList early;
  bool endRequested = false;
  CSingleInstance instance(QString::fromLatin1(kApplicationTitle));
  if (!instance.TryBecomeFirst()) {
    switch (instance.HandOverToFirst(InstanceRequest(form, qgetenv("XDG_ACTIVATION_TOKEN")))) {
      case CSingleInstance::HandOver::kAnswered:
        return 0;
      case CSingleInstance::HandOver::kNoAnswer:
        ReportNoAnswer();
        return kExitNoAnswer;
      case CSingleInstance::HandOver::kBecameFirst:
        break;  // the running copy ended meanwhile: this start is the first now
    }
  }
  if (form == StartForm::kHide || form == StartForm::kToggle) return kExitNoneRunning;

  QCoreApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
  if (form == StartForm::kUninstall) return 0;

  // Later starts are heard from now on; their requests wait until the event loop
  // runs, with the window there. One that comes while a message box runs an event
  // loop of its own during the build is handled once the window is there.
  instance.Listen([&window, &early](const QString& request) {
    if (window) {
      HandleInstanceRequest(*window, request);
    } else {
      early << request;
    }
  });
  // Without a session manager a session ends with one of these signals: the program
  // ends as through the tray's Exit, whatever the tray, and the window saves the
  // settings as it ends.
  QObject::connect(&endingSignals, &CTerminationSignals::received, &instance, [&window, &endRequested] {
    if (window) {
      EndSession(*window);
    } else {
      endRequested = true;
    }
  });

  CConverterDlg dialog;
  window = &dialog;
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
  dialog.onOptions = [&showHideKey](CConverterDlg& owner) { RunOptionsSheet(owner, &showHideKey); };
  dialog.onHelp = [&dialog] { ShowHelp(dialog.Paths().programFolder, &dialog); };
  // The window runs in the application's event loop rather than its own
  // modal one: hiding it to the tray must not end the program, only the exit
  // and uninstall commands do. Those end every event loop at once, a modal one too,
  // without asking the windows to close (a close would only hide to the tray).
  QGuiApplication::setQuitOnLastWindowClosed(false);
  // A start from the end on waits for the lock and starts afresh.
  QObject::connect(&dialog, &CConverterDlg::ended, &instance, &CSingleInstance::StopListening);
  QObject::connect(
      &dialog, &CConverterDlg::ended, qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
  dialog.show();
  for (const QString& request : std::as_const(early)) HandleInstanceRequest(dialog, request);
  if (endRequested) EndSession(dialog);
  QCoreApplication::exec();
  return 0;
}

}  // namespace radixpad
