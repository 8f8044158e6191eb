// The texts of the windows, pages and menus, from their own sections of String.dat.
// A key the file lacks leaves the built-in English text in place.
#pragma once

#include <QString>

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

/// The text of `key` in `section` of the text file (\n and \t expanded), or `fallback`
/// when the file, the section or the key is missing.
QString GetSectionText(const char* section, const char* key, const QString& textFile, const QString& fallback);

}  // namespace radixpad
