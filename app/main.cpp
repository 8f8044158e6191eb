// Radixpad's entry.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "converter_app.h"
#include "platform_choice.h"

int main(int argc, char** argv) {
  const QString commandLine = radixpad::CommandLineText(argc, argv);
  if (!radixpad::NeedsWindow(commandLine)) {
    // Removal and uninstall hand their work on and end: no display is needed.
    QCoreApplication app(argc, argv);
    return radixpad::CConverterApp().Run(commandLine);
  }
  const radixpad::PlatformChoice platform = radixpad::ChoosePlatform(radixpad::CurrentPlatformEnvironment());
  if (platform == radixpad::PlatformChoice::kNoDisplay) {
    std::fprintf(stderr,
                 "radixpad: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                 "Run it on a desktop, or under a virtual X server:  xvfb-run -a %s\n",
                 argc > 0 ? argv[0] : "radixpad");
    return 1;
  }
  // The platform's arguments follow the user's; both outlive the application object.
  const QByteArrayList platformArguments = radixpad::PlatformArguments(platform);
  std::vector<char*> arguments(argv, argv + argc);
  for (const QByteArray& argument : platformArguments) arguments.push_back(const_cast<char*>(argument.constData()));
  int argumentCount = static_cast<int>(arguments.size());
  arguments.push_back(nullptr);
  // Docks tie the window to its desktop entry by this name (the Wayland app id).
  QGuiApplication::setDesktopFileName(QString::fromLatin1(radixpad::kDesktopEntryName));
  QApplication app(argumentCount, arguments.data());
  return radixpad::CConverterApp().Run(commandLine);
}
