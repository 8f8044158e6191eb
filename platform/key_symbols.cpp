#include "key_symbols.h"

#include <QChar>
#include <algorithm>

namespace radixpad {
namespace {

struct NamedKey {
  int qtKey;
  uint32_t keysym;
  const char* name;  // the keysym's name
};

// Keys that are not characters. The function keys F1 to F35 are counted, not listed.
constexpr NamedKey kSpecialKeys[] = {
    {Qt::Key_Escape, 0xff1b, "Escape"},
    {Qt::Key_Tab, 0xff09, "Tab"},
    {Qt::Key_Backtab, 0xfe20, "ISO_Left_Tab"},
    {Qt::Key_Backspace, 0xff08, "BackSpace"},
    {Qt::Key_Return, 0xff0d, "Return"},
    {Qt::Key_Enter, 0xff8d, "KP_Enter"},
    {Qt::Key_Insert, 0xff63, "Insert"},
    {Qt::Key_Delete, 0xffff, "Delete"},
    {Qt::Key_Pause, 0xff13, "Pause"},
    {Qt::Key_Print, 0xff61, "Print"},
    {Qt::Key_SysReq, 0xff15, "Sys_Req"},
    {Qt::Key_Clear, 0xff0b, "Clear"},
    {Qt::Key_Home, 0xff50, "Home"},
    {Qt::Key_End, 0xff57, "End"},
    {Qt::Key_Left, 0xff51, "Left"},
    {Qt::Key_Up, 0xff52, "Up"},
    {Qt::Key_Right, 0xff53, "Right"},
    {Qt::Key_Down, 0xff54, "Down"},
    {Qt::Key_PageUp, 0xff55, "Prior"},
    {Qt::Key_PageDown, 0xff56, "Next"},
    {Qt::Key_Menu, 0xff67, "Menu"},
    {Qt::Key_Help, 0xff6a, "Help"},
    {Qt::Key_Space, 0x20, "space"},
    // Media and launch keys: these may be taken alone.
    {Qt::Key_VolumeDown, 0x1008ff11, "XF86AudioLowerVolume"},
    {Qt::Key_VolumeMute, 0x1008ff12, "XF86AudioMute"},
    {Qt::Key_VolumeUp, 0x1008ff13, "XF86AudioRaiseVolume"},
    {Qt::Key_MediaPlay, 0x1008ff14, "XF86AudioPlay"},
    {Qt::Key_MediaStop, 0x1008ff15, "XF86AudioStop"},
    {Qt::Key_MediaPrevious, 0x1008ff16, "XF86AudioPrev"},
    {Qt::Key_MediaNext, 0x1008ff17, "XF86AudioNext"},
    {Qt::Key_HomePage, 0x1008ff18, "XF86HomePage"},
    {Qt::Key_LaunchMail, 0x1008ff19, "XF86Mail"},
    {Qt::Key_Search, 0x1008ff1b, "XF86Search"},
    {Qt::Key_Calculator, 0x1008ff1d, "XF86Calculator"},
    {Qt::Key_Launch0, 0x1008ff40, "XF86Launch0"},
    {Qt::Key_Launch1, 0x1008ff41, "XF86Launch1"},
    {Qt::Key_Launch2, 0x1008ff42, "XF86Launch2"},
    {Qt::Key_Launch3, 0x1008ff43, "XF86Launch3"},
    {Qt::Key_Launch4, 0x1008ff44, "XF86Launch4"},
    {Qt::Key_Launch5, 0x1008ff45, "XF86Launch5"},
    {Qt::Key_Launch6, 0x1008ff46, "XF86Launch6"},
    {Qt::Key_Launch7, 0x1008ff47, "XF86Launch7"},
    {Qt::Key_Launch8, 0x1008ff48, "XF86Launch8"},
    {Qt::Key_Launch9, 0x1008ff49, "XF86Launch9"},
};

// Keys of the numeric keypad, as Qt reports them with the keypad modifier: the digits
// and operators with Num Lock on, the movement keys with it off.
constexpr NamedKey kKeypadKeys[] = {
    {Qt::Key_0, 0xffb0, "KP_0"},
    {Qt::Key_1, 0xffb1, "KP_1"},
    {Qt::Key_2, 0xffb2, "KP_2"},
    {Qt::Key_3, 0xffb3, "KP_3"},
    {Qt::Key_4, 0xffb4, "KP_4"},
    {Qt::Key_5, 0xffb5, "KP_5"},
    {Qt::Key_6, 0xffb6, "KP_6"},
    {Qt::Key_7, 0xffb7, "KP_7"},
    {Qt::Key_8, 0xffb8, "KP_8"},
    {Qt::Key_9, 0xffb9, "KP_9"},
    {Qt::Key_Asterisk, 0xffaa, "KP_Multiply"},
    {Qt::Key_Plus, 0xffab, "KP_Add"},
    {Qt::Key_Comma, 0xffac, "KP_Separator"},
    {Qt::Key_Minus, 0xffad, "KP_Subtract"},
    {Qt::Key_Period, 0xffae, "KP_Decimal"},
    {Qt::Key_Slash, 0xffaf, "KP_Divide"},
    {Qt::Key_Equal, 0xffbd, "KP_Equal"},
    {Qt::Key_Enter, 0xff8d, "KP_Enter"},
    {Qt::Key_Home, 0xff95, "KP_Home"},
    {Qt::Key_Left, 0xff96, "KP_Left"},
    {Qt::Key_Up, 0xff97, "KP_Up"},
    {Qt::Key_Right, 0xff98, "KP_Right"},
    {Qt::Key_Down, 0xff99, "KP_Down"},
    {Qt::Key_PageUp, 0xff9a, "KP_Prior"},
    {Qt::Key_PageDown, 0xff9b, "KP_Next"},
    {Qt::Key_End, 0xff9c, "KP_End"},
    {Qt::Key_Clear, 0xff9d, "KP_Begin"},
    {Qt::Key_Insert, 0xff9e, "KP_Insert"},
    {Qt::Key_Delete, 0xff9f, "KP_Delete"},
};

// The names of the printable ASCII keysyms that are neither letters nor digits.
struct PunctuationName {
  char32_t character;
  const char* name;
};
constexpr PunctuationName kPunctuation[] = {
    {'!', "exclam"},      {'"', "quotedbl"},    {'#', "numbersign"},  {'$', "dollar"},     {'%', "percent"},
    {'&', "ampersand"},   {'\'', "apostrophe"}, {'(', "parenleft"},   {')', "parenright"}, {'*', "asterisk"},
    {'+', "plus"},        {',', "comma"},       {'-', "minus"},       {'.', "period"},     {'/', "slash"},
    {':', "colon"},       {';', "semicolon"},   {'<', "less"},        {'=', "equal"},      {'>', "greater"},
    {'?', "question"},    {'@', "at"},          {'[', "bracketleft"}, {'\\', "backslash"}, {']', "bracketright"},
    {'^', "asciicircum"}, {'_', "underscore"},  {'`', "grave"},       {'{', "braceleft"},  {'|', "bar"},
    {'}', "braceright"},  {'~', "asciitilde"},
};

constexpr uint32_t kNumLockKeysym = 0xff7f;
constexpr uint32_t kAltKeysyms[] = {0xffe9, 0xffea};    // Alt_L, Alt_R
constexpr uint32_t kSuperKeysyms[] = {0xffeb, 0xffec};  // Super_L, Super_R
constexpr uint32_t kUnicodeKeysymBase = 0x01000000;

bool IsFunctionKey(int key) { return key >= Qt::Key_F1 && key <= Qt::Key_F35; }

// Keysyms of the keypad: their second level is the Num Lock one, not the Shift one.
bool IsKeypadKeysym(uint32_t keysym) { return keysym >= 0xff80 && keysym <= 0xffbd; }

const NamedKey* FindNamed(QKeyCombination key) {
  const int code = key.key();
  if (key.keyboardModifiers().testFlag(Qt::KeypadModifier)) {
    for (const NamedKey& named : kKeypadKeys) {
      if (named.qtKey == code) return &named;
    }
  }
  for (const NamedKey& named : kSpecialKeys) {
    if (named.qtKey == code) return &named;
  }
  return nullptr;
}

// Letters as their lower-case keysym, as the first level of a keyboard holds them.
char32_t LowerCase(int key) {
  return key <= 0xffff ? QChar(static_cast<char16_t>(key)).toLower().unicode() : static_cast<char32_t>(key);
}

bool Contains(const uint32_t* begin, const uint32_t* end, uint32_t keysym) {
  return std::find(begin, end, keysym) != end;
}

}  // namespace

X11ModifierMasks ModifierMasksOf(const X11KeyboardMapping& keyboard, const X11ModifierMapping& modifiers) {
  X11ModifierMasks masks;
  masks.numLock = 0;
  bool altFound = false;
  bool superFound = false;
  const int per = keyboard.keysymsPerKeycode;
  // Rows 3 to 7 are Mod1 to Mod5.
  for (int row = 3; row < 8; ++row) {
    const auto bit = static_cast<uint16_t>(1u << row);
    for (int i = 0; i < modifiers.keycodesPerModifier; ++i) {
      const std::size_t at = static_cast<std::size_t>(row * modifiers.keycodesPerModifier + i);
      if (at >= modifiers.keycodes.size()) break;
      const int keycode = modifiers.keycodes[at];
      if (keycode == 0 || keycode < keyboard.minKeycode || per <= 0) continue;
      const std::size_t first = static_cast<std::size_t>((keycode - keyboard.minKeycode) * per);
      if (first + static_cast<std::size_t>(per) > keyboard.keysyms.size()) continue;
      const uint32_t* syms = keyboard.keysyms.data() + first;
      if (masks.numLock == 0 && Contains(syms, syms + per, kNumLockKeysym)) masks.numLock = bit;
      if (!altFound && (Contains(syms, syms + per, kAltKeysyms[0]) || Contains(syms, syms + per, kAltKeysyms[1]))) {
        masks.alt = bit;
        altFound = true;
      }
      if (!superFound &&
          (Contains(syms, syms + per, kSuperKeysyms[0]) || Contains(syms, syms + per, kSuperKeysyms[1]))) {
        masks.super = bit;
        superFound = true;
      }
    }
  }
  return masks;
}

uint32_t KeySymOf(QKeyCombination key) {
  if (const NamedKey* named = FindNamed(key)) return named->keysym;
  const int code = key.key();
  if (IsFunctionKey(code)) return 0xffbe + static_cast<uint32_t>(code - Qt::Key_F1);
  if (code < 0x20 || code > 0x10ffff || (code >= 0x7f && code < 0xa0)) return 0;
  const char32_t character = LowerCase(code);
  // Latin-1 keysyms are the characters themselves; the rest of Unicode has its own range.
  return character <= 0xff ? static_cast<uint32_t>(character) : kUnicodeKeysymBase + static_cast<uint32_t>(character);
}

X11Grab GrabOf(QKeyCombination key, const X11KeyboardMapping& keyboard, const X11ModifierMasks& masks) {
  X11Grab grab;
  const Qt::KeyboardModifiers held = key.keyboardModifiers();
  if (held.testFlag(Qt::ShiftModifier)) grab.modifiers |= masks.shift;
  if (held.testFlag(Qt::ControlModifier)) grab.modifiers |= masks.control;
  if (held.testFlag(Qt::AltModifier)) grab.modifiers |= masks.alt;
  if (held.testFlag(Qt::MetaModifier)) grab.modifiers |= masks.super;

  const uint32_t keysym = KeySymOf(key);
  const int per = keyboard.keysymsPerKeycode;
  if (keysym == 0 || per <= 0) return grab;
  // Only the two levels of the first group: typing the others needs a group switch.
  const int levels = std::min(per, 2);
  int bestLevel = levels;
  const int count = static_cast<int>(keyboard.keysyms.size()) / per;
  for (int index = 0; index < count; ++index) {
    const int keycode = keyboard.minKeycode + index;
    if (keycode > 255) break;
    for (int level = 0; level < levels && level <= bestLevel; ++level) {
      if (keyboard.keysyms[static_cast<std::size_t>(index * per + level)] != keysym) continue;
      if (level < bestLevel) grab.keycodes.clear();
      bestLevel = level;
      grab.keycodes.push_back(static_cast<uint8_t>(keycode));
      break;
    }
  }
  if (!grab.keycodes.empty() && bestLevel == 1 && !IsKeypadKeysym(keysym)) grab.modifiers |= masks.shift;
  return grab;
}

std::vector<uint16_t> LockVariants(uint16_t modifiers, const X11ModifierMasks& masks) {
  std::vector<uint16_t> variants;
  for (uint16_t extra : {uint16_t{0}, masks.lock, masks.numLock, static_cast<uint16_t>(masks.lock | masks.numLock)}) {
    const auto variant = static_cast<uint16_t>(modifiers | extra);
    if (std::find(variants.begin(), variants.end(), variant) == variants.end()) variants.push_back(variant);
  }
  return variants;
}

bool SameModifiers(uint16_t eventState, uint16_t modifiers, const X11ModifierMasks& masks) {
  // The low eight bits are the modifiers; the rest of the state are pointer buttons.
  const auto ignored = static_cast<uint16_t>(masks.lock | masks.numLock);
  return (eventState & 0xff & ~ignored) == (modifiers & ~ignored);
}

QString PortalTriggerOf(QKeyCombination key) {
  QString name;
  if (const NamedKey* named = FindNamed(key)) {
    name = QString::fromLatin1(named->name);
  } else if (IsFunctionKey(key.key())) {
    name = QStringLiteral("F%1").arg(key.key() - Qt::Key_F1 + 1);
  } else if (const uint32_t keysym = KeySymOf(key); keysym != 0) {
    const auto* punctuation = std::find_if(std::begin(kPunctuation), std::end(kPunctuation),
                                           [keysym](const PunctuationName& p) { return p.character == keysym; });
    if (punctuation != std::end(kPunctuation)) {
      name = QString::fromLatin1(punctuation->name);
    } else if (keysym < 0x7f) {
      name = QString(QChar(static_cast<char16_t>(keysym)));
    } else {
      const uint32_t character = keysym >= kUnicodeKeysymBase ? keysym - kUnicodeKeysymBase : keysym;
      name = QStringLiteral("U%1").arg(character, 4, 16, QLatin1Char('0')).toUpper();
    }
  }
  if (name.isEmpty()) return {};
  const Qt::KeyboardModifiers held = key.keyboardModifiers();
  QString trigger;
  if (held.testFlag(Qt::ControlModifier)) trigger += QStringLiteral("CTRL+");
  if (held.testFlag(Qt::AltModifier)) trigger += QStringLiteral("ALT+");
  if (held.testFlag(Qt::ShiftModifier)) trigger += QStringLiteral("SHIFT+");
  if (held.testFlag(Qt::MetaModifier)) trigger += QStringLiteral("LOGO+");
  return trigger + name;
}

bool IsUsableGlobalKey(QKeyCombination key) {
  const int code = key.key();
  // Modifier keys alone, Qt::Key_unknown and other keys beyond Unicode have no keysym.
  if (KeySymOf(key) == 0) return false;
  const Qt::KeyboardModifiers held = key.keyboardModifiers();
  if (held & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return true;
  return IsFunctionKey(code) || code == Qt::Key_Pause || code == Qt::Key_Print || KeySymOf(key) >= 0x1008ff00;
}

}  // namespace radixpad
