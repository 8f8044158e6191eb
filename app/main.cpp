// Radixpad's entry.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "converter_app.h"
#include "platform_choice.h"
#include "print_command.h"

namespace {

constexpr char kUsage[] =
    "Usage: radixpad              start Radixpad, or bring the running one to the front\n"
    "       radixpad --show       show the running Radixpad (start it when none runs)\n"
    "       radixpad --hide       hide the running Radixpad\n"
    "       radixpad --toggle     show the running Radixpad, or hide it when it is the active window\n"
    "       radixpad /uninstall   make the running Radixpad end and forget its settings\n"
    "       radixpad -r           start the removal program\n"
    "       radixpad --print ...  convert values in the terminal (radixpad --print --help)\n"
    "       radixpad --help | --version\n";

}  // namespace

int main(int argc, char** argv) {
  // Answers in the terminal: no display, no settings, no running copy.
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    std::cout << kUsage;
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::cout << "radixpad " << RADIXPAD_VERSION << '\n';
    return 0;
  }
  if (argc >= 2 && std::strcmp(argv[1], "--print") == 0) {
    return radixpad::RunPrintCommand(std::vector<std::string>(argv + 2, argv + argc), std::cout, std::cerr,
                                     RADIXPAD_VERSION);
  }
  const QString commandLine = radixpad::CommandLineText(argc, argv);
  const radixpad::PlatformChoice platform = radixpad::ChoosePlatform(radixpad::CurrentPlatformEnvironment(argc, argv));
  // Removal and uninstall hand their work on and end: no display is needed. Hide and
  // toggle only reach the running copy, and use a display only when there is one.
  if (!radixpad::NeedsWindow(commandLine) &&
      (!radixpad::UsesDisplayIfThere(commandLine) || platform == radixpad::PlatformChoice::kNoDisplay)) {
    QCoreApplication app(argc, argv);
    return radixpad::CConverterApp().Run(commandLine);
  }
  if (platform == radixpad::PlatformChoice::kNoDisplay) {
    std::fprintf(stderr,
                 "radixpad: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                 "Run it on a desktop, or under a virtual X server:  xvfb-run -a %s\n",
                 argc > 0 ? argv[0] : "radixpad");
    return 1;
  }
  // The user's arguments (a platform named as -platform=NAME made readable for Qt), then
  // the platform's; all outlive the application object.
  QByteArrayList userPieces;
  std::vector<char*> arguments = radixpad::WithPlatformArgumentsSplit(argc, argv, userPieces);
  const QByteArrayList platformArguments = radixpad::PlatformArguments(platform);
  for (const QByteArray& argument : platformArguments) arguments.push_back(const_cast<char*>(argument.constData()));
  int argumentCount = static_cast<int>(arguments.size());
  arguments.push_back(nullptr);
  // Docks tie the window to its desktop entry by this name (the Wayland app id).
  QGuiApplication::setDesktopFileName(QString::fromLatin1(radixpad::kDesktopEntryName));
  QApplication app(argumentCount, arguments.data());
  return radixpad::CConverterApp().Run(commandLine);
}
