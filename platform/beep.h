// The one beep that answers refused input.
#pragma once

namespace radixpad {

/// Sounds the exclamation beep and counts it.
void RadixpadBeep();
/// Beeps sounded by this process so far (tests read it).
int BeepCount();

}  // namespace radixpad
