#include "converter.h"

#include "radix_rules.h"

namespace radixpad {

const std::array<const char*, 4> kBaseNames{"Binary", "Octal", "Decimal", "Hexadecimal"};
const std::array<const char*, 4> kBaseMnemonics{"&B", "&O", "&D", "&H"};
const std::array<const char*, 4> kWidthNames{"8 Bits", "16 Bits", "32 Bits", "64 Bits"};
const std::array<const char*, 2> kSignNames{"Signed", "Unsigned"};

namespace {

std::size_t At(int i) { return static_cast<std::size_t>(i); }

// Sets the update-in-progress flag for a scope and clears it on every way out.
class UpdateGuard {
 public:
  explicit UpdateGuard(int& flag) : flag_(flag) { flag_ = 1; }
  ~UpdateGuard() { flag_ = 0; }
  UpdateGuard(const UpdateGuard&) = delete;
  UpdateGuard& operator=(const UpdateGuard&) = delete;

 private:
  int& flag_;
};

}  // namespace

CConverter::CConverter(const ConverterControls& controls) : c_(controls) {}

int CConverter::Bits() const { return WidthBits(widthIndex_); }

IDigitField& CConverter::FieldOfBase(int base) const { return *c_.fields[At(rowOfBase_[At(base)])]; }

void CConverter::SetLastConverted(int base) {
  if (IsValidBase(base)) lastConverted_ = base;
}

void CConverter::Beep() { c_.beeper->Beep(); }

void CConverter::Initialize() {
  for (int row = 0; row < 4; ++row) c_.baseSelectors[At(row)]->SetCurrentIndex(row);
  for (int row = 0; row < 4; ++row) c_.mnemonicLabels[At(row)]->SetText(kBaseMnemonics[At(row)]);
  // Rows 1, 2, 4, 3: the order the fields have always been told their base in.
  for (int row : {0, 1, 3, 2}) c_.fields[At(row)]->SetMode(row, 8, signed_);
  rowOfBase_ = {0, 1, 2, 3};
  c_.signedCheck->SetChecked(signed_ != 0);
  c_.signSelector->SetCurrentIndex(1 - signed_);
  SetWidth(widthIndex_);
  c_.widthRadios[At(widthIndex_)]->SetChecked(true);
  c_.widthSelector->SetCurrentIndex(widthIndex_);
}

void CConverter::OnRowChanged(int row) {
  if (updating_ != 0 || row < 0 || row >= 4) return;
  const int base = c_.fields[At(row)]->Base();
  if (IsValidBase(base)) ParseAndCrossUpdate(base);
}

void CConverter::EmptyRowsExcept(int keptBase) {
  for (int base = 0; base < kBaseCount; ++base) {
    if (base != keptBase) FieldOfBase(base).SetText("");
  }
}

void CConverter::RestoreLastGoodTexts() {
  const auto texts = lastGood_;
  for (int base = 0; base < kBaseCount; ++base) FieldOfBase(base).SetText(texts[At(base)]);
}

void CConverter::WriteFromPattern(int sourceBase, std::uint64_t pattern) {
  const int bits = Bits();
  if (sourceBase != kBinary) FieldOfBase(kBinary).SetText(FormatBinary(pattern, bits));
  if (sourceBase != kOctal) FieldOfBase(kOctal).SetText(FormatOctal(pattern, bits));
  if (sourceBase != kDecimal) FieldOfBase(kDecimal).SetText(FormatDecimal(pattern, bits, signed_ != 0));
  if (sourceBase != kHexadecimal) FieldOfBase(kHexadecimal).SetText(FormatHex(pattern, bits));
}

void CConverter::ParseAndCrossUpdate(int base) {
  if (!IsValidBase(base)) return;
  bool reparseHex = false;
  {
    UpdateGuard guard(updating_);
    lastConverted_ = base;
    const bool isSigned = signed_ != 0;
    const int bits = Bits();
    const std::string text = FieldOfBase(base).Text();

    const bool empty = base == kDecimal ? DecimalCountsAsEmpty(text, isSigned) : text.empty();
    if (empty) {
      EmptyRowsExcept(base);
      lastGood_ = {};
      lastGood_[At(base)] = text;
      return;
    }

    // A negative Decimal in unsigned mode is a number outside the range, not a bad
    // character: it arrives when the mode changes under a negative value, and the
    // rows keep the pattern, as in the other direction.
    const bool negativeUnsigned =
        base == kDecimal && !isSigned && text.front() == '-' && CharactersValid(kDecimal, text, true);
    if (!negativeUnsigned && !CharactersValid(base, text, isSigned)) {
      Beep();
      EmptyRowsExcept(-1);
      // An Octal source keeps the last good texts, so a later overflow can put
      // back what was there before the bad paste.
      if (base != kOctal) lastGood_ = {};
      return;
    }

    std::uint64_t pattern = 0;
    bool overflow = false;
    switch (base) {
      case kBinary:
        overflow = text.size() > static_cast<std::size_t>(bits);
        if (!overflow) pattern = ReadPattern(ZeroFill(text, bits));
        break;
      case kOctal:
      case kHexadecimal: {
        const std::string digits = base == kOctal ? OctalToBinaryDigits(text) : HexToBinaryDigits(text);
        overflow = digits.size() > static_cast<std::size_t>(bits);
        if (!overflow) pattern = ReadPattern(ZeroFill(digits, bits));
        break;
      }
      default:
        overflow = negativeUnsigned || ReadDecimal(text, bits, isSigned, pattern) != DecimalRead::kOk;
        break;
    }

    if (overflow) {
      Beep();
      RestoreLastGoodTexts();
      // The restored Decimal text may belong to the other mode: the Hexadecimal row
      // holds the pattern and writes the Decimal row again under this one.
      reparseHex = base == kDecimal && (isSigned || negativeUnsigned);
    } else {
      WriteFromPattern(base, pattern);
      for (int b = 0; b < kBaseCount; ++b) lastGood_[At(b)] = FieldOfBase(b).Text();
    }
  }
  // Runs after the flag is cleared, and sets it again itself.
  if (reparseHex) ParseAndCrossUpdate(kHexadecimal);
}

void CConverter::SetModeOfAllFields() {
  for (IDigitField* field : c_.fields) field->SetMode(field->Base(), Bits(), signed_);
}

void CConverter::SetWidth(int widthIndex) {
  if (widthIndex < 0 || widthIndex >= kWidthCount) return;
  widthIndex_ = widthIndex;
  SetModeOfAllFields();
  const int bits = Bits();
  IDigitField& binary = FieldOfBase(kBinary);
  const std::string text = binary.Text();
  if (text.size() > static_cast<std::size_t>(bits)) {
    // Narrowing keeps the low bits, as a cast does: the rightmost W characters of
    // an over-long Binary text, from which the other rows are derived.
    updating_ = 1;
    binary.SetText(text.substr(text.size() - static_cast<std::size_t>(bits)));
    ParseAndCrossUpdate(kBinary);
  }
  ParseAndCrossUpdate(lastConverted_);
}

void CConverter::OnWidthSelectorChanged() {
  const int k = c_.widthSelector->CurrentIndex();
  if (k < 0 || k >= kWidthCount) return;
  widthIndex_ = k;
  SetWidth(k);
  c_.widthRadios[At(k)]->SetChecked(true);
}

void CConverter::OnSignednessChanged() {
  signed_ = c_.signedCheck->IsChecked() ? 1 : 0;
  SetModeOfAllFields();
  ParseAndCrossUpdate(lastConverted_);
}

void CConverter::OnSignednessSelectorChanged() {
  signed_ = c_.signSelector->CurrentIndex() == 0 ? 1 : 0;
  c_.signedCheck->SetChecked(signed_ != 0);
  OnSignednessChanged();
}

void CConverter::OnRowBaseSelectorChanged(int row) {
  if (row < 0 || row >= 4) return;
  const int newBase = c_.baseSelectors[At(row)]->CurrentIndex();
  if (!IsValidBase(newBase)) return;
  IDigitField& field = *c_.fields[At(row)];
  const int oldBase = field.Base();
  // A selector that reports the base its row already shows changes nothing.
  if (newBase == oldBase) return;

  UpdateGuard guard(updating_);
  const int bits = Bits();
  field.SetMode(newBase, bits, signed_);
  const std::string mine = field.Text();
  std::string theirs;
  for (int other = 0; other < 4; ++other) {
    if (other == row || c_.baseSelectors[At(other)]->CurrentIndex() != newBase) continue;
    c_.baseSelectors[At(other)]->SetCurrentIndex(oldBase);
    IDigitField& otherField = *c_.fields[At(other)];
    otherField.SetMode(oldBase, bits, signed_);
    theirs = otherField.Text();
    otherField.SetText(mine);
    if (IsValidBase(oldBase)) {
      rowOfBase_[At(oldBase)] = other;
      c_.mnemonicLabels[At(other)]->SetText(kBaseMnemonics[At(oldBase)]);
    }
    break;
  }
  field.SetText(theirs);
  rowOfBase_[At(newBase)] = row;
  c_.mnemonicLabels[At(row)]->SetText(kBaseMnemonics[At(newBase)]);
}

void CConverter::RunBitOperation(BitOperation op) {
  IDigitField& binary = FieldOfBase(kBinary);
  const std::string text = binary.Text();
  if (text.empty()) {
    Beep();
    return;
  }
  const std::string result = ApplyBitOperation(op, text, Bits());
  if (op == BitOperation::kInvert) {
    updating_ = 1;
    binary.SetText(result);
    ParseAndCrossUpdate(kBinary);
  } else {
    // The write's own change notification runs the Binary parse, as typing would.
    binary.SetText(result);
  }
}

// The views read the pattern as the bit grid shows it.
std::uint64_t CConverter::Pattern() const { return ReadPattern(BitPattern()); }

void CConverter::SetFromFloatText(std::string_view text) {
  const auto pattern = ParseFloatText(text, Bits());
  if (!pattern) {
    Beep();
    return;
  }
  FieldOfBase(kHexadecimal).SetText(FormatHex(*pattern, Bits()));
}

}  // namespace radixpad
