// The help page: index.htm of the program folder, opened in a web browser.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace radixpad {

/// The browser registered in the store under HKEY_LOCAL_MACHINE
/// "Software\Microsoft\Windows\CurrentVersion\App Paths\IEXPLORE.EXE" (its default
/// value), or "xdg-open" when none is registered.
QString HelpBrowser();

/// Starts the browser with the program folder's index.htm, or its translation into the
/// user's language (LocalizedFile), as an argument list (never through a shell). When the
/// registered browser does not start, xdg-open is tried; when that does not start either
/// or says it could not open the page, `tell` gets the text of String.dat's
/// HelpPageNotShown with the page's path (by default a message box over `window` shows
/// it). Returns at once: xdg-open's answer comes in the event loop.
void ShowHelp(const QString& programFolder, QWidget* window = nullptr,
              std::function<void(const QString& text)> tell = {});

}  // namespace radixpad
