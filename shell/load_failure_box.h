// The one message box of the shell: the common library did not load.
#pragma once

#include <QString>

class QObject;

namespace radixpad {

/// An information box with `text` over `owner` when a widget application runs;
/// otherwise the text goes to the warning log.
void ShowLoadFailureBox(QObject* owner, const QString& text);

}  // namespace radixpad
