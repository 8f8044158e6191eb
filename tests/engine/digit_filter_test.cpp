#include "digit_filter.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <limits>
#include <string>

#include "digit_groups.h"
#include "radix_rules.h"

namespace radixpad {
namespace {

std::size_t Length(std::uint64_t v, int radix) {
  char buf[80];
  return static_cast<std::size_t>(std::to_chars(buf, buf + sizeof buf, v, radix).ptr - buf);
}

// Each limit is the length of the longest text the width allows in that base,
// worked out here from the width's extreme values.
TEST(DigitFilter, LimitIsTheLongestTextOfTheWidth) {
  for (int bits : {8, 16, 32, 64}) {
    const std::uint64_t all = bits == 64 ? ~0ULL : (1ULL << bits) - 1;
    const std::uint64_t minMagnitude = 1ULL << (bits - 1);
    SCOPED_TRACE(bits);
    EXPECT_EQ(TextLimit(kBinary, bits, true), static_cast<int>(Length(all, 2)));
    EXPECT_EQ(TextLimit(kOctal, bits, true), static_cast<int>(Length(all, 8)));
    EXPECT_EQ(TextLimit(kHexadecimal, bits, false), static_cast<int>(Length(all, 16)));
    EXPECT_EQ(TextLimit(kDecimal, bits, false), static_cast<int>(Length(all, 10)));
    EXPECT_EQ(TextLimit(kDecimal, bits, true), static_cast<int>(Length(minMagnitude, 10) + 1));
    EXPECT_EQ(TextLimit(kBinary, bits, true), TextLimit(kBinary, bits, false)) << "only Decimal depends on the sign";
  }
  EXPECT_EQ(TextLimit(kBinary, 12, true), std::nullopt);
  EXPECT_EQ(TextLimit(4, 8, true), std::nullopt);
  EXPECT_EQ(TextLimit(-1, 8, true), std::nullopt);
}

TEST(DigitFilter, TypedCharacters) {
  const KeyContext plain{};
  const KeyContext ctrl{true, false, false};
  const KeyContext atStart{false, false, true};
  const KeyContext empty{false, true, true};
  struct Case {
    int base;
    bool isSigned;
    char c;
    KeyContext context;
    bool accepted;
  };
  const Case cases[] = {
      {kBinary, true, '1', plain, true},
      {kBinary, true, '2', plain, false},
      {kOctal, true, '7', plain, true},
      {kOctal, true, '8', plain, false},
      {kDecimal, true, '9', plain, true},
      {kDecimal, true, 'a', plain, false},
      {kHexadecimal, true, 'a', plain, true},
      {kHexadecimal, true, 'F', plain, true},
      {kHexadecimal, true, 'g', plain, false},
      {kHexadecimal, true, '-', plain, false},
      {kBinary, true, ' ', plain, false},
      {kDecimal, true, '+', plain, false},
      {kHexadecimal, true, '.', plain, false},
      {kOctal, true, kBackspace, plain, true},
      {kDecimal, false, kBackspace, plain, true},
      // Ctrl lets editing commands through, but never a minus into a Decimal field.
      {kBinary, true, 22 /* Ctrl+V */, ctrl, true},
      {kBinary, true, 'x', ctrl, true},
      {kDecimal, false, '-', ctrl, false},
      {kHexadecimal, true, '-', ctrl, true},
      // The sign rule.
      {kDecimal, true, '-', empty, true},
      {kDecimal, true, '-', atStart, true},
      {kDecimal, true, '-', plain, false},
      {kDecimal, false, '-', empty, false},
      {kDecimal, false, '-', atStart, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AcceptsTypedChar(c.base, c.isSigned, c.c, c.context), c.accepted)
        << "base " << c.base << " char " << int(c.c) << " ctrl " << c.context.ctrlDown << " empty "
        << c.context.fieldEmpty << " start " << c.context.caretAtStart;
  }
}

TEST(DigitFilter, TypedTextsOfSeveralCharacters) {
  const KeyContext plain{};
  const KeyContext empty{false, true, true};
  struct Case {
    int base;
    bool isSigned;
    std::string text;
    KeyContext context;
    bool accepted;
  };
  const Case cases[] = {
      {kHexadecimal, true, "ab", plain, true},    {kBinary, true, "10", plain, true},
      {kBinary, true, "12", plain, false},        {kDecimal, true, "-5", empty, true},
      {kDecimal, true, "5-", empty, false},       {kDecimal, true, "--", empty, false},
      {kDecimal, true, "\xC3\xA9", plain, false},  // UTF-8 e-acute
      {kBinary, true, "1\b", plain, false},       {kOctal, true, "", plain, false},
      {kOctal, true, "7", plain, true},           {kOctal, true, std::string(1, kBackspace), plain, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AcceptsTypedText(c.base, c.isSigned, c.text, c.context), c.accepted) << c.base << " '" << c.text << "'";
  }
}

TEST(DigitFilter, PastedTextIsTidied) {
  struct Case {
    int base;
    std::string pasted;
    std::string tidy;
  };
  const Case cases[] = {
      {kHexadecimal, "0xdead_beef", "DEADBEEF"},
      {kHexadecimal, " #00ff7f\r\n", "00FF7F"},
      {kHexadecimal, "0XFF", "FF"},
      {kHexadecimal, "ffh", "FF"},
      {kHexadecimal, "0xffh", "FFH"},
      {kHexadecimal, "#FFH", "FFH"},
      {kHexadecimal, "0b1", "0B1"},
      {kHexadecimal, "h", ""},
      {kBinary, "1111 0000", "11110000"},
      {kBinary, "0B101", "101"},
      {kBinary, "0x1", "0X1"},
      {kBinary, "\t\v\f1\t0 ", "10"},
      {kOctal, "0o7'7'7", "777"},
      {kOctal, "0O17", "17"},
      {kOctal, "0b1", "0B1"},
      {kOctal, "017", "017"},
      {kDecimal, " 4'294'967'295 ", "4294967295"},
      {kDecimal, "+12", "12"},
      {kDecimal, "-1_000", "-1000"},
      {kDecimal, "++1", "++1"},
      {kDecimal, "+-1", "+-1"},
      {kDecimal,
       "\xE2\x88\x92"
       "1",
       "-1"},
      {kBinary,
       "\xE2\x88\x92"
       "1",
       "\xE2\x88\x92"
       "1"},
      {kHexadecimal,
       "\xC2\xA0"
       "ff\xE2\x80\x89"
       "ff\xE2\x80\xAF",
       "FFFF"},
      {kDecimal, "1+", "1+"},
      {kDecimal, "0x1a", "0X1A"},
      {kDecimal, "1\n2", "1\n2"},
      {kDecimal, " \r\n ", ""},
      {kHexadecimal,
       "\xC3\xA9"
       "f",
       "\xC3\xA9"
       "F"},
      {kHexadecimal, "", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(TidyPastedText(c.base, c.pasted), c.tidy) << c.base << " '" << c.pasted << "'";
}

TEST(DigitFilter, APasteTheRowCannotHoldIsRefusedNeverCutOrHalfRead) {
  constexpr auto kBad = PasteResult::kBadCharacter;
  constexpr auto kLong = PasteResult::kTooLong;
  constexpr auto kIn = PasteResult::kAccepted;
  struct Case {
    std::string current;
    std::size_t selStart, selLength;
    std::string pasted;
    int base;
    std::optional<int> limit;
    PasteResult result;
    std::string text;  // when accepted
    std::size_t caret;
    bool isSigned = true;
  };
  const Case cases[] = {
      {"", 0, 0, "0017", kOctal, 3, kLong, "", 0},
      {"", 0, 0, "017", kOctal, 3, kIn, "017", 3},
      {"7F", 2, 0, "1FF", kHexadecimal, 2, kLong, "", 0},
      {"7F", 0, 2, "1FF", kHexadecimal, 2, kLong, "", 0},
      {"7F", 0, 2, "0x1f", kHexadecimal, 2, kIn, "1F", 2},
      {"7F", 1, 0, "a", kHexadecimal, 2, kLong, "", 0},
      {"12", 1, 1, "3", kDecimal, 2, kIn, "13", 2},
      {"123", 0, 1, " 9 ", kDecimal, 3, kIn, "923", 1},
      {"", 0, 0, "000000001", kBinary, 8, kLong, "", 0},
      {"", 0, 0, "0b0000_0001", kBinary, 8, kIn, "00000001", 8},
      {"", 0, 0, "abcdef", kHexadecimal, std::nullopt, kIn, "ABCDEF", 6},
      {"1", 5, 9, "0", kBinary, 8, kIn, "10", 2},  // positions clamped
      // A character the row's typing would refuse: refused whole, before the limit counts.
      {"", 0, 0, "abc", kDecimal, 11, kBad, "", 0},
      {"", 0, 0, "0x10", kDecimal, 11, kBad, "", 0},
      {"", 0, 0, "1,000", kDecimal, 11, kBad, "", 0},
      {"", 0, 0, "+-5", kDecimal, 11, kBad, "", 0},
      {"", 0, 0, "2", kBinary, 32, kBad, "", 0},
      {"", 0, 0, "0x1", kBinary, 32, kBad, "", 0},
      {"", 0, 0, "1.5", kDecimal, 11, kBad, "", 0},
      {"", 0, 0, "\xC3\xA9", kHexadecimal, 8, kBad, "", 0},
      {"", 0, 0, "1\n2", kDecimal, 11, kBad, "", 0},
      {"", 0, 0, "\b", kBinary, 8, kBad, "", 0},
      {"", 0, 0, "0b1010", kHexadecimal, 8, kIn, "0B1010", 6},
      {"", 0, 0, "1234567890123", kDecimal, 11, kLong, "", 0},
      {"", 0, 0, "12x4567890123", kDecimal, 11, kBad, "", 0},
      // The sign only where typing takes it: first, and in signed mode.
      {"", 0, 0, "-5", kDecimal, 11, kIn, "-5", 2},
      {"", 0, 0, "-5", kDecimal, 10, kBad, "", 0, false},
      {"31", 0, 2, "-5", kDecimal, 11, kIn, "-5", 2},
      {"12", 0, 0, "-", kDecimal, 11, kIn, "-12", 1},
      {"12", 1, 0, "-", kDecimal, 11, kBad, "", 0},
      {"", 0, 0, "5-", kDecimal, 11, kBad, "", 0},
      {"-3", 0, 0, "5", kDecimal, 11, kBad, "", 0},  // the minus would no longer lead
      {"-3", 0, 0, "-", kDecimal, 11, kBad, "", 0},
      {"-3", 0, 1, "5", kDecimal, 11, kIn, "53", 1},
      {"", 0, 0,
       "\xE2\x88\x92"
       "42",
       kDecimal, 11, kIn, "-42", 3},  // U+2212 minus sign
      {"", 0, 0,
       "\xC2\xA0"
       "1\xE2\x80\x89"
       "000\xE2\x80\xAF",
       kDecimal, 11, kIn, "1000", 4},
      {"", 0, 0, "", kBinary, 8, kIn, "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("'" + c.current + "' + '" + c.pasted + "'");
    const auto outcome = PasteIntoText(c.current, c.selStart, c.selLength, c.pasted, c.base, c.isSigned, c.limit);
    EXPECT_EQ(outcome.result, c.result);
    EXPECT_EQ(outcome.text, c.text);
    EXPECT_EQ(outcome.caret, c.caret);
  }
}

TEST(DigitFilter, TheMarkerTypedAfterALoneZeroTakesTheZeroAway) {
  struct Case {
    int base;
    char c;
    std::string text;
    std::size_t caret;
    bool marker;
  };
  const Case cases[] = {
      {kHexadecimal, 'x', "0", 1, true},  {kHexadecimal, 'X', "0", 1, true},   {kBinary, 'b', "0", 1, true},
      {kOctal, 'O', "0", 1, true},        {kHexadecimal, 'b', "0", 1, false},  {kDecimal, 'x', "0", 1, false},
      {kHexadecimal, 'x', "0", 0, false}, {kHexadecimal, 'x', "00", 2, false}, {kHexadecimal, 'x', "10", 1, false},
      {kBinary, 'x', "0", 1, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsMarkerAfterLoneZero(c.base, c.c, c.text, c.caret), c.marker) << c.base << " " << c.c << " " << c.text;
  }
}

TEST(DigitGroups, GapsFollowWholeGroupsFromTheRight) {
  struct Case {
    int base;
    std::string text;
    std::vector<std::size_t> gaps;
  };
  const Case cases[] = {
      {kBinary, "", {}},
      {kBinary, "1111", {}},
      {kBinary, "11110000", {3}},
      {kBinary, "101111", {1}},
      {kBinary, std::string(64, '1'), {3, 7, 11, 15, 19, 23, 27, 31, 35, 39, 43, 47, 51, 55, 59}},
      {kHexadecimal, "DEADBEEF", {3}},
      {kOctal, "1777777777777777777777", {0, 3, 6, 9, 12, 15, 18}},
      {kDecimal, "4294967295", {0, 3, 6}},
      {kDecimal, "-123", {}},
      {kDecimal, "-1234", {1}},
      {kDecimal, "--12", {}},
      {kDecimal, "0X1A", {}},  // a program write: only digits count
  };
  for (const Case& c : cases) EXPECT_EQ(DigitGroupGaps(c.base, c.text), c.gaps) << c.base << " " << c.text;
}

}  // namespace
}  // namespace radixpad
