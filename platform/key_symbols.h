// Keys as the X server and the desktop portal name them. A Qt key combination becomes
// an X keysym, the keycodes that type it on the server's keyboard and the modifier
// bits to hold with them; or the portal's trigger text. Pure functions over the
// mappings the server reports, so they can be tried on any keyboard.
#pragma once

#include <QKeyCombination>
#include <QString>
#include <cstdint>
#include <vector>

namespace radixpad {

/// The server's keyboard mapping: `keysymsPerKeycode` keysyms for each keycode from
/// `minKeycode` on (0 where a keycode has none).
struct X11KeyboardMapping {
  int minKeycode = 8;
  int keysymsPerKeycode = 0;
  std::vector<uint32_t> keysyms;
};

/// The server's modifier mapping: eight rows (Shift, Lock, Control, Mod1 to Mod5) of
/// `keycodesPerModifier` keycodes each (0: none).
struct X11ModifierMapping {
  int keycodesPerModifier = 0;
  std::vector<uint8_t> keycodes;
};

/// The modifier bits of the X server. Alt, Num Lock and Super sit on whichever of
/// Mod1 to Mod5 the modifier mapping puts them; the values here are the usual ones.
struct X11ModifierMasks {
  uint16_t shift = 0x01;
  uint16_t lock = 0x02;  // Caps Lock
  uint16_t control = 0x04;
  uint16_t alt = 0x08;      // Mod1
  uint16_t numLock = 0x10;  // Mod2; 0 on a keyboard without Num Lock
  uint16_t super = 0x40;    // Mod4
  bool operator==(const X11ModifierMasks&) const = default;
};

/// The masks of a server's mappings: Alt, Num Lock and Super where its modifier
/// mapping holds their keys (Alt and Super keep the usual bit when it holds none).
X11ModifierMasks ModifierMasksOf(const X11KeyboardMapping& keyboard, const X11ModifierMapping& modifiers);

/// What to grab for one key combination: any of `keycodes` with exactly `modifiers`.
struct X11Grab {
  std::vector<uint8_t> keycodes;
  uint16_t modifiers = 0;
};

/// The keysym `key` stands for (lower-case letters, keypad keys with the keypad
/// modifier), or 0 when it stands for none.
uint32_t KeySymOf(QKeyCombination key);

/// The grab for `key` on this keyboard: the keycodes that type its keysym without
/// changing groups (Shift is added when only the shifted level has it), and the
/// modifier bits of Shift, Ctrl, Alt and Meta (Super). No keycodes when no key types it.
X11Grab GrabOf(QKeyCombination key, const X11KeyboardMapping& keyboard, const X11ModifierMasks& masks);

/// `modifiers` with every combination of Caps Lock and Num Lock, so the key works
/// whichever of them is on.
std::vector<uint16_t> LockVariants(uint16_t modifiers, const X11ModifierMasks& masks);

/// Whether an X key event's state is `modifiers`, Caps Lock and Num Lock aside.
bool SameModifiers(uint16_t eventState, uint16_t modifiers, const X11ModifierMasks& masks);

/// The key as the desktop portal's preferred trigger: the modifiers CTRL, ALT, SHIFT
/// and LOGO, then the keysym's name ("CTRL+ALT+k", "LOGO+F1"); empty when it has none.
QString PortalTriggerOf(QKeyCombination key);

/// False for a combination that would take typing or editing from every program:
/// no key, a modifier alone, or a key that types or moves (letters, digits, Space,
/// Return, arrows...) without Ctrl, Alt or Meta. Function keys, Pause, Print and the
/// media and launch keys may stand alone.
bool IsUsableGlobalKey(QKeyCombination key);

}  // namespace radixpad
