#include "char_view.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace radixpad {
namespace {

// What the view says a pattern is, at each width.
TEST(CharView, DescribesThePatternAsText) {
  const struct {
    int bits;
    std::uint64_t pattern;
    const char* line;
  } cases[] = {
      {8, 0x00, "ASCII NUL (control)"},
      {8, 0x41, "ASCII A"},
      {8, 0x0A, "ASCII LF (control)"},
      {8, 0x19, "ASCII EM (control)"},
      {8, 0x20, "ASCII SP (space)"},
      {8, 0x7F, "ASCII DEL (control)"},
      {8, 0x85, "Latin-1 NEL (control)"},
      {8, 0xA0, "Latin-1 NBSP (space)"},
      {8, 0xAD, "Latin-1 SHY (format character)"},
      {8, 0xE9, "Latin-1 \u00e9"},
      {8, 0x1E9, "Latin-1 \u00e9"},  // bits above the width do not count
      {16, 0xD800, "UTF-16 U+D800 (lone surrogate)"},
      {16, 0xDFFF, "UTF-16 U+DFFF (lone surrogate)"},
      {16, 0x20AC, "UTF-16 U+20AC \u20ac"},
      {16, 0xFEFF, "UTF-16 U+FEFF BOM (format character)"},
      {16, 0xFFFF, "UTF-16 U+FFFF (noncharacter)"},
      {16, 0xE000, "UTF-16 U+E000 (private use)"},
      {16, 0x0378, "UTF-16 U+0378 (unassigned)"},
      {16, 0x2028, "UTF-16 U+2028 (line separator)"},
      {16, 0x3164, "UTF-16 U+3164 (invisible)"},
      {32, 0x0, "U+0000 NUL (control)"},
      {32, 0x41, "U+0041 A"},
      {32, 0x202E, "U+202E RLO (bidi control)"},
      {32, 0x0301, "U+0301 (combining mark)"},
      {32, 0xFE0F, "U+FE0F VS16 (combining mark)"},
      {32, 0x1F600, "U+1F600 \U0001F600"},
      {32, 0xD800, "U+D800 (surrogate)"},
      {32, 0x10FFFF, "U+10FFFF (noncharacter)"},
      {32, 0x110000, "not a code point"},
      {32, 0xFFFFFFFF, "not a code point"},
      {32, 0x7FC00001, "not a code point"},
      {32, 0xE282AC, "not a code point; UTF-8 E2 82 AC: U+20AC \u20ac"},
      {32, 0xC3A9, "U+C3A9 \uc3a9; UTF-8 C3 A9: U+00E9 \u00e9"},
      {32, 0xE280AE, "not a code point; UTF-8 E2 80 AE: U+202E RLO (bidi control)"},
      {32, 0xCC81, "U+CC81 \ucc81; UTF-8 CC 81: U+0301 (combining mark)"},
      {32, 0xC080, "U+C080 \uc080; UTF-8 C0 80: overlong form of U+0000"},
      {32, 0xE0808F, "not a code point; UTF-8 E0 80 8F: overlong form of U+000F"},
      {32, 0xEDA080, "not a code point; UTF-8 ED A0 80: encoded surrogate U+D800"},
      {32, 0xF4908080, "not a code point; UTF-8 F4 90 80 80: out of range (U+110000)"},
      {32, 0xE282AC00, "not a code point"},  // a fourth byte after a whole sequence
      {32, 0xC3C3, "U+C3C3 \uc3c3"},         // no continuation byte
      {32, 0x80BF, "U+80BF \u80bf"},         // continuation bytes without a lead
      {64, 0xF09F9880, "not a code point; UTF-8 F0 9F 98 80: U+1F600 \U0001F600"},
      {64, 0xFC8080808080, "not a code point; UTF-8 FC 80 80 80 80 80: overlong form of U+0000"},
      {64, 0xFDBFBFBFBFBF, "not a code point; UTF-8 FD BF BF BF BF BF: out of range (U+7FFFFFFF)"},
      {64, 0xFFFFFFFFFFFFFFFF, "not a code point"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatCharLine(DescribeChar(c.pattern, c.bits)), c.line)
        << c.bits << " bits, 0x" << std::hex << c.pattern;
  }
}

// The classes the table must give, from lists kept here by hand.
TEST(CharView, ClassifiesCodePoints) {
  using CC = CharClass;
  std::vector<std::pair<char32_t, CharClass>> cases = {
      {0x061C, CC::kBidiControl}, {0x200E, CC::kBidiControl},  {0x200F, CC::kBidiControl},
      {0x2066, CC::kBidiControl}, {0x2069, CC::kBidiControl},  {0x0009, CC::kControl},
      {0x009F, CC::kControl},     {0x200D, CC::kFormat},       {0xE0001, CC::kFormat},
      {0x00A0, CC::kSpace},       {0x3000, CC::kSpace},        {0x2029, CC::kParagraphSeparator},
      {0x036F, CC::kCombining},   {0x20DD, CC::kCombining},    {0x0903, CC::kCombining},
      {0x115F, CC::kIgnorable},   {0xE0080, CC::kUnassigned},  {0xF8FF, CC::kPrivateUse},
      {0xF0000, CC::kPrivateUse}, {0x10FFFD, CC::kPrivateUse}, {0xDBFF, CC::kSurrogate},
      {0x0021, CC::kGraphic},     {0x007E, CC::kGraphic},      {0x05D0, CC::kGraphic},
      {0x4E00, CC::kGraphic},     {0xFFFD, CC::kGraphic},      {0x1F600, CC::kGraphic},
  };
  for (char32_t c = 0x202A; c <= 0x202E; ++c) cases.emplace_back(c, CC::kBidiControl);
  for (char32_t c = 0xFDD0; c <= 0xFDEF; ++c) cases.emplace_back(c, CC::kNoncharacter);
  for (char32_t plane = 0; plane <= 0x10; ++plane) {
    cases.emplace_back((plane << 16) | 0xFFFE, CC::kNoncharacter);
    cases.emplace_back((plane << 16) | 0xFFFF, CC::kNoncharacter);
  }
  for (const auto& [c, expected] : cases) {
    EXPECT_EQ(ClassOfCodePoint(c), expected) << std::hex << static_cast<std::uint32_t>(c);
  }
}

// Decodes the line, which must be well-formed UTF-8, and returns the first
// character in it that is not visible, or 0 when all are.
char32_t FirstHiddenCharacter(const std::string& line) {
  for (std::size_t i = 0; i < line.size();) {
    const auto b = static_cast<unsigned char>(line[i]);
    const int length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? b : b & (0x3F >> (length - 1));
    for (int k = 1; k < length; ++k) c = (c << 6) | (static_cast<unsigned char>(line.at(i + k)) & 0x3F);
    i += static_cast<std::size_t>(length);
    if (c != U' ' && ClassOfCodePoint(c) != CharClass::kGraphic) return c;
  }
  return 0;
}

std::uint64_t Utf8Pattern(char32_t c) {
  std::uint64_t p = 0;
  if (c < 0x800) return (0xC0 | (c >> 6)) << 8 | (0x80 | (c & 0x3F));
  if (c < 0x10000) p = 0xE0 | (c >> 12);
  if (c >= 0x10000) p = ((0xF0 | (c >> 18)) << 8) | (0x80 | ((c >> 12) & 0x3F));
  return (((p << 8) | (0x80 | ((c >> 6) & 0x3F))) << 8) | (0x80 | (c & 0x3F));
}

// No line ever holds a character that would not show or could move text, at
// the ends of every hidden range, as a code unit, a code point or UTF-8.
TEST(CharView, NeverShowsAHiddenCharacterItself) {
  int lines = 0;
  for (const CodePointRange& r : kHiddenRanges) {
    for (const char32_t c : {r.first, r.last}) {
      std::vector<std::pair<int, std::uint64_t>> patterns = {{32, c}, {64, c}};
      if (c < 0x10000) patterns.emplace_back(16, c);
      if (c < 0x100) patterns.emplace_back(8, c);
      if (c >= 0x80) patterns.emplace_back(32, Utf8Pattern(c));
      for (const auto& [bits, pattern] : patterns) {
        const std::string line = FormatCharLine(DescribeChar(pattern, bits));
        EXPECT_EQ(FirstHiddenCharacter(line), 0U) << line;
        ++lines;
      }
    }
  }
  EXPECT_GT(lines, 5000);
}

}  // namespace
}  // namespace radixpad
