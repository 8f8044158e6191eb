// Plain, window-less stand-ins for the converter's controls, with the editing
// behaviour of a digit field (caret, typing filter, typing limit, capitals).
// The console driver replays transcripts through them and the engine tests use
// them as their controls.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "converter.h"
#include "digit_filter.h"

namespace radixpad {

/// The console's words for the bases (transcripts and --print --base), by base index.
inline constexpr std::string_view kBaseWords[] = {"bin", "oct", "dec", "hex"};
/// The base a console word names.
std::optional<int> BaseOfWord(std::string_view word);

class CSimulatedField : public IDigitField {
 public:
  std::string Text() const override { return text_; }
  void SetText(std::string_view text) override;
  void SetMode(int base, int bits, int signedFlag) override;
  int Base() const override { return base_; }

  int Bits() const { return bits_; }
  int SignedFlag() const { return signed_; }
  std::optional<int> Limit() const { return limit_; }
  std::size_t Caret() const { return caret_; }

  /// One keystroke through the typing filter and limit. A refused character
  /// beeps; an accepted one that does not fit is dropped silently; the base's
  /// marker after a lone leading zero takes the zero away.
  void TypeChar(char c, bool ctrlDown = false);
  void Home() { caret_ = 0; }
  /// Deletes the character before the caret, if there is one.
  void Backspace();
  /// Replaces the whole text with the paste, tidied for the base; a paste holding
  /// a character typing would refuse, or longer than the typing limit, beeps and
  /// changes nothing. Says what happened.
  PasteResult Paste(std::string_view text);

  std::function<void()> onChange;  // the change notification
  IBeeper* beeper = nullptr;

 private:
  void Notify();

  std::string text_;
  std::size_t caret_ = 0;
  std::optional<int> limit_;
  int base_ = 0;
  int bits_ = 8;
  int signed_ = 1;
};

class CSimulatedSelector : public ISelector {
 public:
  int CurrentIndex() const override { return index_; }
  void SetCurrentIndex(int index) override { index_ = index; }

 private:
  int index_ = -1;
};

class CSimulatedLabel : public ILabel {
 public:
  void SetText(std::string_view text) override { text_ = text; }
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

class CSimulatedToggle : public IToggle {
 public:
  bool IsChecked() const override { return checked_; }
  void SetChecked(bool checked) override { checked_ = checked; }

 private:
  bool checked_ = false;
};

class CCountingBeeper : public IBeeper {
 public:
  void Beep() override { ++count; }
  int count = 0;
};

/// A converter wired to simulated controls, initialised as the window starts.
class CSimulatedConverter {
 public:
  CSimulatedConverter();
  CSimulatedConverter(const CSimulatedConverter&) = delete;
  CSimulatedConverter& operator=(const CSimulatedConverter&) = delete;

  CConverter& Converter() { return converter_; }
  CSimulatedField& FieldOfBase(int base);
  std::string TextOf(int base) { return FieldOfBase(base).Text(); }

  // User actions, each ending in the handler a user's action runs.
  void SelectWidth(int widthIndex);
  void SelectSigned(bool isSigned);
  void SelectRowBase(int row, int base);
  void Type(int base, std::string_view keys);
  PasteResult Paste(int base, std::string_view text);
  void Write(int base, std::string_view text);

  std::array<CSimulatedField, 4> fields;
  std::array<CSimulatedSelector, 4> baseSelectors;
  std::array<CSimulatedLabel, 4> labels;
  CSimulatedSelector widthSelector;
  CSimulatedSelector signSelector;
  CSimulatedToggle signedCheck;
  std::array<CSimulatedToggle, 4> widthRadios;
  CCountingBeeper beeper;

 private:
  ConverterControls Controls();
  CConverter converter_;
};

}  // namespace radixpad
