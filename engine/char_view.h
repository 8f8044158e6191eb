// The character view: what a W-bit pattern is as text. At 8 bits a byte (ASCII,
// Latin-1 above 127), at 16 bits a UTF-16 code unit, at 32 and 64 bits a code
// point and, when they form one sequence, the pattern's bytes read as UTF-8.
// Only visible characters are ever shown as themselves; controls, format and
// bidi controls, spaces, separators, combining marks and code points that are
// unassigned, private or no characters are shown by short name or class.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "unicode_table.h"
#include "view_texts.h"

namespace radixpad {

/// The class of a code point (0 to U+10FFFF) as the view treats it.
CharClass ClassOfCodePoint(char32_t codePoint);
/// The short name of a hidden code point (NUL, LF, DEL, NBSP, ZWJ, RLO, BOM,
/// VS16, ...); empty when it has none.
std::string_view ShortNameOf(char32_t codePoint);

/// What the bytes of the pattern are as UTF-8: no sequence, or one sequence
/// that is valid or encodes something UTF-8 forbids.
enum class Utf8Reading { kNone, kValid, kOverlong, kSurrogate, kOutOfRange };

struct CharDescription {
  int bits = 0;               // 8, 16, 32 or 64; 0 for any other width
  bool hasCodePoint = false;  // false at 32 and 64 bits above U+10FFFF
  char32_t codePoint = 0;     // the byte as Latin-1, the code unit, or the number
  CharClass charClass = CharClass::kGraphic;
  // The pattern's bytes from the most significant nonzero one: "E2 82 AC" for
  // 0xE282AC. Read at 32 and 64 bits only, when they have two bytes or more.
  Utf8Reading utf8 = Utf8Reading::kNone;
  std::array<std::uint8_t, 8> utf8Bytes{};
  int utf8Length = 0;
  char32_t utf8CodePoint = 0;  // the value the bytes encode, allowed or not
  CharClass utf8Class = CharClass::kGraphic;
};

/// The low `bits` bits of `pattern` read as text.
CharDescription DescribeChar(std::uint64_t pattern, int bits);

/// The view's one line from `texts`: "ASCII LF (control)", "Latin-1 é",
/// "UTF-16 U+D800 (lone surrogate)", "U+202E RLO (bidi control)",
/// "not a code point; UTF-8 E2 82 AC: U+20AC €".
std::string FormatCharLine(const CharDescription& d, const ViewTexts& texts = ViewTexts::English());

/// "U+0041", "U+1F600": at least four capital hexadecimal digits.
std::string CodePointName(char32_t codePoint);

}  // namespace radixpad
