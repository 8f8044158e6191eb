// The application: the command line, the single instance, and the main window
// run modally until it ends.
#pragma once

#include <QString>

namespace radixpad {

/// The title, the single-instance name and the application name.
inline constexpr char kApplicationTitle[] = "Quillory Radixpad";

class CConverterApp {
 public:
  /// Runs the program for the command-line text (the arguments after the
  /// program's name). Returns the process exit code.
  int Run(const QString& commandLine);
};

class CConverterDlg;

/// What the running instance does with a later start's request: "uninstall"
/// runs the uninstall command; anything else wakes the window (shown, raised
/// and activated when visible, restored when hidden).
void HandleInstanceRequest(CConverterDlg& dialog, const QString& request);

/// The request a later start sends to wake the running instance: "wake", followed by
/// a blank and the launcher's activation token when there is one that fits the line.
QString WakeRequest(const QByteArray& activationToken);
inline constexpr int kMaxActivationTokenLength = 200;

/// Shows and activates a hidden, minimised or covered window; hides an active one.
void ToggleWindow(CConverterDlg& dialog);

/// What the global show/hide key does: toggles the window, or, while a modal window of
/// the program is open (the options sheet), brings that one forward.
void OnShowHideKey(CConverterDlg& dialog);

/// HandleInstanceRequest without the activation token.
void HandlePlainInstanceRequest(CConverterDlg& dialog, const QString& request);

/// False for the forms that never show a window ("-r" and "/uninstall"): they run
/// without a display.
bool NeedsWindow(const QString& commandLine);

/// The command-line text: the arguments joined by single blanks.
QString CommandLineText(int argc, char** argv);

}  // namespace radixpad
