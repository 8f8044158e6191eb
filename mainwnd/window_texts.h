// The main window's own texts (its title, the controls' captions, the selectors'
// items and its tooltip) from section Window of String.dat. The look preview shows
// the same template and takes the same texts.
#pragma once

#include <QString>

class QWidget;

namespace Ui {
class CConverterDlg;
}

namespace radixpad {

/// Applies the texts to a window built from the main window's template; a key the
/// text file lacks keeps the template's English text.
void ApplyWindowTexts(Ui::CConverterDlg& ui, QWidget& window, const QString& textFile);

/// The localized name of a base (0 binary .. 3 hexadecimal), as the row selectors list it.
QString LocalizedBaseName(int base, const QString& textFile);

}  // namespace radixpad
