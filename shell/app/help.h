// The help page: index.htm of the program folder, opened in a web browser.
#pragma once

#include <QString>

namespace radixpad {

/// The browser registered in the store under HKEY_LOCAL_MACHINE
/// "Software\Microsoft\Windows\CurrentVersion\App Paths\IEXPLORE.EXE" (its default
/// value), or "xdg-open" when none is registered.
QString HelpBrowser();

/// Starts the browser with the program folder's index.htm, as an argument list
/// (never through a shell). A failing start is not reported.
void ShowHelp(const QString& programFolder);

}  // namespace radixpad
