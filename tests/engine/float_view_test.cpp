#include "float_view.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>

namespace radixpad {
namespace {

using FC = FloatClass;

struct DescribeCase {
  int bits;
  std::uint64_t pattern;
  FloatClass floatClass;
  int exponent;
  std::uint64_t payload;
  const char* decimal;
  const char* hex;
};

// Every class at each width, and the edges of each format.
TEST(FloatView, DescribesEachClassAtEachWidth) {
  const DescribeCase cases[] = {
      {16, 0x3555, FC::kNormal, -2, 0, "0.3333", "0x1.554p-2"},
      {16, 0x3C00, FC::kNormal, 0, 0, "1", "0x1p+0"},
      {16, 0xC000, FC::kNormal, 1, 0, "-2", "-0x1p+1"},
      {16, 0x7BFF, FC::kNormal, 15, 0, "65504", "0x1.ffcp+15"},  // not "65500": whole numbers exactly
      {16, 0x7BFE, FC::kNormal, 15, 0, "65472", "0x1.ff8p+15"},
      {16, 0x0400, FC::kNormal, -14, 0, "6.104e-05", "0x1p-14"},
      {16, 0x3BFF, FC::kNormal, -1, 0, "0.9995", "0x1.ffcp-1"},
      {16, 0x2E66, FC::kNormal, -4, 0, "0.1", "0x1.998p-4"},
      {16, 0x03FF, FC::kSubnormal, -14, 0, "6.1e-05", "0x0.ffcp-14"},
      {16, 0x0001, FC::kSubnormal, -14, 0, "6e-08", "0x0.004p-14"},
      {16, 0x0000, FC::kZero, -14, 0, "0", "0x0p+0"},
      {16, 0x8000, FC::kZero, -14, 0, "-0", "-0x0p+0"},
      {16, 0x7C00, FC::kInfinity, 16, 0, "inf", "inf"},
      {16, 0xFC00, FC::kInfinity, 16, 0, "-inf", "-inf"},
      {16, 0x7C01, FC::kSignallingNan, 16, 1, "nan", "nan"},
      {16, 0x7E00, FC::kQuietNan, 16, 0, "nan", "nan"},
      {16, 0xFFFF, FC::kQuietNan, 16, 0x1FF, "-nan", "-nan"},
      {32, 0x3DCCCCCD, FC::kNormal, -4, 0, "0.1", "0x1.99999ap-4"},
      {32, 0x3F800001, FC::kNormal, 0, 0, "1.0000001", "0x1.000002p+0"},
      {32, 0x4B800001, FC::kNormal, 24, 0, "16777218", "0x1.000002p+24"},
      {32, 0x7F7FFFFF, FC::kNormal, 127, 0, "3.4028235e+38", "0x1.fffffep+127"},
      {32, 0x00800000, FC::kNormal, -126, 0, "1.1754944e-38", "0x1p-126"},
      {32, 0x007FFFFF, FC::kSubnormal, -126, 0, "1.1754942e-38", "0x0.fffffep-126"},
      {32, 0x00000001, FC::kSubnormal, -126, 0, "1e-45", "0x0.000002p-126"},
      {32, 0x00000000, FC::kZero, -126, 0, "0", "0x0p+0"},
      {32, 0x80000000, FC::kZero, -126, 0, "-0", "-0x0p+0"},
      {32, 0xFF800000, FC::kInfinity, 128, 0, "-inf", "-inf"},
      {32, 0x7F800001, FC::kSignallingNan, 128, 1, "nan", "nan"},
      {32, 0x7FC00001, FC::kQuietNan, 128, 1, "nan", "nan"},
      {32, 0xFFFFFFFF, FC::kQuietNan, 128, 0x3FFFFF, "-nan", "-nan"},
      {32, 0xFFFFFFFF3F800000, FC::kNormal, 0, 0, "1", "0x1p+0"},  // bits above the width do not count
      {64, 0x3FB999999999999A, FC::kNormal, -4, 0, "0.1", "0x1.999999999999ap-4"},
      {64, 0x441AC53A7E04BCDA, FC::kNormal, 66, 0, "123456789012345683968", "0x1.ac53a7e04bcdap+66"},
      {64, 0x44E0000000000000, FC::kNormal, 79, 0, "6.044629098073146e+23", "0x1p+79"},
      {64, 0x7FEFFFFFFFFFFFFF, FC::kNormal, 1023, 0, "1.7976931348623157e+308", "0x1.fffffffffffffp+1023"},
      {64, 0x0000000000000001, FC::kSubnormal, -1022, 0, "5e-324", "0x0.0000000000001p-1022"},
      {64, 0x8000000000000000, FC::kZero, -1022, 0, "-0", "-0x0p+0"},
      {64, 0x7FF0000000000000, FC::kInfinity, 1024, 0, "inf", "inf"},
      {64, 0x7FF0000000000001, FC::kSignallingNan, 1024, 1, "nan", "nan"},
      {64, 0x7FF8000000000000, FC::kQuietNan, 1024, 0, "nan", "nan"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.bits << " bits, pattern 0x" << std::hex << c.pattern);
    const FloatDescription d = DescribeFloat(c.pattern, c.bits);
    EXPECT_EQ(d.floatClass, c.floatClass);
    EXPECT_EQ(d.exponent, c.exponent);
    EXPECT_EQ(d.payload, c.payload);
    EXPECT_EQ(d.decimal, c.decimal);
    EXPECT_EQ(d.hex, c.hex);
  }
  EXPECT_FALSE(DescribeFloat(0x41, 8).HasFormat());
}

// The English line and the JSON object, for the patterns the help page shows.
TEST(FloatView, FormatsTheLineAndTheJsonObject) {
  const struct {
    int bits;
    std::uint64_t pattern;
    const char* line;
    const char* json;
  } cases[] = {
      {32, 0,
       "binary32 zero, sign 0, exponent 00000000 (-126), fraction 00000000000000000000000, decimal 0, hex 0x0p+0",
       R"({"format":"binary32","class":"zero","sign":0,"exponent":"00000000","exponentValue":-126,)"
       R"("fraction":"00000000000000000000000","payload":null,"decimal":"0","hex":"0x0p+0"})"},
      {32, 0xFFFFFFFF,
       "binary32 quiet NaN, payload 0x3FFFFF, sign 1, exponent 11111111 (128), fraction 11111111111111111111111, "
       "decimal -nan, hex -nan",
       R"({"format":"binary32","class":"quiet-nan","sign":1,"exponent":"11111111","exponentValue":128,)"
       R"("fraction":"11111111111111111111111","payload":"0x3FFFFF","decimal":"-nan","hex":"-nan"})"},
      {32, 0x7FC00001,
       "binary32 quiet NaN, payload 0x1, sign 0, exponent 11111111 (128), fraction 10000000000000000000001, "
       "decimal nan, hex nan",
       R"({"format":"binary32","class":"quiet-nan","sign":0,"exponent":"11111111","exponentValue":128,)"
       R"("fraction":"10000000000000000000001","payload":"0x1","decimal":"nan","hex":"nan"})"},
      {16, 0x7C01,
       "binary16 signalling NaN, payload 0x1, sign 0, exponent 11111 (16), fraction 0000000001, decimal nan, hex nan",
       R"({"format":"binary16","class":"signalling-nan","sign":0,"exponent":"11111","exponentValue":16,)"
       R"("fraction":"0000000001","payload":"0x1","decimal":"nan","hex":"nan"})"},
      {8, 0x41, "no IEEE format at this width", R"({"format":null})"},
  };
  for (const auto& c : cases) {
    const FloatDescription d = DescribeFloat(c.pattern, c.bits);
    EXPECT_EQ(FormatFloatLine(d), c.line);
    EXPECT_EQ(FloatViewJson(d), c.json);
  }
}

struct ParseCase {
  const char* text;
  int bits;
  std::optional<std::uint64_t> pattern;
};

// Rounding to nearest, ties to even, including decimals a hair off a halfway
// point that a detour through double would round twice; overflow, underflow,
// the words, and the texts that are refused.
TEST(FloatView, ParsesDecimalTexts) {
  const ParseCase cases[] = {
      {"0.1", 16, 0x2E66},
      {"0.1", 32, 0x3DCCCCCD},
      {"0.1", 64, 0x3FB999999999999A},
      {"-2.5e-3", 16, 0x991F},
      {" 1.5\t", 16, 0x3E00},
      {"+1.", 16, 0x3C00},
      {".5E1", 16, 0x4500},
      {"000.000", 16, 0x0000},
      {"-0", 16, 0x8000},
      {"65504", 16, 0x7BFF},
      {"65519.99", 16, 0x7BFF},
      {"65520", 16, 0x7C00},  // the halfway point to 2^16 rounds to even: infinity
      {"1e5", 16, 0x7C00},
      {"2.98023223876953125e-8", 16, 0x0000},  // half the smallest subnormal: even is zero
      {"2.98023223876953125000001e-8", 16, 0x0001},
      {"1.00048828125", 16, 0x3C00},  // halfway between 3C00 and 3C01: even
      {"1.000488281250000000000000001", 16, 0x3C01},
      {"1.00146484375", 16, 0x3C02},  // halfway between 3C01 and 3C02: even
      {"1.001464843749999999999999", 16, 0x3C01},
      {"1.000000059604644775390625", 32, 0x3F800000},  // halfway: even
      {"1.0000000596046447753906250001", 32, 0x3F800001},
      {"16777217", 32, 0x4B800000},
      {"16777219", 32, 0x4B800002},
      {"3.4028235677973366e38", 32, 0x7F7FFFFF},
      {"3.40282357e38", 32, 0x7F800000},
      {"1.7976931348623158e308", 64, 0x7FEFFFFFFFFFFFFF},
      {"1.7976931348623159e308", 64, 0x7FF0000000000000},
      {"-1e400", 64, 0xFFF0000000000000},
      {"1e-400", 64, 0},
      {"-1e-400", 32, 0x80000000},
      {"1e99999999999999999999", 32, 0x7F800000},
      {"4.9e-324", 64, 1},
      {"inf", 16, 0x7C00},
      {"-Infinity", 32, 0xFF800000},
      {"NaN", 16, 0x7E00},
      {"-nan", 64, 0xFFF8000000000000},
      {"", 32, std::nullopt},
      {"-", 32, std::nullopt},
      {".", 32, std::nullopt},
      {"1e", 32, std::nullopt},
      {"1e+", 32, std::nullopt},
      {"1.2.3", 32, std::nullopt},
      {"1,5", 32, std::nullopt},
      {"0x10", 32, std::nullopt},
      {"--1", 32, std::nullopt},
      {"1 2", 32, std::nullopt},
      {"nan(1)", 32, std::nullopt},
      {"infinite", 32, std::nullopt},
      {"1", 8, std::nullopt},
      {"inf", 8, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseFloatText(c.text, c.bits), c.pattern) << "'" << c.text << "' at " << c.bits << " bits";
  }
  EXPECT_EQ(ParseFloatText(std::string(400, '9'), 64), 0x7FF0000000000000U);
  EXPECT_EQ(ParseFloatText("0." + std::string(400, '0') + "1e400", 64), 0x3FB999999999999AU);
}

// True when reading the shown decimal gives the same bits, or for a NaN the
// quiet NaN of the same sign (no decimal carries a payload). The loops below
// check with plain conditions and report the first failure, which keeps them
// fast in a sanitizer build.
bool ReadsBack(const FloatDescription& d, std::uint64_t pattern, int bits) {
  const auto read = ParseFloatText(d.decimal, bits);
  if (!d.IsNan()) return read == pattern;
  const std::uint64_t sign = d.negative ? std::uint64_t{1} << (bits - 1) : 0;
  return read == (sign | *ParseFloatText("nan", bits));
}

// The value of a "%a" text; NaN when the text is not one.
double HexFormValue(const std::string& hex) {
  const bool negative = hex[0] == '-';
  const std::size_t at = negative ? 3 : 2;  // past "0x"
  double value = 0;
  const auto r = std::from_chars(hex.data() + at, hex.data() + hex.size(), value, std::chars_format::hex);
  if (hex.compare(at - 2, 2, "0x") != 0 || r.ptr != hex.data() + hex.size()) return std::nan("");
  return negative ? -value : value;
}

// Every binary16 pattern: the decimal reads back through the parser, lies
// inside the pattern's rounding interval as an independent reader (strtod)
// sees it, and the hexadecimal form is the exact value.
TEST(FloatView, EveryBinary16DecimalReadsBack) {
  FloatDescription d;
  for (std::uint64_t p = 0; p <= 0xFFFF; ++p) {
    DescribeFloat(p, 16, d);
    bool ok = ReadsBack(d, p, 16);
    if (d.floatClass != FC::kInfinity && !d.IsNan()) {
      const int field = static_cast<int>((p >> 10) & 0x1F);
      const double ulp = std::ldexp(1.0, std::max(field, 1) - 25);
      const double value = std::ldexp(static_cast<double>((p & 0x3FF) | (field ? 0x400 : 0)), std::max(field, 1) - 25);
      const double read = std::fabs(std::strtod(d.decimal.c_str(), nullptr));
      // Below a power of two the lower neighbour is half as far.
      const double below = (p & 0x3FF) == 0 && field > 1 ? ulp / 4 : ulp / 2;
      ok = ok && read >= value - below && read <= value + ulp / 2;
      ok = ok && HexFormValue(d.hex) == ((p & 0x8000) ? -value : value);
    }
    if (!ok) {
      ADD_FAILURE() << "pattern 0x" << std::hex << p << ": decimal " << d.decimal << ", hex " << d.hex;
      return;
    }
  }
}

// A million random binary32 and as many binary64 patterns: the decimal
// reads back to the same bits through the parser and through the C library's
// reader, and the hexadecimal form is the exact value.
TEST(FloatView, RandomBinary32AndBinary64DecimalsReadBack) {
  std::mt19937_64 rng(23);
  FloatDescription d32;
  FloatDescription d64;
  for (int n = 0; n < 1'000'000; ++n) {
    const std::uint64_t p32 = rng() & 0xFFFFFFFF;
    DescribeFloat(p32, 32, d32);
    bool ok = ReadsBack(d32, p32, 32);
    if (!d32.IsNan()) {
      const float f = std::strtof(d32.decimal.c_str(), nullptr);
      ok = ok && std::bit_cast<std::uint32_t>(f) == p32;
      ok = ok && (d32.floatClass == FC::kInfinity || HexFormValue(d32.hex) == f);
    }
    const std::uint64_t p64 = rng();
    DescribeFloat(p64, 64, d64);
    ok = ok && ReadsBack(d64, p64, 64);
    if (!d64.IsNan()) {
      const double f = std::strtod(d64.decimal.c_str(), nullptr);
      ok = ok && std::bit_cast<std::uint64_t>(f) == p64;
      ok = ok && (d64.floatClass == FC::kInfinity || HexFormValue(d64.hex) == f);
    }
    if (!ok) {
      ADD_FAILURE() << std::hex << "binary32 0x" << p32 << ": " << d32.decimal << ", " << d32.hex << "; binary64 0x"
                    << p64 << ": " << d64.decimal << ", " << d64.hex;
      return;
    }
  }
}

}  // namespace
}  // namespace radixpad
