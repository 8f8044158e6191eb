// The one beep that answers refused input.
#pragma once

#include "converter_view.h"

namespace radixpad {

/// Sounds the exclamation beep and counts it.
void RadixpadBeep();
/// Beeps sounded by this process so far (tests read it).
int BeepCount();

class CQtBeeper : public IBeeper {
 public:
  void Beep() override { RadixpadBeep(); }
};

}  // namespace radixpad
