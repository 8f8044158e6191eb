// The colour pick: a colour's value 0x00BBGGRR shown in the rows.
#include <QColorDialog>

#include "converter_dlg.h"
#include "digit_edit.h"
#include "radix_rules.h"

namespace radixpad {

namespace {

constexpr int kWidth32 = 2;

QColor ColorOfRef(std::uint32_t ref) {
  return QColor(static_cast<int>(ref & 0xFF), static_cast<int>((ref >> 8) & 0xFF),
                static_cast<int>((ref >> 16) & 0xFF));
}

std::uint32_t RefOfColor(const QColor& color) {
  const QColor rgb = color.toRgb();
  return static_cast<std::uint32_t>(rgb.red()) | (static_cast<std::uint32_t>(rgb.green()) << 8) |
         (static_cast<std::uint32_t>(rgb.blue()) << 16);
}

std::optional<QColor> AskColor(QWidget* parent, QColor initial) {
  const QColor chosen = QColorDialog::getColor(initial, parent);
  if (!chosen.isValid()) return std::nullopt;
  return chosen;
}

}  // namespace

void CConverterDlg::PickColor() {
  // The colour is a 32-bit value: switch to 32 bits first, and stay there
  // even when the dialog is cancelled.
  if (converter_->WidthIndex() != kWidth32) ChooseWidth(kWidth32);
  const std::uint32_t start = DecimalTextToColorRef(FieldOfBase(kDecimal)->Text());
  const std::optional<QColor> chosen = (colorChooser_ ? colorChooser_ : AskColor)(this, ColorOfRef(start));
  if (!chosen) return;
  FieldOfBase(kDecimal)->SetText(ColorRefToDecimalText(RefOfColor(*chosen)));
  converter_->ParseAndCrossUpdate(kDecimal);
}

}  // namespace radixpad
