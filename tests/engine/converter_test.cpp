#include "converter.h"

#include <gtest/gtest.h>

#include <string>

#include "digit_filter.h"
#include "radix_rules.h"
#include "simulated_controls.h"

namespace radixpad {
namespace {

struct Rows {
  std::string bin, oct, dec, hex;
  bool operator==(const Rows&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Rows& r) {
  return os << "bin=" << r.bin << " oct=" << r.oct << " dec=" << r.dec << " hex=" << r.hex;
}

Rows RowsOf(CSimulatedConverter& sim) {
  return {sim.TextOf(kBinary), sim.TextOf(kOctal), sim.TextOf(kDecimal), sim.TextOf(kHexadecimal)};
}

// The invariants that hold whenever no converter operation runs.
void ExpectInvariants(CSimulatedConverter& sim) {
  CConverter& conv = sim.Converter();
  bool seen[4] = {};
  for (int row = 0; row < 4; ++row) {
    const auto& field = sim.fields[static_cast<std::size_t>(row)];
    const int base = field.Base();
    ASSERT_TRUE(IsValidBase(base)) << "row " << row;
    EXPECT_FALSE(seen[base]) << "base " << base << " shown twice";
    seen[base] = true;
    EXPECT_EQ(sim.baseSelectors[static_cast<std::size_t>(row)].CurrentIndex(), base) << "row " << row;
    EXPECT_EQ(conv.RowOfBase(base), row);
    EXPECT_EQ(sim.labels[static_cast<std::size_t>(row)].Text(), kBaseMnemonics[static_cast<std::size_t>(base)]);
    EXPECT_EQ(field.Bits(), conv.Bits());
    EXPECT_EQ(field.SignedFlag(), conv.SignedFlag());
    EXPECT_EQ(field.Limit(), TextLimit(base, conv.Bits(), conv.SignedFlag() != 0));
  }
  EXPECT_FALSE(conv.UpdateInProgress());
  EXPECT_EQ(sim.signSelector.CurrentIndex(), 1 - conv.SignedFlag());
  EXPECT_EQ(sim.signedCheck.IsChecked(), conv.SignedFlag() != 0);
  EXPECT_EQ(sim.widthSelector.CurrentIndex(), conv.WidthIndex());
}

TEST(Converter, StartsWithDefaultRowsAndEmptyFields) {
  CSimulatedConverter sim;
  ExpectInvariants(sim);
  EXPECT_EQ(RowsOf(sim), Rows{});
  EXPECT_EQ(sim.Converter().Bits(), 32);
  EXPECT_EQ(sim.Converter().SignedFlag(), 1);
  EXPECT_EQ(sim.Converter().LastConverted(), kBinary);
  EXPECT_TRUE(sim.widthRadios[2].IsChecked());
  EXPECT_EQ(sim.beeper.count, 0);
}

// Program writes raise the change notification inside the write; the update
// flag must keep the converter's own writes from parsing again.
TEST(Converter, OwnWritesDoNotParseAgain) {
  CSimulatedConverter sim;
  int parses = 0;
  auto& hexField = sim.FieldOfBase(kHexadecimal);
  auto original = hexField.onChange;
  hexField.onChange = [&] {
    if (!sim.Converter().UpdateInProgress()) ++parses;
    original();
  };
  sim.Type(kDecimal, "255");
  EXPECT_EQ(parses, 0) << "the Hexadecimal row was written, never parsed";
  EXPECT_EQ(sim.TextOf(kHexadecimal), "FF");
  EXPECT_EQ(sim.Converter().LastConverted(), kDecimal);
}

TEST(Converter, UnchangedProgramWriteStillParses) {
  CSimulatedConverter sim;
  sim.SelectWidth(0);
  sim.Paste(kBinary, "11111111");
  sim.Paste(kHexadecimal, "FF");
  ASSERT_EQ(sim.Converter().LastConverted(), kHexadecimal);
  // Rotating eight ones writes the same text back; it must still parse Binary.
  sim.Converter().RunBitOperation(BitOperation::kRotateRight);
  EXPECT_EQ(sim.Converter().LastConverted(), kBinary);
  EXPECT_EQ(RowsOf(sim), (Rows{"11111111", "377", "-1", "FF"}));
}

TEST(Converter, RowBaseExchangeSwapsTextsAndLabels) {
  CSimulatedConverter sim;
  sim.Type(kBinary, "1010");
  ASSERT_EQ(sim.TextOf(kDecimal), "10");
  sim.SelectRowBase(0, kDecimal);
  ExpectInvariants(sim);
  EXPECT_EQ(sim.fields[0].Text(), "10");
  EXPECT_EQ(sim.fields[2].Text(), "1010");
  EXPECT_EQ(sim.baseSelectors[2].CurrentIndex(), kBinary);
  EXPECT_EQ(sim.labels[0].Text(), "&D");
  EXPECT_EQ(sim.labels[2].Text(), "&B");
  EXPECT_EQ(sim.beeper.count, 0);
  EXPECT_EQ(sim.Converter().LastConverted(), kBinary) << "an exchange parses nothing";
}

TEST(Converter, BitOperationsFollowBinaryToItsRow) {
  CSimulatedConverter sim;
  sim.SelectRowBase(0, kHexadecimal);
  ExpectInvariants(sim);
  EXPECT_EQ(sim.Converter().RowOfBase(kBinary), 3);
  EXPECT_EQ(sim.labels[0].Text(), "&H");
  EXPECT_EQ(sim.labels[3].Text(), "&B");
  sim.SelectWidth(0);
  sim.Type(kHexadecimal, "5");
  sim.Converter().RunBitOperation(BitOperation::kShiftLeft);
  EXPECT_EQ(sim.fields[3].Text(), "00001010");
  EXPECT_EQ(sim.fields[0].Text(), "A");
}

TEST(Converter, SelectorReportingItsOwnBaseChangesNothing) {
  CSimulatedConverter sim;
  sim.Type(kDecimal, "42");
  const Rows before = RowsOf(sim);
  sim.SelectRowBase(2, kDecimal);
  EXPECT_EQ(RowsOf(sim), before);
  ExpectInvariants(sim);
}

TEST(Converter, EveryBitOperationBeepsOnEmptyBinaryRow) {
  for (BitOperation op : {BitOperation::kShiftLeft, BitOperation::kShiftRight, BitOperation::kRotateLeft,
                          BitOperation::kRotateRight, BitOperation::kInvert, BitOperation::kSwapBytes}) {
    CSimulatedConverter sim;
    sim.Type(kDecimal, "0");  // empty Binary row, Decimal keeps its text
    sim.Converter().RunBitOperation(op);
    EXPECT_EQ(sim.beeper.count, 1) << static_cast<int>(op);
    EXPECT_EQ(RowsOf(sim), (Rows{"", "", "0", ""}));
    EXPECT_EQ(sim.Converter().LastConverted(), kDecimal);
  }
}

TEST(Converter, InvertParsesOnceWithTheFlagSet) {
  CSimulatedConverter sim;
  sim.SelectWidth(0);
  sim.Type(kBinary, "111");
  sim.Converter().RunBitOperation(BitOperation::kInvert);
  EXPECT_EQ(RowsOf(sim), (Rows{"11111000", "370", "-8", "F8"})) << "inverted at the width";
  EXPECT_FALSE(sim.Converter().UpdateInProgress());
  sim.Converter().RunBitOperation(BitOperation::kInvert);
  EXPECT_EQ(RowsOf(sim), (Rows{"00000111", "7", "7", "7"}));
}

// Swap writes the Binary row as shift and rotate do; at 8 bits the value stays.
TEST(Converter, SwapBytesRewritesTheRowsFromBinary) {
  const struct {
    int widthIndex;
    const char* hex;
    const char* swapped;
  } cases[] = {{2, "12345678", "78563412"}, {3, "12345678", "7856341200000000"}, {1, "FF", "FF00"}, {0, "A5", "A5"}};
  for (const auto& c : cases) {
    CSimulatedConverter sim;
    sim.SelectWidth(c.widthIndex);
    sim.Type(kHexadecimal, c.hex);
    sim.Converter().RunBitOperation(BitOperation::kSwapBytes);
    EXPECT_EQ(sim.TextOf(kHexadecimal), c.swapped);
    EXPECT_EQ(sim.TextOf(kBinary).size(), static_cast<std::size_t>(sim.Converter().Bits())) << "filled to the width";
    EXPECT_EQ(sim.Converter().LastConverted(), kBinary);
    EXPECT_EQ(sim.beeper.count, 0);
  }
}

// A float text becomes a program write of the Hexadecimal row, wherever that
// row is; the write's own notification rewrites the other rows.
TEST(Converter, FloatTextSetsTheRowsThroughTheHexadecimalRow) {
  CSimulatedConverter sim;
  sim.SelectRowBase(0, kHexadecimal);
  sim.SelectWidth(1);
  sim.Converter().SetFromFloatText("-2.5e-3");
  EXPECT_EQ(sim.fields[0].Text(), "991F");
  EXPECT_EQ(RowsOf(sim), (Rows{"1001100100011111", "114437", "-26337", "991F"}));
  EXPECT_EQ(sim.Converter().LastConverted(), kHexadecimal);
  EXPECT_EQ(sim.Converter().Pattern(), 0x991FU);
  EXPECT_EQ(sim.Converter().FloatView().decimal, "-0.0025");
  ExpectInvariants(sim);

  sim.Converter().SetFromFloatText("0.1.");  // refused: a beep, the rows stay
  EXPECT_EQ(sim.beeper.count, 1);
  EXPECT_EQ(sim.fields[0].Text(), "991F");

  sim.SelectWidth(2);
  sim.Converter().SetFromFloatText("inf");
  EXPECT_EQ(RowsOf(sim).hex, "7F800000");

  CSimulatedConverter narrow;
  narrow.SelectWidth(0);
  narrow.Type(kDecimal, "5");
  narrow.Converter().SetFromFloatText("1");  // no format at 8 bits
  EXPECT_EQ(narrow.beeper.count, 1);
  EXPECT_EQ(RowsOf(narrow), (Rows{"101", "5", "5", "5"}));
}

TEST(Converter, LastGoodTextsFollowEachOutcome) {
  CSimulatedConverter sim;
  sim.SelectWidth(0);
  sim.Type(kOctal, "40");
  EXPECT_EQ(sim.Converter().LastGoodTexts(), (std::array<std::string, 4>{"100000", "40", "32", "20"}));
  sim.Write(kOctal, "9");  // bad character from Octal keeps them
  EXPECT_EQ(sim.Converter().LastGoodTexts()[kDecimal], "32");
  sim.Write(kBinary, "2");  // bad character elsewhere empties them
  EXPECT_EQ(sim.Converter().LastGoodTexts(), (std::array<std::string, 4>{}));
  sim.Paste(kDecimal, "0");  // empty: only the source keeps its text
  EXPECT_EQ(sim.Converter().LastGoodTexts(), (std::array<std::string, 4>{"", "", "0", ""}));
}

}  // namespace
}  // namespace radixpad
