#include "beep.h"

#include <QApplication>

namespace radixpad {

namespace {
int g_beeps = 0;
}

void RadixpadBeep() {
  ++g_beeps;
  QApplication::beep();
}

int BeepCount() { return g_beeps; }

}  // namespace radixpad
