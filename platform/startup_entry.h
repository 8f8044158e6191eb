// The run-at-login entry: an XDG autostart desktop file. Its presence at the start-up
// entry path is the setting; nothing else records it.
#pragma once

#include <QString>
#include <QStringList>

namespace radixpad {

/// Results of CreateStartupShortcut.
enum StartupEntryResult : int {
  kStartupEntryOk = 0,
  kStartupEntryBadArgument = -1,  // empty target or entry path
  kStartupEntryWriteFailed = -2,  // folder missing and not creatable, or not writable
};

/// Writes the autostart entry `linkPath` (Type=Application, Name and Comment the
/// description, Exec the target followed by the arguments, each quoted when needed),
/// replacing an existing file atomically. Returns kStartupEntryOk or a negative result.
int CreateStartupShortcut(const QString& targetPath, const QString& linkPath, const QString& description,
                          const QStringList& arguments = {});

/// Whether a file lies at `linkPath`, whoever made it.
bool StartupEntryExists(const QString& linkPath);
/// Deletes whatever file lies at `linkPath`; false when nothing was deleted.
bool DeleteStartupEntry(const QString& linkPath);

/// One argument of an Exec line, quoted by the desktop-entry rules when it holds a
/// reserved character, with "%" doubled (before the value escapes of the file).
QString QuoteExecArgument(const QString& argument);
/// A string value of a desktop file: backslash, line breaks and tabs escaped.
QString EscapeDesktopValue(const QString& value);

}  // namespace radixpad
