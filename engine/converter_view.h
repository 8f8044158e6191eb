// The controls the converter drives. The main window implements them with its
// widgets; tests and the console driver implement them with small fakes.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace radixpad {

/// A row's digit field.
class IDigitField {
 public:
  virtual ~IDigitField() = default;
  virtual std::string Text() const = 0;
  /// A program write. It must raise the field's change notification (which ends
  /// in CConverter::OnRowChanged) before it returns, even for an unchanged text.
  virtual void SetText(std::string_view text) = 0;
  /// Stores base, width and signedness and sets the typing limit from them.
  virtual void SetMode(int base, int bits, int signedFlag) = 0;
  virtual int Base() const = 0;
};

/// A drop-down list: the base, width and signedness selectors.
class ISelector {
 public:
  virtual ~ISelector() = default;
  /// The selected index, -1 with no selection.
  virtual int CurrentIndex() const = 0;
  /// Selects an index without raising a change notification.
  virtual void SetCurrentIndex(int index) = 0;
};

/// A hidden control that carries state: the mnemonic labels, the "Signed" check
/// box and the width radio buttons.
class ILabel {
 public:
  virtual ~ILabel() = default;
  virtual void SetText(std::string_view text) = 0;
};

class IToggle {
 public:
  virtual ~IToggle() = default;
  virtual bool IsChecked() const = 0;
  virtual void SetChecked(bool checked) = 0;
};

class IBeeper {
 public:
  virtual ~IBeeper() = default;
  /// The exclamation beep that answers refused input.
  virtual void Beep() = 0;
};

/// Everything the converter drives, by row (index 0 is row 1) and by width index.
struct ConverterControls {
  std::array<IDigitField*, 4> fields{};       // controls 1003..1006
  std::array<ISelector*, 4> baseSelectors{};  // controls 1009..1012
  std::array<ILabel*, 4> mnemonicLabels{};    // controls 1013..1016
  ISelector* widthSelector = nullptr;         // control 1031
  ISelector* signSelector = nullptr;          // control 1020: 0 "Signed", 1 "Unsigned"
  IToggle* signedCheck = nullptr;             // control 1007
  std::array<IToggle*, 4> widthRadios{};      // controls 1000, 1001, 1002, 1008
  IBeeper* beeper = nullptr;
};

}  // namespace radixpad
