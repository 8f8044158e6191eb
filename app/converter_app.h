// The application: the command line, the single instance, and the main window
// run modally until it ends.
#pragma once

#include <QString>

namespace radixpad {

/// The title, the single-instance name and the application name.
inline constexpr char kApplicationTitle[] = "Quillory Radixpad";

/// Exit status of a start that found a running copy that did not answer.
inline constexpr int kExitNoAnswer = 1;
/// Exit status of --hide and --toggle when no copy runs.
inline constexpr int kExitNoneRunning = 3;

/// The command-line forms. Each is matched against the whole command-line text, letter
/// case significant; any other text is a plain start.
enum class StartForm {
  kPlain,      // start, or wake the running copy
  kRemoval,    // "-r": start the removal program
  kUninstall,  // "/uninstall": the running copy ends and forgets its settings
  kShow,       // "--show": show the running copy, or start as a plain start does
  kHide,       // "--hide": hide the running copy; never starts one
  kToggle,     // "--toggle": show the running copy, or hide it when it is active; never starts one
};
StartForm FormOf(const QString& commandLine);

class CConverterApp {
 public:
  /// Runs the program for the command-line text (the arguments after the
  /// program's name). Returns the process exit code.
  int Run(const QString& commandLine);
};

class CConverterDlg;

/// What the running instance does with a later start's request: "uninstall" runs the
/// uninstall command; "hide" hides the window; "toggle" toggles it (ToggleWindow);
/// anything else ("wake", "show") wakes it: shown, raised and activated when visible,
/// restored when hidden. A blank and a launcher's activation token may follow the word.
void HandleInstanceRequest(CConverterDlg& dialog, const QString& request);

/// The request a later start sends to wake the running instance: "wake", followed by
/// a blank and the launcher's activation token when there is one that fits the line.
QString WakeRequest(const QByteArray& activationToken);
/// The request of a command-line form, with the activation token as WakeRequest has it
/// for the forms that bring the window forward.
QString InstanceRequest(StartForm form, const QByteArray& activationToken);
inline constexpr int kMaxActivationTokenLength = 200;

/// What the global show/hide key does: toggles the window, or, while a modal window of
/// the program is open (the options sheet), brings that one forward.
void OnShowHideKey(CConverterDlg& dialog);

/// HandleInstanceRequest without the activation token.
void HandlePlainInstanceRequest(CConverterDlg& dialog, const QString& request);

/// Shows and activates the window when it is hidden, minimised or covered (visible but
/// not the active window); hides it when it is the active window. Hiding is the
/// window's own minimise: to the tray where minimise-to-tray is on and a tray is
/// there, else minimised, so the window never goes where the user cannot get it back.
void ToggleWindow(CConverterDlg& dialog);

/// False for the forms that never show a window ("-r", "/uninstall", "--hide",
/// "--toggle"): they run without a display (but see UsesDisplayIfThere).
bool NeedsWindow(const QString& commandLine);

/// True for the forms that show no window of their own and only talk to the running
/// copy (--hide, --toggle): they use a display when there is one, to show why the
/// running copy could not be reached, and run without one otherwise.
bool UsesDisplayIfThere(const QString& commandLine);

/// The command-line text: the arguments joined by single blanks.
QString CommandLineText(int argc, char** argv);

}  // namespace radixpad
