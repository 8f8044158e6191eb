// Which top-level window the desktop counts active, asked of the display server at the
// moment of the question. Qt learns late that its window lost the focus (on X11 it
// waits a while for the focus to come back before it says so), which is too late for a
// key that hides the window when it is active and shows it otherwise.
#pragma once

#include <QtGlobal>
#include <optional>

namespace radixpad {

/// Whether the native top-level window `window` (a QWidget's winId()) is the active
/// window now: on X11 the window manager's _NET_ACTIVE_WINDOW, or the window with the
/// keyboard focus where no window manager names one. nullopt when the application
/// does not run on X11 or the server does not answer; ask Qt then.
std::optional<bool> IsActiveOnDisplay(quintptr window);

}  // namespace radixpad
