#include "platform_choice.h"

#include <cstdlib>

namespace radixpad {
namespace {

bool IsSet(const char* value) { return value != nullptr && *value != '\0'; }

}  // namespace

PlatformChoice ChoosePlatform(const PlatformEnvironment& environment) {
  if (IsSet(environment.qtQpaPlatform)) return PlatformChoice::kAsSet;
  if (IsSet(environment.display)) return PlatformChoice::kX11;
  if (IsSet(environment.waylandDisplay)) return PlatformChoice::kQtDefault;
  return PlatformChoice::kNoDisplay;
}

PlatformEnvironment CurrentPlatformEnvironment() {
  PlatformEnvironment environment;
  environment.qtQpaPlatform = std::getenv("QT_QPA_PLATFORM");
  environment.display = std::getenv("DISPLAY");
  environment.waylandDisplay = std::getenv("WAYLAND_DISPLAY");
  return environment;
}

QByteArrayList PlatformArguments(PlatformChoice choice) {
  QByteArrayList arguments;
  // Through the command line rather than QT_QPA_PLATFORM: programs started from here
  // (a browser for the help) must not inherit the choice.
  if (choice == PlatformChoice::kX11)
    arguments << "-platform"
              << "xcb";
  // The X11 plugin takes the instance part of WM_CLASS from "-name"; others ignore it.
  arguments << "-name" << kDesktopEntryName;
  return arguments;
}

}  // namespace radixpad
