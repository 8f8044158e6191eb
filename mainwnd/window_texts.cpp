#include "window_texts.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QWidget>

#include "converter.h"
#include "localized_texts.h"
#include "ui_converter_dlg.h"

namespace radixpad {
namespace {

QString WindowText(const char* key, const QString& textFile, const QString& fallback) {
  return GetSectionText(text_sections::kWindow, key, textFile, fallback);
}

void SetItemTexts(QComboBox* combo, std::initializer_list<const char*> keys, const QString& textFile) {
  int index = 0;
  for (const char* key : keys) {
    if (index < combo->count()) combo->setItemText(index, WindowText(key, textFile, combo->itemText(index)));
    ++index;
  }
}

}  // namespace

void ApplyWindowTexts(Ui::CConverterDlg& ui, QWidget& window, const QString& textFile) {
  window.setWindowTitle(WindowText("Title", textFile, window.windowTitle()));
  window.setToolTip(WindowText("ToolTip", textFile, window.toolTip()));
  const std::pair<QAbstractButton*, const char*> buttons[] = {
      {ui.width8Radio, "Width8"},          {ui.width16Radio, "Width16"},        {ui.width32Radio, "Width32"},
      {ui.width64Radio, "Width64"},        {ui.signedCheck, "SignedCheck"},     {ui.shiftLeftButton, "ShiftLeft"},
      {ui.shiftRightButton, "ShiftRight"}, {ui.rotateLeftButton, "RotateLeft"}, {ui.rotateRightButton, "RotateRight"},
      {ui.invertButton, "Invert"},         {ui.pickColorButton, "PickColor"},
  };
  for (const auto& [button, key] : buttons) button->setText(WindowText(key, textFile, button->text()));
  SetItemTexts(ui.widthSelector, {"Bits8", "Bits16", "Bits32", "Bits64"}, textFile);
  SetItemTexts(ui.signSelector, {"Signed", "Unsigned"}, textFile);
  for (QComboBox* combo : {ui.row1Base, ui.row2Base, ui.row3Base, ui.row4Base}) {
    for (int base = 0; base < combo->count() && base < 4; ++base) {
      combo->setItemText(base, LocalizedBaseName(base, textFile));
    }
  }
}

QString LocalizedBaseName(int base, const QString& textFile) {
  if (base < 0 || base >= 4) return QString();
  const auto index = static_cast<std::size_t>(base);
  // The key is the base's English name.
  return WindowText(kBaseNames[index], textFile, QString::fromLatin1(kBaseNames[index]));
}

}  // namespace radixpad
