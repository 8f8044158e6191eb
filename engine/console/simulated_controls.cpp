#include "simulated_controls.h"

#include <utility>

#include "digit_filter.h"
#include "radix_rules.h"

namespace radixpad {

std::optional<int> BaseOfWord(std::string_view word) {
  for (int base = 0; base < kBaseCount; ++base) {
    if (kBaseWords[base] == word) return base;
  }
  return std::nullopt;
}

namespace {

char Capital(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

void CSimulatedField::Notify() {
  if (onChange) onChange();
}

void CSimulatedField::SetText(std::string_view text) {
  text_ = text;
  caret_ = text_.size();
  Notify();
}

void CSimulatedField::SetMode(int base, int bits, int signedFlag) {
  base_ = base;
  bits_ = bits;
  signed_ = signedFlag;
  if (auto limit = TextLimit(base, bits, signedFlag != 0)) limit_ = limit;
}

void CSimulatedField::TypeChar(char c, bool ctrlDown) {
  if (!ctrlDown && IsMarkerAfterLoneZero(base_, c, text_, caret_)) {
    Backspace();
    return;
  }
  const KeyContext context{ctrlDown, text_.empty(), caret_ == 0};
  if (!AcceptsTypedChar(base_, signed_ != 0, c, context)) {
    if (beeper) beeper->Beep();
    return;
  }
  if (c == kBackspace) {
    Backspace();
    return;
  }
  if (limit_ && text_.size() >= static_cast<std::size_t>(*limit_)) return;
  text_.insert(caret_, 1, Capital(c));
  ++caret_;
  Notify();
}

void CSimulatedField::Backspace() {
  if (caret_ == 0) return;
  text_.erase(caret_ - 1, 1);
  --caret_;
  Notify();
}

PasteResult CSimulatedField::Paste(std::string_view text) {
  auto outcome = PasteIntoText(text_, 0, text_.size(), text, base_, signed_ != 0, limit_);
  if (!outcome.Accepted()) {
    if (beeper) beeper->Beep();
    return outcome.result;
  }
  text_ = std::move(outcome.text);
  caret_ = outcome.caret;
  Notify();
  return outcome.result;
}

CSimulatedConverter::CSimulatedConverter() : converter_(Controls()) {
  for (int row = 0; row < 4; ++row) {
    auto& field = fields[static_cast<std::size_t>(row)];
    field.beeper = &beeper;
    field.onChange = [this, row] { converter_.OnRowChanged(row); };
  }
  converter_.Initialize();
}

ConverterControls CSimulatedConverter::Controls() {
  ConverterControls c;
  for (std::size_t i = 0; i < 4; ++i) {
    c.fields[i] = &fields[i];
    c.baseSelectors[i] = &baseSelectors[i];
    c.mnemonicLabels[i] = &labels[i];
    c.widthRadios[i] = &widthRadios[i];
  }
  c.widthSelector = &widthSelector;
  c.signSelector = &signSelector;
  c.signedCheck = &signedCheck;
  c.beeper = &beeper;
  return c;
}

CSimulatedField& CSimulatedConverter::FieldOfBase(int base) {
  return fields[static_cast<std::size_t>(converter_.RowOfBase(base))];
}

void CSimulatedConverter::SelectWidth(int widthIndex) {
  widthSelector.SetCurrentIndex(widthIndex);
  converter_.OnWidthSelectorChanged();
}

void CSimulatedConverter::SelectSigned(bool isSigned) {
  signSelector.SetCurrentIndex(isSigned ? 0 : 1);
  converter_.OnSignednessSelectorChanged();
}

void CSimulatedConverter::SelectRowBase(int row, int base) {
  baseSelectors[static_cast<std::size_t>(row)].SetCurrentIndex(base);
  converter_.OnRowBaseSelectorChanged(row);
}

void CSimulatedConverter::Type(int base, std::string_view keys) {
  for (char c : keys) FieldOfBase(base).TypeChar(c);
}

PasteResult CSimulatedConverter::Paste(int base, std::string_view text) { return FieldOfBase(base).Paste(text); }

void CSimulatedConverter::Write(int base, std::string_view text) { FieldOfBase(base).SetText(text); }

}  // namespace radixpad
