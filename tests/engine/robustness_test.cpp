// Bad input must never crash the converter or leave it in a broken state.
#include <gtest/gtest.h>

#include <string>

#include "radix_rules.h"
#include "simulated_controls.h"

namespace radixpad {
namespace {

void ExpectSane(CSimulatedConverter& sim) {
  ASSERT_FALSE(sim.Converter().UpdateInProgress());
  for (int base = 0; base < kBaseCount; ++base) {
    ASSERT_EQ(sim.FieldOfBase(base).Base(), base);
  }
}

TEST(Robustness, EveryByteTypedAndPastedIntoEveryRow) {
  for (int widthIndex = 0; widthIndex < 4; ++widthIndex) {
    for (bool isSigned : {true, false}) {
      CSimulatedConverter sim;
      sim.SelectWidth(widthIndex);
      sim.SelectSigned(isSigned);
      for (int base = 0; base < kBaseCount; ++base) {
        for (int byte = 0; byte < 256; ++byte) {
          const char c = static_cast<char>(byte);
          sim.Type(base, std::string(1, c));
          ExpectSane(sim);
          sim.Paste(base, std::string("1") + c + "0");
          ExpectSane(sim);
          sim.Write(base, std::string(3, c));
          ExpectSane(sim);
        }
      }
    }
  }
}

TEST(Robustness, TypedKeysOutsideTheBaseBeepAndChangeNothing) {
  CSimulatedConverter sim;
  sim.Type(kBinary, "101");
  const int beeps = sim.beeper.count;
  for (char c : std::string(" +.,xyz2389gG\t")) sim.Type(kBinary, std::string(1, c));
  EXPECT_EQ(sim.TextOf(kBinary), "101");
  EXPECT_EQ(sim.beeper.count - beeps, 14);
}

TEST(Robustness, OverlongPastesAndWrites) {
  CSimulatedConverter sim;
  sim.SelectWidth(3);
  const std::string longDigits(100000, '7');
  for (int base = 0; base < kBaseCount; ++base) {
    const std::string before = sim.TextOf(base);
    const int beeps = sim.beeper.count;
    sim.Paste(base, longDigits);
    EXPECT_EQ(sim.TextOf(base), before) << "a paste longer than the field's limit is refused, never cut";
    EXPECT_EQ(sim.beeper.count, beeps + 1);
    ExpectSane(sim);
    sim.Write(base, longDigits);  // program writes are not cut; the parse refuses or restores
    ExpectSane(sim);
  }
  // A Binary text longer than the width is cut when the width narrows.
  sim.Write(kBinary, std::string(64, '1'));
  sim.SelectWidth(0);
  EXPECT_EQ(sim.TextOf(kBinary), "11111111");
  EXPECT_EQ(sim.TextOf(kDecimal), "-1");
}

TEST(Robustness, MinusSignsEverywhere) {
  const char* texts[] = {"-",
                         "--",
                         "-0-",
                         "0-",
                         "-1-1",
                         "---------",
                         "-9223372036854775809",
                         "-18446744073709551616",
                         "-00000000000000000000000000000000000000001"};
  for (bool isSigned : {true, false}) {
    for (const char* text : texts) {
      for (int base = 0; base < kBaseCount; ++base) {
        CSimulatedConverter sim;
        sim.SelectWidth(3);
        sim.SelectSigned(isSigned);
        sim.Write(base, text);
        ExpectSane(sim);
        sim.FieldOfBase(base).Home();
        sim.Type(base, "-");
        ExpectSane(sim);
      }
    }
  }
}

TEST(Robustness, EmptyFieldsEverywhere) {
  CSimulatedConverter sim;
  for (int base = 0; base < kBaseCount; ++base) {
    sim.FieldOfBase(base).Backspace();
    sim.Paste(base, "");
    sim.Write(base, "");
  }
  for (int w = 0; w < 4; ++w) sim.SelectWidth(w);
  sim.SelectSigned(false);
  for (int row = 0; row < 4; ++row) sim.SelectRowBase(row, (row + 1) % 4);
  EXPECT_EQ(sim.beeper.count, 0);
  ExpectSane(sim);
}

}  // namespace
}  // namespace radixpad
