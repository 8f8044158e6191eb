// How the main window presents its rows: the fixed-width digit font, a default
// width that shows 64 Binary digits whole, and the tooltips of every control.
#include <QFontDatabase>
#include <QLayout>

#include "converter_dlg.h"
#include "digit_edit.h"
#include "ini_store.h"
#include "radix_rules.h"
#include "ui_converter_dlg.h"

namespace radixpad {

namespace {

const QString kToolTipSection = QStringLiteral("Tooltip");
// Tooltip keys of the digit fields, by base.
constexpr std::array<const char*, 4> kFieldToolTipKeys{"Binary", "Octal", "Decimal", "Hexadecimal"};

}  // namespace

void CConverterDlg::ApplyDigitFont() {
  // Labels, lists and buttons keep the window font; only the digits change.
  QFont digits = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  digits.setPointSizeF(font().pointSizeF());
  for (CDigitEdit* field : fields_) field->setFont(digits);
}

void CConverterDlg::WidenForBinaryDigits() {
  CDigitEdit* field = fields_[0];
  const QFontMetrics metrics(field->font());
  // The field's frame and margins: its size hint less the text width it is made of.
  const int chrome = field->sizeHint().width() - metrics.horizontalAdvance(QLatin1Char('x')) * 17;
  // One pixel more for the caret behind the last digit, one for rounding.
  const int wanted = metrics.horizontalAdvance(QString(64, QLatin1Char('0'))) + chrome + 2;
  layout()->activate();
  const int missing = wanted - field->width();
  if (missing > 0) resize(width() + missing, height());
}

QString CConverterDlg::ToolTip(const char* key) const {
  return GetIniText(kToolTipSection, QString::fromLatin1(key), QString(), Paths().textFile);
}

void CConverterDlg::UpdateFieldToolTips() {
  // A field's tooltip names the base it shows, which moves with the row selectors.
  for (CDigitEdit* field : fields_) {
    if (IsValidBase(field->Base()))
      field->setToolTip(ToolTip(kFieldToolTipKeys[static_cast<std::size_t>(field->Base())]));
  }
}

void CConverterDlg::ApplyToolTips() {
  const QString rowBase = ToolTip("RowBase");
  for (QComboBox* combo : {ui_->row1Base, ui_->row2Base, ui_->row3Base, ui_->row4Base}) combo->setToolTip(rowBase);
  ui_->widthSelector->setToolTip(ToolTip("Width"));
  ui_->signSelector->setToolTip(ToolTip("Signedness"));
  ui_->shiftLeftButton->setToolTip(ToolTip("ShiftLeft"));
  ui_->shiftRightButton->setToolTip(ToolTip("ShiftRight"));
  ui_->rotateLeftButton->setToolTip(ToolTip("RotateLeft"));
  ui_->rotateRightButton->setToolTip(ToolTip("RotateRight"));
  ui_->invertButton->setToolTip(ToolTip("Invert"));
  ui_->pickColorButton->setToolTip(ToolTip("PickColor"));
  UpdateFieldToolTips();
}

}  // namespace radixpad
