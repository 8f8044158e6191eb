// Which windowing platform Radixpad asks Qt for, decided from the environment before
// the application object is built.
#pragma once

#include <QByteArray>
#include <QByteArrayList>

namespace radixpad {

/// The variables the choice depends on; null for an unset variable.
struct PlatformEnvironment {
  const char* qtQpaPlatform = nullptr;   // QT_QPA_PLATFORM
  const char* display = nullptr;         // DISPLAY
  const char* waylandDisplay = nullptr;  // WAYLAND_DISPLAY
};

enum class PlatformChoice {
  kAsSet,      // QT_QPA_PLATFORM names the platform: Qt follows it
  kX11,        // an X display is reachable: X11 (XWayland on a Wayland session)
  kQtDefault,  // only Wayland is there: Qt's own choice, native Wayland
  kNoDisplay,  // nothing to show a window on
};

/// The window behaviours (always on top, snap, centring, the saved position) need a
/// platform that lets a program place its windows: X11 is preferred whenever a display
/// is reachable and the user has not named a platform. A set but empty variable counts
/// as unset, as Qt treats it.
PlatformChoice ChoosePlatform(const PlatformEnvironment& environment);

/// The environment of this process.
PlatformEnvironment CurrentPlatformEnvironment();

/// The arguments that carry `choice` and the program's identity to the platform
/// plugin, to be appended to the command line the application object gets: "-platform
/// xcb" for kX11, and the X11 instance name of WM_CLASS (the desktop entry's name).
QByteArrayList PlatformArguments(PlatformChoice choice);

/// The desktop entry's name without ".desktop": the Wayland app id, the X11 instance
/// name and the entry's StartupWMClass.
inline constexpr char kDesktopEntryName[] = "com.quillory.radixpad";

}  // namespace radixpad
