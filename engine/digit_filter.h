// What a digit field of a given base, width and signedness lets the keyboard
// type, how a pasted text is tidied, and how long a text it takes from typing
// and pasting.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

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

/// The same test for a text typed at once (a key that types several characters,
/// an input-method commit): every character must pass, the first in the given
/// context, each later one behind it. Control characters pass only as a key of
/// their own; an empty text is refused.
bool AcceptsTypedText(int base, bool isSigned, std::string_view text, const KeyContext& context);

/// A pasted text as it goes into a field of the base: white space at both ends
/// and the digit separators inside (blank, tab, '_', '\'') removed, the base's
/// own marker removed in either case (Binary "0b", Octal "0o", Hexadecimal "0x"
/// or "#" in front or else "h" at the end, Decimal "+" in front), ASCII letters
/// in capitals. Everything else, another base's marker included, stays.
std::string TidyPastedText(int base, std::string_view pasted);

/// The outcome of a paste that goes in: the field's new text and its caret.
struct PasteOutcome {
  std::string text;
  std::size_t caret = 0;
};

/// The paste of `pasted` over the `selLength` characters from byte `selStart` of
/// `current` (a selection, or the caret when selLength is 0): the pasted part is
/// tidied for the base. Empty when the resulting text would be longer than the
/// limit, counted in characters of the UTF-8 text: that paste is refused, never
/// cut. Positions out of range are clamped to the text.
std::optional<PasteOutcome> PasteIntoText(std::string_view current, std::size_t selStart, std::size_t selLength,
                                          std::string_view pasted, int base, std::optional<int> limit);

}  // namespace radixpad
