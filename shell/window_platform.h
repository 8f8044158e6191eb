// What the windowing system lets a program do with its own windows. On X11 a program
// places, stacks and raises its windows itself; a Wayland compositor keeps all of that
// to itself, so always on top, snapping to an edge, centring and a restored position
// cannot work there.
#pragma once

#include <QString>

namespace radixpad {

/// False for the Wayland platforms ("wayland", "wayland-egl", ...), true for the rest.
/// `platformName` is a windowing platform's name, as QGuiApplication::platformName().
bool ProgramsCanPlaceWindows(const QString& platformName);

}  // namespace radixpad
