#include "radix_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace radixpad {
namespace {

// The writing rules for one pattern: every base's text at a width and mode.
struct FormatCase {
  const char* name;
  std::uint64_t pattern;
  int bits;
  bool isSigned;
  std::string binary;
  std::string octal;
  std::string decimal;
  std::string hex;
};

class FormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatTest, WritesEveryBase) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(FormatBinary(c.pattern, c.bits), c.binary);
  EXPECT_EQ(FormatOctal(c.pattern, c.bits), c.octal);
  EXPECT_EQ(FormatDecimal(c.pattern, c.bits, c.isSigned), c.decimal);
  EXPECT_EQ(FormatHex(c.pattern, c.bits), c.hex);
}

const std::string k32Ones(32, '1');
const std::string k64Ones(64, '1');
const std::string kOneAnd63Zeros = "1" + std::string(63, '0');

INSTANTIATE_TEST_SUITE_P(
    Patterns, FormatTest,
    ::testing::Values(
        FormatCase{"b8_minus1_signed", 0xFF, 8, true, "11111111", "377", "-1", "FF"},
        FormatCase{"b8_255_unsigned", 0xFF, 8, false, "11111111", "377", "255", "FF"},
        FormatCase{"b8_C8_signed", 0xC8, 8, true, "11001000", "310", "-56", "C8"},
        FormatCase{"b8_min_signed", 0x80, 8, true, "10000000", "200", "-128", "80"},
        FormatCase{"b8_max_signed", 0x7F, 8, true, "1111111", "177", "127", "7F"},
        FormatCase{"b16_8000_signed", 0x8000, 16, true, "1000000000000000", "100000", "-32768", "8000"},
        FormatCase{"b16_minus1_no_sign_in_oct_hex", 0xFFFF, 16, true, "1111111111111111", "177777", "-1", "FFFF"},
        FormatCase{"b16_five", 5, 16, true, "101", "5", "5", "5"},
        FormatCase{"b16_zero", 0, 16, true, "", "0", "0", "0"},
        FormatCase{"b32_minus1_signed", 0xFFFFFFFF, 32, true, k32Ones, "37777777777", "-1", "FFFFFFFF"},
        FormatCase{"b32_max_unsigned", 0xFFFFFFFF, 32, false, k32Ones, "37777777777", "4294967295", "FFFFFFFF"},
        FormatCase{"b32_min_signed", 0x80000000, 32, true, "1" + std::string(31, '0'), "20000000000", "-2147483648",
                   "80000000"},
        FormatCase{"b64_minus1_signed", ~0ULL, 64, true, k64Ones, "1777777777777777777777", "-1", "FFFFFFFFFFFFFFFF"},
        FormatCase{"b64_top_bit_unsigned", 1ULL << 63, 64, false, kOneAnd63Zeros, "1000000000000000000000",
                   "9223372036854775808", "8000000000000000"},
        FormatCase{"b64_min_signed", 1ULL << 63, 64, true, kOneAnd63Zeros, "1000000000000000000000",
                   "-9223372036854775808", "8000000000000000"},
        FormatCase{"b8_bits_above_width_ignored", 0x1FF, 8, false, "11111111", "377", "255", "FF"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RadixRules, GroupsExpandAndLoseLeadingZeros) {
  EXPECT_EQ(OctalToBinaryDigits("0017"), "1111");
  EXPECT_EQ(OctalToBinaryDigits("377"), "11111111");
  EXPECT_EQ(OctalToBinaryDigits("777"), "111111111");
  EXPECT_EQ(OctalToBinaryDigits("000"), "");
  EXPECT_EQ(HexToBinaryDigits("00FF"), "11111111");
  EXPECT_EQ(HexToBinaryDigits("ff"), HexToBinaryDigits("FF"));
  EXPECT_EQ(HexToBinaryDigits("A5"), "10100101");
  EXPECT_EQ(HexToBinaryDigits("0"), "");
}

TEST(RadixRules, PatternReadingFillsOnTheLeft) {
  EXPECT_EQ(ZeroFill("1111111", 8), "01111111");
  EXPECT_EQ(ZeroFill("", 8), "00000000");
  EXPECT_EQ(ZeroFill("101010101", 8), "101010101") << "never cuts";
  EXPECT_EQ(ReadPattern("01111111"), 127u);
  EXPECT_EQ(ReadPattern(ZeroFill("1", 64)), 1u);
  EXPECT_EQ(ReadPattern(std::string(64, '1')), ~0ULL);
  EXPECT_EQ(StripLeadingZeros("000"), "");
  EXPECT_EQ(StripLeadingZeros("0010"), "10");
}

// The Decimal empty test reads a number from the start of the text as strtod
// would, but only a decimal one.
TEST(RadixRules, DecimalEmptyTest) {
  struct Case {
    const char* text;
    bool isSigned;
    bool empty;
  };
  const Case cases[] = {
      {"", true, true},       {"0", true, true},     {"000", true, true},   {"-0", true, true},
      {"-", true, true},      {"-", false, true},    {"--12", true, true},  {"abc", true, true},
      {"INF", true, true},    {"nan", true, true},   {"0X1A", true, true},  {"0x1a", false, true},
      {" 0", true, true},     {"0.000", true, true}, {"0e5", true, true},   {".", true, true},
      {"1e-400", true, true}, {"12", true, false},   {"-12", true, false},  {"-56", false, false},
      {" 5", true, false},    {"0.5", true, false},  {".5", true, false},   {"1e400", true, false},
      {"+7", false, false},   {"007", true, false},  {"5abc", true, false}, {"0001", true, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecimalCountsAsEmpty(c.text, c.isSigned), c.empty)
        << "text '" << c.text << "' " << (c.isSigned ? "signed" : "unsigned");
  }
}

// Range edges at every width: the largest and smallest values pass, one beyond
// them overflows.
TEST(RadixRules, DecimalRangeAtEveryWidth) {
  struct Case {
    int bits;
    bool isSigned;
    const char* text;
    DecimalRead expected;
    std::uint64_t pattern;
  };
  const Case cases[] = {
      {8, true, "127", DecimalRead::kOk, 0x7F},
      {8, true, "128", DecimalRead::kOverflow, 0},
      {8, true, "-128", DecimalRead::kOk, 0x80},
      {8, true, "-129", DecimalRead::kOverflow, 0},
      {8, false, "255", DecimalRead::kOk, 0xFF},
      {8, false, "256", DecimalRead::kOverflow, 0},
      {16, true, "32767", DecimalRead::kOk, 0x7FFF},
      {16, true, "-32768", DecimalRead::kOk, 0x8000},
      {16, true, "-32769", DecimalRead::kOverflow, 0},
      {16, false, "65535", DecimalRead::kOk, 0xFFFF},
      {16, false, "65536", DecimalRead::kOverflow, 0},
      {32, true, "2147483647", DecimalRead::kOk, 0x7FFFFFFF},
      {32, true, "-2147483648", DecimalRead::kOk, 0x80000000},
      {32, true, "2147483648", DecimalRead::kOverflow, 0},
      {32, false, "4294967295", DecimalRead::kOk, 0xFFFFFFFF},
      {32, false, "4294967296", DecimalRead::kOverflow, 0},
      {64, true, "9223372036854775807", DecimalRead::kOk, 0x7FFFFFFFFFFFFFFF},
      {64, true, "9223372036854775808", DecimalRead::kOverflow, 0},
      {64, true, "-9223372036854775808", DecimalRead::kOk, 0x8000000000000000},
      {64, true, "-9223372036854775809", DecimalRead::kOverflow, 0},
      {64, false, "18446744073709551615", DecimalRead::kOk, ~0ULL},
      {64, false, "18446744073709551616", DecimalRead::kOverflow, 0},
      {64, false, "99999999999999999999999999", DecimalRead::kOverflow, 0},
      {64, false, "000000000000000000000000001", DecimalRead::kOk, 1},
      {32, true, "-1", DecimalRead::kOk, 0xFFFFFFFF},
      {8, false, "-1", DecimalRead::kBadCharacter, 0},
      {8, true, "-1-", DecimalRead::kBadCharacter, 0},
      {8, true, "-1a", DecimalRead::kBadCharacter, 0},
      {8, true, "1 ", DecimalRead::kBadCharacter, 0},
  };
  for (const Case& c : cases) {
    std::uint64_t pattern = 0;
    EXPECT_EQ(ReadDecimal(c.text, c.bits, c.isSigned, pattern), c.expected)
        << c.text << " at " << c.bits << (c.isSigned ? " signed" : " unsigned");
    if (c.expected == DecimalRead::kOk) {
      EXPECT_EQ(pattern, c.pattern) << c.text << " at " << c.bits;
    }
  }
}

TEST(RadixRules, CharacterTestPerBase) {
  EXPECT_TRUE(CharactersValid(kBinary, "0101", true));
  EXPECT_FALSE(CharactersValid(kBinary, "012", true));
  EXPECT_TRUE(CharactersValid(kOctal, "01234567", true));
  EXPECT_FALSE(CharactersValid(kOctal, "8", true));
  EXPECT_TRUE(CharactersValid(kHexadecimal, "09afAF", true));
  EXPECT_FALSE(CharactersValid(kHexadecimal, "G", true));
  EXPECT_FALSE(CharactersValid(kHexadecimal, "-1", true));
  EXPECT_TRUE(CharactersValid(kDecimal, "-1", true));
  EXPECT_FALSE(CharactersValid(kDecimal, "-1", false));
  EXPECT_FALSE(CharactersValid(kDecimal, "1-", true));
}

TEST(RadixRules, ColourValueFromDecimalText) {
  struct Case {
    const char* text;
    std::uint32_t value;
  };
  const Case cases[] = {
      {"", 0},
      {"abc", 0},
      {"255", 255},
      {"16711680", 0xFF0000},
      {"  42x", 42},
      {"+7", 7},
      {"-1", 0xFFFFFFFF},
      {"4294967296", 0},
      {"4294967295", 0xFFFFFFFF},
      {"2147483648", 0x80000000},
      {"99999999999", static_cast<std::uint32_t>(99999999999ULL)},
      {"--5", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(DecimalTextToColorRef(c.text), c.value) << c.text;
  EXPECT_EQ(ColorRefToDecimalText(0xFFFFFF), "16777215");
  EXPECT_EQ(ColorRefToDecimalText(0xFFFFFFFF), "-1");
}

}  // namespace
}  // namespace radixpad
