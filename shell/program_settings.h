// The program's own reads through the INI store, which know its sections: localized
// texts and window behaviours.
#pragma once

#include <QString>

namespace radixpad {

/// The localized text of `key`: section String of the text file (GetSectionText), default empty.
QString GetLocalizedText(const QString& key, const QString& textFile);

/// A window behaviour: the user's value from the product section of the user settings
/// file, or, when that is missing or -1, the factory value of the defaults file (else 0).
int ReadWindowBehaviour(const QString& key, const QString& userSettingsFile, const QString& defaultsFile);

}  // namespace radixpad
