// The global key's pure parts: a key combination as X11 keysym, keycodes and modifier
// bits on a given keyboard, and as the portal's trigger; the modifier bits a server's
// modifier mapping gives; the stored text of a key; the way chosen from the environment.
#include "global_key.h"

#include <gtest/gtest.h>

#include <QString>
#include <cstdint>
#include <vector>

#include "key_symbols.h"
#include "test_environment.h"

namespace radixpad::test {
namespace {

// A US keyboard as an X server reports it, four keysyms a keycode (two levels of two
// groups), with one spare keycode remapped to type k as well.
struct Keyboard {
  X11KeyboardMapping keys;
  X11ModifierMapping modifiers;
};

void Put(X11KeyboardMapping& keys, int keycode, std::vector<uint32_t> syms) {
  for (std::size_t i = 0; i < syms.size(); ++i) {
    keys.keysyms[static_cast<std::size_t>((keycode - keys.minKeycode) * keys.keysymsPerKeycode) + i] = syms[i];
  }
}

// `numLockRow` and `superRow`: the modifier rows (3 = Mod1 .. 7 = Mod5) holding Num Lock
// and Super; -1 leaves the key out of the modifier mapping.
Keyboard UsKeyboard(int numLockRow = 4, int superRow = 6) {
  Keyboard keyboard;
  X11KeyboardMapping& keys = keyboard.keys;
  keys.minKeycode = 8;
  keys.keysymsPerKeycode = 4;
  keys.keysyms.assign(static_cast<std::size_t>(248 * 4), 0);
  Put(keys, 10, {'1', '!'});
  Put(keys, 24, {'q', 'Q'});
  Put(keys, 38, {'a', 'A'});
  Put(keys, 45, {'k', 'K'});
  Put(keys, 36, {0xff0d});                  // Return
  Put(keys, 65, {' '});                     // space
  Put(keys, 67, {0xffbe});                  // F1
  Put(keys, 79, {0xff95, 0xffb7});          // KP_Home, KP_7
  Put(keys, 86, {0xffab});                  // KP_Add
  Put(keys, 113, {0xff51});                 // Left
  Put(keys, 148, {0x1008ff1d});             // XF86Calculator
  Put(keys, 200, {'k', 'K'});               // a spare keycode mapped to k
  Put(keys, 52, {'z', 'Z', 0x6d1, 0x6f1});  // a second group: only typed after a group switch
  Put(keys, 37, {0xffe3});                  // Control_L
  Put(keys, 50, {0xffe1});                  // Shift_L
  Put(keys, 64, {0xffe9});                  // Alt_L
  Put(keys, 66, {0xffe5});                  // Caps_Lock
  Put(keys, 77, {0xff7f});                  // Num_Lock
  Put(keys, 133, {0xffeb});                 // Super_L
  X11ModifierMapping& mods = keyboard.modifiers;
  mods.keycodesPerModifier = 2;
  mods.keycodes.assign(16, 0);
  const auto row = [&mods](int r, uint8_t keycode) { mods.keycodes[static_cast<std::size_t>(r * 2)] = keycode; };
  row(0, 50);
  row(1, 66);
  row(2, 37);
  row(3, 64);
  if (numLockRow >= 0) row(numLockRow, 77);
  if (superRow >= 0) row(superRow, 133);
  return keyboard;
}

TEST(GlobalKeyMapping, KeySequenceBecomesKeysymKeycodesModifiersAndTrigger) {
  const Keyboard us = UsKeyboard();
  const X11ModifierMasks masks = ModifierMasksOf(us.keys, us.modifiers);
  const struct {
    const char* stored;
    uint32_t keysym;
    std::vector<uint8_t> keycodes;
    uint16_t modifiers;  // Shift 1, Control 4, Alt (Mod1) 8, Super (Mod4) 0x40
    const char* trigger;
    bool usable;
  } cases[] = {
      {"Ctrl+Alt+K", 'k', {45, 200}, 0x0c, "CTRL+ALT+k", true},  // every keycode that types k
      {"Ctrl+Shift+A", 'a', {38}, 0x05, "CTRL+SHIFT+a", true},
      {"Meta+Q", 'q', {24}, 0x40, "LOGO+q", true},
      // '!' is the shifted level of 1: Shift is held whether the text says so or not.
      {"Ctrl+!", '!', {10}, 0x05, "CTRL+exclam", true},
      {"Ctrl+Shift+!", '!', {10}, 0x05, "CTRL+SHIFT+exclam", true},
      {"Alt+Space", ' ', {65}, 0x08, "ALT+space", true},
      // The keypad's second level is Num Lock's, not Shift's.
      {"Ctrl+Num+7", 0xffb7, {79}, 0x04, "CTRL+KP_7", true},
      {"Ctrl+Num++", 0xffab, {86}, 0x04, "CTRL+KP_Add", true},
      {"Ctrl+Alt+Left", 0xff51, {113}, 0x0c, "CTRL+ALT+Left", true},
      {"F1", 0xffbe, {67}, 0x00, "F1", true},
      {"Calculator", 0x1008ff1d, {148}, 0x00, "XF86Calculator", true},
      // Not on this keyboard, or only after a group switch: nothing to grab.
      {"Ctrl+F13", 0xffca, {}, 0x04, "CTRL+F13", true},
      {"Ctrl+\xd0\xaf", 0x100044f, {}, 0x04, "CTRL+U044F", true},
      // Alone, these would be taken from typing in every program.
      {"A", 'a', {38}, 0x00, "a", false},
      {"Shift+Return", 0xff0d, {36}, 0x01, "SHIFT+Return", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    const QKeyCombination key = KeyFromText(QString::fromUtf8(c.stored));
    ASSERT_FALSE(IsNoKey(key));
    EXPECT_EQ(KeySymOf(key), c.keysym);
    const X11Grab grab = GrabOf(key, us.keys, masks);
    EXPECT_EQ(grab.keycodes, c.keycodes);
    EXPECT_EQ(grab.modifiers, c.modifiers);
    EXPECT_EQ(PortalTriggerOf(key).toStdString(), c.trigger);
    EXPECT_EQ(IsUsableGlobalKey(key), c.usable);
  }
  EXPECT_FALSE(IsUsableGlobalKey(QKeyCombination(Qt::ControlModifier, Qt::Key_Control))) << "a modifier alone";
}

TEST(GlobalKeyMapping, ModifierBitsFollowTheModifierMappingAndLocksAreAllGrabbed) {
  const struct {
    const char* layout;
    int numLockRow;
    int superRow;
    X11ModifierMasks masks;
    std::vector<uint16_t> ctrlAltVariants;
  } cases[] = {
      {"usual", 4, 6, {}, {0x0c, 0x0e, 0x1c, 0x1e}},
      {"Num Lock on Mod3, Super on Mod2", 5, 4, {.numLock = 0x20, .super = 0x10}, {0x0c, 0x0e, 0x2c, 0x2e}},
      // Without Num Lock in the mapping only Caps Lock doubles the grabs; Super keeps Mod4.
      {"no Num Lock, no Super", -1, -1, {.numLock = 0}, {0x0c, 0x0e}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.layout);
    const Keyboard keyboard = UsKeyboard(c.numLockRow, c.superRow);
    const X11ModifierMasks masks = ModifierMasksOf(keyboard.keys, keyboard.modifiers);
    EXPECT_EQ(masks, c.masks);
    EXPECT_EQ(LockVariants(0x0c, masks), c.ctrlAltVariants);
    // An event's state matches with either lock on, and with a pointer button held.
    for (uint16_t variant : c.ctrlAltVariants) EXPECT_TRUE(SameModifiers(variant | 0x100, 0x0c, masks)) << variant;
    EXPECT_FALSE(SameModifiers(0x0d, 0x0c, masks)) << "Shift too is another combination";
    EXPECT_FALSE(SameModifiers(0x04, 0x0c, masks)) << "Alt missing";
  }
}

TEST(GlobalKeyMapping, StoredTextIsOneCombinationOrNone) {
  const struct {
    const char* stored;
    const char* readBack;  // "" for no key
  } cases[] = {
      {"Ctrl+Alt+K", "Ctrl+Alt+K"}, {"  Meta+F12 ", "Meta+F12"}, {"ctrl+alt+k", "Ctrl+Alt+K"}, {"", ""},
      {"Ctrl+K, Ctrl+L", ""},       {"Ctrl+Nonsense", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KeyToText(KeyFromText(QString::fromLatin1(c.stored))).toStdString(), c.readBack) << c.stored;
  }
}

TEST(GlobalKeyWayChoice, FromTheSessionThePlatformAndThePortal) {
  using W = GlobalKeyWay;
  const struct {
    const char* sessionType;
    const char* waylandDisplay;
    const char* qtPlatform;
    W withPortal;
    W withoutPortal;
  } cases[] = {
      {"x11", "", "xcb", W::kX11Grab, W::kX11Grab},
      {"", "", "xcb", W::kX11Grab, W::kX11Grab},
      {"tty", "", "xcb", W::kX11Grab, W::kX11Grab},
      // Through XWayland a grab would see only the keys typed into X11 windows.
      {"wayland", "wayland-0", "xcb", W::kPortal, W::kDesktopSettings},
      {"", "wayland-0", "xcb", W::kPortal, W::kDesktopSettings},
      {"Wayland", "", "xcb", W::kPortal, W::kDesktopSettings},
      {"wayland", "wayland-0", "wayland", W::kPortal, W::kDesktopSettings},
      {"", "", "wayland-egl", W::kPortal, W::kDesktopSettings},
      // No X connection of its own (offscreen, a VNC platform): the portal, where offered.
      {"x11", "", "offscreen", W::kPortal, W::kDesktopSettings},
      {"", "", "vnc", W::kPortal, W::kDesktopSettings},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.sessionType) + " | " + c.waylandDisplay + " | " + c.qtPlatform);
    const GlobalKeyEnvironment environment{QString::fromLatin1(c.sessionType), QString::fromLatin1(c.waylandDisplay),
                                           QString::fromLatin1(c.qtPlatform)};
    EXPECT_EQ(ChooseGlobalKeyWay(environment, true), c.withPortal);
    EXPECT_EQ(ChooseGlobalKeyWay(environment, false), c.withoutPortal);
  }
}

// Without a key nothing is asked; a typing key alone is refused before anything is asked;
// a key where neither X11 nor a session bus is there ends at the desktop's settings.
TEST(GlobalKeyState, FollowsTheKeyWithoutADesktop) {
  ScopedEnvironment environment;
  environment.Set("DBUS_SESSION_BUS_ADDRESS", QStringLiteral("unix:path=") + environment.Root() + "/no-bus");
  CGlobalKey key({QString(), QString(), QStringLiteral("offscreen")}, [] { return QStringLiteral("Show or hide"); });
  int changes = 0;
  QObject::connect(&key, &CGlobalKey::stateChanged, [&changes] { ++changes; });
  EXPECT_EQ(key.State(), GlobalKeyState::kNone);
  key.SetKey(KeyFromText(QStringLiteral("A")));
  EXPECT_EQ(key.State(), GlobalKeyState::kNeedsModifier);
  key.SetKey(KeyFromText(QStringLiteral("Ctrl+Alt+K")));
  EXPECT_EQ(key.State(), GlobalKeyState::kDesktopSettings);
  EXPECT_EQ(key.Way(), GlobalKeyWay::kDesktopSettings);
  const int before = changes;
  key.SetKey(KeyFromText(QStringLiteral("Ctrl+Alt+K")));
  EXPECT_EQ(changes, before) << "the same key again is no change";
  key.SetKey(kNoKey);
  EXPECT_EQ(key.State(), GlobalKeyState::kNone);

  // A key that could not be taken is tried again when chosen again.
  CGlobalKey x11({QString(), QString(), QStringLiteral("xcb")}, [] { return QString(); });
  int tries = 0;
  QObject::connect(&x11, &CGlobalKey::stateChanged, [&tries] { ++tries; });
  x11.SetKey(KeyFromText(QStringLiteral("Ctrl+Alt+K")));
  ASSERT_EQ(x11.State(), GlobalKeyState::kFailed) << "no X11 connection offscreen";
  x11.SetKey(KeyFromText(QStringLiteral("Ctrl+Alt+K")));
  EXPECT_EQ(tries, 2);
}

}  // namespace
}  // namespace radixpad::test
