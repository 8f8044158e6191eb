// CCommonLib: where Radixpad keeps its files (SetupFolders) and the program's side of
// the link to the common library libQyCommon.so (Load, Attach, Send, ...).
#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "qy_messages.h"

class QObject;

namespace radixpad {

/// The paths of one run. Folders end in "/"; all are empty before SetupFolders.
struct ShellPaths {
  QString programFolder;         // folder of the executable: String.dat, Default.dat, the library
  QString userSettingsFolder;    // <config>/Quillory/Radixpad/, else <temporary folder>/radixpad-<uid>/ (0700)
  QString sharedSettingsFolder;  // <shared config>/Quillory/Radixpad/, else the user settings folder
  QString userSettingsFile;      // user settings folder + QyRadixpad.ini (empty without a folder)
  QString sharedSettingsFile;    // shared settings folder + QyRadixpad.ini (only handed to the library)
  QString textFile;              // program folder + String.dat
  QString defaultsFile;          // program folder + Default.dat
  QString startupEntryPath;      // <autostart>/Quillory Radixpad.desktop, or empty
};

class CCommonLib {
 public:
  /// Shows the loader's error text when the library does not load. `owner` is the window
  /// the box belongs to (may be null).
  using MessageBoxHook = std::function<void(QObject* owner, const QString& text)>;

  /// Computes the version code of the running system.
  CCommonLib();
  /// Uses the given version code instead (it decides which folder rules apply).
  explicit CCommonLib(int windowsVersionCode);
  CCommonLib(const CCommonLib&) = delete;
  CCommonLib& operator=(const CCommonLib&) = delete;

  int WindowsVersionCode() const { return m_versionCode; }

  /// Computes every path of the run and creates the settings folders on the way. The
  /// program folder is the running executable's folder.
  void SetupFolders(QObject* owner);
  /// The same with the program folder given (a trailing "/" is added when missing).
  void SetupFolders(QObject* owner, const QString& programFolder);
  const ShellPaths& Paths() const { return m_paths; }

  /// Loads the program folder's libQyCommon.so (SetupFolders first) and resolves SendMsg.
  /// The link is process-wide: every CCommonLib object calls through the loaded entry.
  /// When the library does not load, the loader's error text is shown in a message box;
  /// then, as when SendMsg is missing, the cancel command is posted to `mainWindow`.
  /// Returns whether the entry is there.
  bool Load(QObject* mainWindow);
  /// Loads `libraryFile` instead of the program folder's library.
  bool Load(QObject* mainWindow, const QString& libraryFile);
  /// Frees the library; later calls return 0. Destroying a CCommonLib does not unload:
  /// the main window calls this when it goes.
  static void Unload();
  static bool IsLoaded();

  /// Code 1: the library starts serving `mainWindow`, which becomes the owner.
  intptr_t Attach(QObject* mainWindow);
  /// Code 5: nonzero when the library serves `previewWindow`, which becomes the owner.
  intptr_t AttachPreview(QObject* previewWindow);
  /// Code 10 with the owner: the about box.
  intptr_t ShowAbout();
  /// Any code; 0 without an entry.
  intptr_t Send(intptr_t code, intptr_t a = 0, intptr_t b = 0, intptr_t c = 0, intptr_t d = 0);
  /// Codes 50, 51, 52: a window behaviour of the owner switched on or off.
  intptr_t SendBehaviour(intptr_t code, bool on);

  QObject* Owner() const { return m_owner; }

  /// Replaces the message box of a failed load; an empty hook restores the default,
  /// an information box when a widget application runs.
  static void SetMessageBoxHook(MessageBoxHook hook);

  /// A window as a SendMsg argument.
  static intptr_t WindowArg(QObject* window) { return reinterpret_cast<intptr_t>(window); }

 private:
  int m_versionCode;
  ShellPaths m_paths;
  QObject* m_owner = nullptr;
};

}  // namespace radixpad
