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

/// True when typing `c` with the caret at `caret` of `text` is the base's marker
/// after a lone leading zero: "0x" in Hexadecimal, "0b" in Binary, "0o" in Octal,
/// either case. That key takes the zero away instead of going in, so typing
/// "0xdeadbeef" leaves DEADBEEF.
bool IsMarkerAfterLoneZero(int base, char c, std::string_view text, std::size_t caret);

/// A pasted text as it goes into a field of the base: white space at both ends
/// and the digit separators inside (blank, tab, no-break and thin spaces, '_',
/// '\'') removed, the base's own marker removed in either case (Binary "0b", Octal
/// "0o", Hexadecimal "0x" or "#" in front or else "h" at the end, Decimal "+" in
/// front of a digit), a leading U+2212 minus sign in Decimal read as '-', ASCII
/// letters in capitals. Everything else, another base's marker included, stays.
std::string TidyPastedText(int base, std::string_view pasted);

/// The text with every wide blank a paste brings along (no-break, figure, thin, hair
/// and narrow no-break space) written as a plain space.
std::string PlainBlanks(std::string_view text);

enum class PasteResult {
  kAccepted,
  kBadCharacter,  // a character the row's typing would refuse
  kTooLong,       // the text would pass the typing limit
};

/// The outcome of a paste: what happened and, when it went in, the field's new
/// text and its caret.
struct PasteOutcome {
  PasteResult result = PasteResult::kAccepted;
  std::string text;
  std::size_t caret = 0;
  bool Accepted() const { return result == PasteResult::kAccepted; }
};

/// The paste of `pasted` over the `selLength` characters from byte `selStart` of
/// `current` (a selection, or the caret when selLength is 0): the pasted part is
/// tidied for the base, and then refused, never cut or half read, when it holds a
/// character the row's typing would refuse at that place (a digit of another base,
/// a sign that does not stand first, any other character) or when the resulting
/// text would be longer than the limit, counted in characters of the UTF-8 text.
/// Positions out of range are clamped to the text.
PasteOutcome PasteIntoText(std::string_view current, std::size_t selStart, std::size_t selLength,
                           std::string_view pasted, int base, bool isSigned, std::optional<int> limit);

}  // namespace radixpad
