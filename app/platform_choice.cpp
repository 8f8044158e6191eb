#include "platform_choice.h"

#include <cstdlib>
#include <cstring>

namespace radixpad {
namespace {

bool IsSet(const char* value) { return value != nullptr && *value != '\0'; }

// The argument without one of its two leading dashes, as Qt reads its own options.
const char* WithOneDash(const char* argument) { return std::strncmp(argument, "--", 2) == 0 ? argument + 1 : argument; }

constexpr char kPlatformOption[] = "-platform";
constexpr char kPlatformAssigned[] = "-platform=";

// "-platform NAME" (NAME present) or "-platform=NAME"; with one dash or two.
bool NamesPlatform(const std::vector<const char*>& arguments) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const char* argument = WithOneDash(arguments[i]);
    if (std::strcmp(argument, kPlatformOption) == 0 && i + 1 < arguments.size()) return true;
    if (std::strncmp(argument, kPlatformAssigned, std::strlen(kPlatformAssigned)) == 0) return true;
  }
  return false;
}

}  // namespace

PlatformChoice ChoosePlatform(const PlatformEnvironment& environment) {
  if (NamesPlatform(environment.arguments) || IsSet(environment.qtQpaPlatform)) return PlatformChoice::kAsSet;
  if (IsSet(environment.display)) {
    // DISPLAY may outlive its X server (a Wayland session whose XWayland is gone or
    // never started): Wayland is then the second choice, not a failed start.
    return IsSet(environment.waylandDisplay) ? PlatformChoice::kX11OrWayland : PlatformChoice::kX11;
  }
  if (IsSet(environment.waylandDisplay)) return PlatformChoice::kQtDefault;
  return PlatformChoice::kNoDisplay;
}

PlatformEnvironment CurrentPlatformEnvironment(int argc, char** argv) {
  PlatformEnvironment environment;
  environment.qtQpaPlatform = std::getenv("QT_QPA_PLATFORM");
  environment.display = std::getenv("DISPLAY");
  environment.waylandDisplay = std::getenv("WAYLAND_DISPLAY");
  for (int i = 1; i < argc; ++i) environment.arguments.push_back(argv[i]);
  return environment;
}

QByteArrayList PlatformArguments(PlatformChoice choice) {
  QByteArrayList arguments;
  // Through the command line rather than QT_QPA_PLATFORM: programs started from here
  // (a browser for the help) must not inherit the choice.
  if (choice == PlatformChoice::kX11)
    arguments << "-platform"
              << "xcb";
  // Qt tries the platforms of a list in turn.
  if (choice == PlatformChoice::kX11OrWayland)
    arguments << "-platform"
              << "xcb;wayland";
  // The X11 plugin takes the instance part of WM_CLASS from "-name"; others ignore it.
  arguments << "-name" << kDesktopEntryName;
  return arguments;
}

std::vector<char*> WithPlatformArgumentsSplit(int argc, char** argv, QByteArrayList& storage) {
  std::vector<char*> arguments;
  storage.clear();
  // Room for two pieces per argument: the list never reallocates while pointers into it are taken.
  storage.reserve(2 * static_cast<qsizetype>(argc));
  for (int i = 0; i < argc; ++i) {
    const char* argument = WithOneDash(argv[i]);
    if (i > 0 && std::strncmp(argument, kPlatformAssigned, std::strlen(kPlatformAssigned)) == 0) {
      storage << QByteArray(kPlatformOption) << QByteArray(argument + std::strlen(kPlatformAssigned));
      arguments.push_back(storage[storage.size() - 2].data());
      arguments.push_back(storage.back().data());
    } else {
      arguments.push_back(argv[i]);
    }
  }
  return arguments;
}

}  // namespace radixpad
