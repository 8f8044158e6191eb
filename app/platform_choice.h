// Which windowing platform Radixpad asks Qt for, decided from the environment before
// the application object is built.
#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <vector>

namespace radixpad {

/// What the choice depends on: three variables (null for an unset one) and the
/// program's arguments (after its name).
struct PlatformEnvironment {
  const char* qtQpaPlatform = nullptr;   // QT_QPA_PLATFORM
  const char* display = nullptr;         // DISPLAY
  const char* waylandDisplay = nullptr;  // WAYLAND_DISPLAY
  std::vector<const char*> arguments;
};

enum class PlatformChoice {
  kAsSet,         // the user names the platform (QT_QPA_PLATFORM, or -platform on the
                  // command line): Qt follows it
  kX11,           // an X display is announced: X11
  kX11OrWayland,  // both are announced: X11 (XWayland), else Wayland when no X server answers
  kQtDefault,     // only Wayland is there: Qt's own choice, native Wayland
  kNoDisplay,     // nothing to show a window on
};

/// The window behaviours (always on top, snap, centring, the saved position) need a
/// platform that lets a program place its windows: X11 is preferred whenever a display
/// is announced and the user has not named a platform. A set but empty variable counts
/// as unset, as Qt treats it. "-platform NAME", "-platform=NAME" and the same with two
/// dashes name the platform on the command line.
PlatformChoice ChoosePlatform(const PlatformEnvironment& environment);

/// The environment and the arguments of this process.
PlatformEnvironment CurrentPlatformEnvironment(int argc, char** argv);

/// The arguments that carry `choice` and the program's identity to the platform
/// plugin, to be appended to the command line the application object gets: "-platform
/// xcb" for kX11, "-platform xcb;wayland" (tried in that order) for kX11OrWayland, and
/// the X11 instance name of WM_CLASS (the desktop entry's name).
QByteArrayList PlatformArguments(PlatformChoice choice);

/// The program's arguments as the application object is to get them: a platform named
/// as "-platform=NAME" (or with two dashes) becomes "-platform NAME", the form Qt reads.
std::vector<char*> WithPlatformArgumentsSplit(int argc, char** argv, QByteArrayList& storage);

/// The desktop entry's name without ".desktop": the Wayland app id, the X11 instance
/// name and the entry's StartupWMClass.
inline constexpr char kDesktopEntryName[] = "com.quillory.radixpad";

}  // namespace radixpad
