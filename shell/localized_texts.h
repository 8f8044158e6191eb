// The texts of the windows, pages and menus, from their own sections of String.dat,
// and the files of the user's language beside it: String.<ll_CC>.dat, String.<ll>.dat
// and index.<ll>.htm. A key that a language's file lacks comes from String.dat; a key
// String.dat lacks too leaves the built-in English text in place.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace radixpad {

namespace text_sections {
inline constexpr char kWindow[] = "Window";          // the main window's controls and title
inline constexpr char kAccessible[] = "Accessible";  // names and descriptions for screen readers
inline constexpr char kWindowMenu[] = "WindowMenu";  // the window menu's own items
inline constexpr char kTray[] = "Tray";              // the tray menu's items not in section String
inline constexpr char kToolTip[] = "Tooltip";        // the main window's tooltips
inline constexpr char kSheet[] = "Sheet";            // the options sheet's tabs and buttons
inline constexpr char kGeneralPage[] = "GeneralPage";
inline constexpr char kLookPage[] = "LookPage";
inline constexpr char kAbout[] = "About";
inline constexpr char kEditMenu[] = "EditMenu";  // the digit fields' edit menu
inline constexpr char kStart[] = "Start";        // what a start says before any window is there
}  // namespace text_sections

/// The languages to look for, best first, from the values of LC_ALL, LC_MESSAGES and LANG:
/// the first non-empty one counts, without its ".codeset" and "@modifier". "de_DE.UTF-8"
/// gives {"de_DE", "de"}, "de" gives {"de"}. "C", "POSIX", and a value that is not a
/// language code (two or three letters, then optionally "_" and two letters or three
/// digits) give none, so that no value can lead the file names out of their folder.
QStringList TextLanguages(const QByteArray& lcAll, const QByteArray& lcMessages, const QByteArray& lang);

/// TextLanguages of this process's environment.
QStringList UserTextLanguages();

/// `file` with each language put before its extension, then `file` itself:
/// "/p/String.dat" and {"de_DE", "de"} give "/p/String.de_DE.dat", "/p/String.de.dat",
/// "/p/String.dat".
QStringList LanguageFiles(const QString& file, const QStringList& languages);

/// The first of LanguageFiles(file, UserTextLanguages()) that is a regular file, else
/// `file`: the help page in the user's language.
QString LocalizedFile(const QString& file);

/// The text of `key` in `section` (\n and \t expanded), from the first of the user's
/// language files beside `textFile` that has it with a text, else from `textFile`, or
/// `fallback` when that lacks the file, the section or the key too.
QString GetSectionText(const char* section, const char* key, const QString& textFile, const QString& fallback);

}  // namespace radixpad
