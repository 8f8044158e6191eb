// What a digit field of a given base, width and signedness lets the keyboard
// type, and how long a text it takes from typing and pasting.
#pragma once

#include <optional>

namespace radixpad {

inline constexpr char kBackspace = 8;

/// The typing limit of a field in characters: the length of the longest text of
/// the width in that base. Empty for a base or width outside the table.
std::optional<int> TextLimit(int base, int bits, bool isSigned);

/// Where the caret stands and what the field holds when a key arrives.
struct KeyContext {
  bool ctrlDown = false;
  bool fieldEmpty = false;
  bool caretAtStart = false;
};

/// True when the typed character may reach the field; false means the key is
/// refused (the caller beeps and drops it).
bool AcceptsTypedChar(int base, bool isSigned, char c, const KeyContext& context);

}  // namespace radixpad
