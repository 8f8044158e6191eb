#include "window_platform.h"

namespace radixpad {

bool ProgramsCanPlaceWindows(const QString& platformName) {
  return !platformName.startsWith(QLatin1String("wayland"), Qt::CaseInsensitive);
}

}  // namespace radixpad
