// What the character view needs to know of Unicode: the classes of the code
// points it never shows raw, and their short names. The table is written by
// scripts/unicode_table.py; every code point outside its ranges is a visible
// character.
#pragma once

#include <cstdint>
#include <span>

namespace radixpad {

enum class CharClass : std::uint8_t {
  kGraphic,             // shown as itself
  kControl,             // C0 and C1 controls and DEL
  kFormat,              // format characters other than the bidi controls (SHY, ZWJ, BOM, ...)
  kBidiControl,         // marks, embeddings, overrides and isolates (LRM, RLO, FSI, ...)
  kSpace,               // space separators, U+0020 included
  kLineSeparator,       // U+2028
  kParagraphSeparator,  // U+2029
  kCombining,           // marks that attach to the character before them
  kIgnorable,           // letters and others that draw nothing (U+115F, U+3164, ...)
  kUnassigned,
  kPrivateUse,
  kNoncharacter,
  kSurrogate,
};

struct CodePointRange {
  char32_t first;
  char32_t last;
  CharClass charClass;
};

struct ShortName {
  char32_t codePoint;
  const char* name;
};

/// Sorted, disjoint ranges of every code point whose class is not kGraphic.
extern const std::span<const CodePointRange> kHiddenRanges;
/// Sorted short names of hidden code points (NUL, LF, NBSP, ZWJ, RLO, VS16, ...).
extern const std::span<const ShortName> kShortNames;

}  // namespace radixpad
