// How the main window presents its rows: the fixed-width digit font, a default
// width that shows 64 Binary digits whole, and the tooltips of every control.
#include <QFontDatabase>
#include <QLayout>

#include "converter_dlg.h"
#include "digit_edit.h"
#include "localized_texts.h"
#include "radix_rules.h"
#include "ui_converter_dlg.h"

namespace radixpad {

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
  // One pixel more for the caret behind the last digit, one for rounding; grouped,
  // the 64 digits have 15 gaps.
  const int gaps = field->GroupDigits() ? 15 * field->GroupGap() : 0;
  const int wanted = metrics.horizontalAdvance(QString(64, QLatin1Char('0'))) + gaps + chrome + 2;
  layout()->activate();
  const int missing = wanted - field->width();
  if (missing > 0) resize(width() + missing, height());
}

void CConverterDlg::SetGroupDigits(bool grouped) {
  for (CDigitEdit* field : fields_) field->SetGroupDigits(grouped);
  if (grouped) WidenForBinaryDigits();
}

bool CConverterDlg::GroupDigits() const { return fields_[0]->GroupDigits(); }

QString CConverterDlg::ToolTip(const char* key) const { return SectionText(text_sections::kToolTip, key, ""); }

void CConverterDlg::UpdateFieldToolTips() {
  // A field's tooltip names the base it shows, which moves with the row selectors; its
  // key is the base's English name.
  for (CDigitEdit* field : fields_) {
    if (IsValidBase(field->Base())) field->setToolTip(ToolTip(kBaseNames[static_cast<std::size_t>(field->Base())]));
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
