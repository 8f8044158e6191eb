// Saving settings from the program and the common library: one write per save, the
// program kept answering while another writer holds the file, and a save that could not
// be made told to the user.
#pragma once

#include <QList>
#include <QString>
#include <functional>

#include "ini_store.h"

class QWidget;

namespace radixpad {

/// When a save is made: while the program's windows are up, or as the program ends.
enum class SaveMoment { kWindowUp, kEnding };

/// Writes `entries` into `file` as one replacement (WriteIniStrings) and returns whether
/// it was made. While the windows are up and another writer holds the file, the program
/// goes on painting and answering its other events meanwhile (keys and clicks wait for
/// the save), for at most kIniWriteWaitMs; as the program ends it just waits. A save that
/// could not be made is told in the words of section Error of `textFile`: in a message box
/// over `owner` while the windows are up (the same text
/// only once within a few seconds), as one line on standard error as it ends.
bool SaveSettingsEntries(const QList<IniEntry>& entries, const QString& file, const QString& textFile, QWidget* owner,
                         SaveMoment moment);

/// What the user is told of a save into `file` that ended with `result`.
QString SaveFailureText(IniWriteResult result, const QString& file, const QString& textFile);

/// Shows a failed save's text over `owner`. Empty (the default): a warning message box.
/// A test sets it to see the text instead.
using SaveFailureShower = std::function<void(QWidget* owner, const QString& text)>;
SaveFailureShower& SaveFailureBox();

}  // namespace radixpad
