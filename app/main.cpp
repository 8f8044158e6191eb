// Radixpad's entry.
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "converter_app.h"

int main(int argc, char** argv) {
  const QString commandLine = radixpad::CommandLineText(argc, argv);
  if (!radixpad::NeedsWindow(commandLine)) {
    // Removal and uninstall hand their work on and end: no display is needed.
    QCoreApplication app(argc, argv);
    return radixpad::CConverterApp().Run(commandLine);
  }
  const bool platformChosen = std::getenv("QT_QPA_PLATFORM") != nullptr;
  const bool display = std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
  if (!platformChosen && !display) {
    std::fprintf(stderr,
                 "radixpad: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                 "Run it on a desktop, or under a virtual X server:  xvfb-run -a %s\n",
                 argc > 0 ? argv[0] : "radixpad");
    return 1;
  }
  QApplication app(argc, argv);
  return radixpad::CConverterApp().Run(commandLine);
}
