#include "window_platform.h"

#include <QGuiApplication>

namespace radixpad {
namespace {

QString& PlatformNameForTesting() {
  static QString name;
  return name;
}

}  // namespace

bool ProgramsCanPlaceWindows(const QString& platformName) {
  return !platformName.startsWith(QLatin1String("wayland"), Qt::CaseInsensitive);
}

bool ProgramsCanPlaceWindows() {
  const QString& forced = PlatformNameForTesting();
  return ProgramsCanPlaceWindows(forced.isEmpty() ? QGuiApplication::platformName() : forced);
}

void SetPlatformNameForTesting(const QString& platformName) { PlatformNameForTesting() = platformName; }

}  // namespace radixpad
