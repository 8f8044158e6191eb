// The converter: four rows showing one bit pattern in four bases. No number is
// kept; every conversion re-reads one row's text and rewrites the other rows.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "bit_operations.h"
#include "char_view.h"
#include "converter_view.h"
#include "float_view.h"

namespace radixpad {

/// Selector item texts and mnemonic label texts, by base index.
extern const std::array<const char*, 4> kBaseNames;      // "Binary", ...
extern const std::array<const char*, 4> kBaseMnemonics;  // "&B", ...
extern const std::array<const char*, 4> kWidthNames;     // "8 Bits", ...
extern const std::array<const char*, 2> kSignNames;      // "Signed", "Unsigned"

class CConverter {
 public:
  /// Every pointer in `controls` must be set and outlive the converter.
  explicit CConverter(const ConverterControls& controls);

  /// Brings the controls in line with the initial state: bases 0..3 in rows 1..4,
  /// labels, field modes, the signedness controls, then the width.
  void Initialize();

  // Notifications from the controls.
  void OnRowChanged(int row);
  void OnWidthSelectorChanged();
  void OnSignednessChanged();
  void OnSignednessSelectorChanged();
  void OnRowBaseSelectorChanged(int row);

  /// Parses the row showing `base` and rewrites the other rows from it.
  void ParseAndCrossUpdate(int base);
  void SetWidth(int widthIndex);
  /// One of the bit operations, on the row showing Binary; an empty Binary row
  /// beeps and changes nothing.
  void RunBitOperation(BitOperation op);
  /// Flips bit `bit` (0 = least significant) of the row showing Binary; a bit at
  /// or above the width beeps and changes nothing.
  void FlipBit(int bit);
  /// The bits the bit grid shows, most significant first (see BitGridPattern).
  std::string BitPattern() const;

  /// The pattern the rows show, in the low Bits() bits, read from the Binary
  /// row as the bit grid reads it (an empty row is zero).
  std::uint64_t Pattern() const;
  FloatDescription FloatView() const { return DescribeFloat(Pattern(), Bits()); }
  CharDescription CharView() const { return DescribeChar(Pattern(), Bits()); }
  /// Sets the rows to the pattern of a decimal number at the width (see
  /// ParseFloatText) by a program write of the Hexadecimal row, whose change
  /// notification rewrites the other rows. Text that is no number, and any
  /// text at 8 bits, beeps and changes nothing.
  void SetFromFloatText(std::string_view text);

  IDigitField& FieldOfBase(int base) const;
  int RowOfBase(int base) const { return rowOfBase_[static_cast<std::size_t>(base)]; }
  int WidthIndex() const { return widthIndex_; }
  int Bits() const;
  int SignedFlag() const { return signed_; }
  int LastConverted() const { return lastConverted_; }
  /// Sets the last-converted base directly, as loading saved settings does.
  void SetLastConverted(int base);
  bool UpdateInProgress() const { return updating_ != 0; }
  const std::array<std::string, 4>& LastGoodTexts() const { return lastGood_; }

 private:
  void Beep();
  void SetModeOfAllFields();
  void EmptyRowsExcept(int keptBase);
  void RestoreLastGoodTexts();
  void WriteFromPattern(int sourceBase, std::uint64_t pattern);

  ConverterControls c_;
  std::array<int, 4> rowOfBase_{0, 1, 2, 3};  // base-to-row assignment
  int signed_ = 1;
  int lastConverted_ = 0;
  int widthIndex_ = 2;
  int updating_ = 0;
  std::array<std::string, 4> lastGood_;
};

}  // namespace radixpad
