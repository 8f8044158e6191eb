#include "bit_grid.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "converter.h"
#include "radix_rules.h"
#include "simulated_controls.h"
#include "transcript_runner.h"

namespace radixpad {
namespace {

const std::string k63Zeros(63, '0');

TEST(BitGrid, PatternIsTheBinaryTextFilledToTheWidth) {
  struct Case {
    const char* text;
    int bits;
    std::string pattern;
  };
  const Case cases[] =
      {
          {"", 8, "00000000"},           {"101", 8, "00000101"},   {"11111111", 8, "11111111"},
          {"1", 16, "0000000000000001"}, {"", 64, k63Zeros + "0"}, {"1", 64, k63Zeros + "1"},
          {"1000000001", 8, "00000001"},  // over-long: the last W characters
      };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " at " + std::to_string(c.bits));
    EXPECT_EQ(BitGridPattern(c.text, c.bits), c.pattern);
  }
}

TEST(BitGrid, FlipFillsTheTextAndFlipsOneCharacter) {
  struct Case {
    const char* text;
    int bits;
    int bit;
    std::string out;
  };
  const Case cases[] = {
      {"", 8, 0, "00000001"},
      {"101", 8, 0, "00000100"},
      {"101", 8, 1, "00000111"},
      {"101", 8, 7, "10000101"},
      {"11111111", 8, 7, "01111111"},
      {"", 64, 63, "1" + k63Zeros},
      {"1", 64, 0, k63Zeros + "0"},
      {"101", 8, 8, ""},
      {"101", 8, -1, ""},
      {"101", 32, 63, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " bit " + std::to_string(c.bit) + " at " + std::to_string(c.bits));
    EXPECT_EQ(FlipBitOfText(c.text, c.bits, c.bit), c.out);
  }
}

TEST(BitGrid, FlipRewritesTheRowsThroughTheBinaryParse) {
  struct Case {
    const char* name;
    int widthIndex;
    bool isSigned;
    int binaryRow;  // the row moved to show Binary, -1 to keep row 1
    int typedBase;
    const char* typed;
    int bit;
    const char* bin;  // without its leading zeros
    const char* dec;
    const char* hex;
    int beeps;
  };
  const Case cases[] = {
      {"w8_set_bit_1", 0, true, -1, kDecimal, "5", 1, "111", "7", "7", 0},
      {"w8_clear_bit_0", 0, true, -1, kDecimal, "5", 0, "100", "4", "4", 0},
      {"w8_signed_top_bit", 0, true, -1, kDecimal, "5", 7, "10000101", "-123", "85", 0},
      {"w8_unsigned_top_bit", 0, false, -1, kDecimal, "5", 7, "10000101", "133", "85", 0},
      {"w16_signed_top_bit", 1, true, -1, kHexadecimal, "1", 15, "1000000000000001", "-32767", "8001", 0},
      {"w32_empty_row", 2, true, -1, kDecimal, "", 4, "10000", "16", "10", 0},
      {"w64_top_bit", 3, false, -1, kDecimal, "0", 63,
       "1"
       "000000000000000000000000000000000000000000000000000000000000000",
       "9223372036854775808", "8000000000000000", 0},
      {"binary_in_row_3", 0, true, 2, kDecimal, "5", 1, "111", "7", "7", 0},
      {"bit_at_width_beeps", 0, true, -1, kDecimal, "5", 8, "101", "5", "5", 1},
      {"bit_above_width_beeps", 2, true, -1, kDecimal, "5", 40, "101", "5", "5", 1},
      {"negative_bit_beeps", 2, true, -1, kDecimal, "5", -1, "101", "5", "5", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CSimulatedConverter sim;
    sim.SelectWidth(c.widthIndex);
    sim.SelectSigned(c.isSigned);
    if (c.binaryRow >= 0) sim.SelectRowBase(c.binaryRow, kBinary);
    sim.Type(c.typedBase, c.typed);
    const int beepsBefore = sim.beeper.count;
    sim.Converter().FlipBit(c.bit);
    // A flip writes the Binary text filled to the width; a refused one leaves it.
    EXPECT_EQ(sim.TextOf(kBinary), c.beeps ? std::string(c.bin) : ZeroFill(c.bin, sim.Converter().Bits()));
    EXPECT_EQ(sim.TextOf(kDecimal), c.dec);
    EXPECT_EQ(sim.TextOf(kHexadecimal), c.hex);
    EXPECT_EQ(sim.beeper.count - beepsBefore, c.beeps);
    if (c.beeps == 0) {
      EXPECT_EQ(sim.Converter().LastConverted(), kBinary);
    }
    EXPECT_FALSE(sim.Converter().UpdateInProgress());
    EXPECT_EQ(sim.Converter().BitPattern(), BitGridPattern(c.bin, sim.Converter().Bits()));
  }
}

TEST(BitGrid, ConsoleRefusesABadBitNumberAsAMalformedLine) {
  for (const char* line : {"flip", "flip 64", "flip -1", "flip x", "flip 1 2", "flip 0x3"}) {
    SCOPED_TRACE(line);
    std::istringstream in(std::string(line) + "\n");
    std::ostringstream out, err;
    EXPECT_EQ(RunTranscript(in, out, err), 2);
    EXPECT_EQ(err.str(), "radixpad-console: line 1: flip takes a bit number, 0 to 63\n");
  }
}

}  // namespace
}  // namespace radixpad
