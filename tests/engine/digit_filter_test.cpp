#include "digit_filter.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <limits>
#include <string>

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
      {kBinary, true, '1', plain, true},        {kBinary, true, '2', plain, false},
      {kOctal, true, '7', plain, true},         {kOctal, true, '8', plain, false},
      {kDecimal, true, '9', plain, true},       {kDecimal, true, 'a', plain, false},
      {kHexadecimal, true, 'a', plain, true},   {kHexadecimal, true, 'F', plain, true},
      {kHexadecimal, true, 'g', plain, false},  {kHexadecimal, true, '-', plain, false},
      {kBinary, true, ' ', plain, false},       {kDecimal, true, '+', plain, false},
      {kHexadecimal, true, '.', plain, false},  {kOctal, true, kBackspace, plain, true},
      {kDecimal, false, kBackspace, plain, true},
      // Ctrl lets editing commands through, but never a minus into a Decimal field.
      {kBinary, true, 22 /* Ctrl+V */, ctrl, true}, {kBinary, true, 'x', ctrl, true},
      {kDecimal, false, '-', ctrl, false},      {kHexadecimal, true, '-', ctrl, true},
      // The sign rule.
      {kDecimal, true, '-', empty, true},       {kDecimal, true, '-', atStart, true},
      {kDecimal, true, '-', plain, false},      {kDecimal, false, '-', empty, false},
      {kDecimal, false, '-', atStart, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AcceptsTypedChar(c.base, c.isSigned, c.c, c.context), c.accepted)
        << "base " << c.base << " char " << int(c.c) << " ctrl " << c.context.ctrlDown << " empty "
        << c.context.fieldEmpty << " start " << c.context.caretAtStart;
  }
}

}  // namespace
}  // namespace radixpad
