// The bit grid under the buttons: the W bits of the row showing Binary, most
// significant at the left, in groups of four with the number of each group's
// lowest bit under it; at 64 bits two lines (63..32 above, 31..0 below). Each
// bit is a checkable button named "Bit N". A click, Space or an accessible Toggle
// asks for a flip through bitClicked() and leaves the state to the rows; the arrow
// keys move between the bits, and only one bit at a time takes part in the Tab order.
#pragma once

#include <QWidget>
#include <array>
#include <string_view>

class QGridLayout;
class QHBoxLayout;
class QLabel;
class QAbstractButton;

namespace radixpad {

class CBitButton;

class CBitGridPanel : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kMaxBits = 64;

  explicit CBitGridPanel(const QFont& digitFont, QWidget* parent = nullptr);

  /// Shows a pattern of '0' and '1', most significant first; its length is the
  /// width W, and the bits are laid out again when W changed.
  void ShowPattern(std::string_view pattern);
  int Bits() const { return bits_; }
  /// The button of bit `bit`, or nullptr beyond 63.
  QAbstractButton* BitButton(int bit) const;
  /// The bit that takes part in the Tab order.
  int CurrentBit() const { return current_; }
  /// The texts from the text file: the tooltip and the accessible name of every bit
  /// (each a format, %1 the bit number), and the grid's accessible name.
  void SetTexts(const QString& bitToolTip, const QString& bitName, const QString& gridName);
  /// Links the bits into the Tab order between `before` and what followed it.
  void PlaceInTabOrder(QWidget* before);

 signals:
  void bitClicked(int bit);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void LayOut(int bits);
  void SetCurrent(int bit);

  std::array<QAbstractButton*, kMaxBits> buttons_{};
  std::array<QLabel*, kMaxBits / 4> numbers_{};
  QHBoxLayout* outer_ = nullptr;
  QGridLayout* grid_ = nullptr;
  int bits_ = 0;
  int current_ = kMaxBits - 1;
  bool showing_ = false;  // the rows are setting the bits' states
};

}  // namespace radixpad
