#include "settings_save.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QWidget>
#include <cstdio>

#include "localized_texts.h"
#include "settings_keys.h"

namespace radixpad {

namespace {

struct FailureText {
  IniWriteResult result;
  const char* key;  // section Error of the text file
  const char* english;
};

constexpr FailureText kFailureTexts[] = {
    {IniWriteResult::kBusy, keys::kErrorSaveBusy,
     "Radixpad could not save its settings: another program kept %1 busy."},
    {IniWriteResult::kReadOnly, keys::kErrorSaveReadOnly,
     "Radixpad could not save its settings: %1 or its folder cannot be written."},
    {IniWriteResult::kNoFolder, keys::kErrorSaveNoFolder,
     "Radixpad could not save its settings: the folder of %1 is missing."},
    {IniWriteResult::kNotAFile, keys::kErrorSaveNotAFile,
     "Radixpad could not save its settings: %1 is a folder, not a file."},
    {IniWriteResult::kNotRegular, keys::kErrorSaveNotRegular,
     "Radixpad could not save its settings: %1 is a named pipe, a device or a socket, not a file."},
    {IniWriteResult::kUnstorable, keys::kErrorSaveUnstorable,
     "Radixpad could not save its settings: a value cannot be stored in %1."},
    {IniWriteResult::kFailed, keys::kErrorSaveFailed,
     "Radixpad could not save its settings: writing %1 failed. The disk may be full."},
};

// One OK of the options sheet makes two saves (its pages' keys, then the window's look):
// when the file cannot be written, the user is told once, not once per save. The same
// text again while its box is open or within a few seconds after is not shown.
constexpr qint64 kSameFailureQuietMs = 3000;

void ShowFailure(QWidget* owner, const QString& text) {
  static QString lastText;
  static bool boxOpen = false;
  static QElapsedTimer sinceClosed;
  if (text == lastText && (boxOpen || (sinceClosed.isValid() && sinceClosed.elapsed() < kSameFailureQuietMs))) return;
  lastText = text;
  boxOpen = true;
  if (SaveFailureShower& shower = SaveFailureBox()) {
    shower(owner, text);
  } else {
    QMessageBox::warning(owner, QString::fromLatin1(kProductName), text);
  }
  boxOpen = false;
  sinceClosed.start();
}

}  // namespace

SaveFailureShower& SaveFailureBox() {
  static SaveFailureShower shower;
  return shower;
}

QString SaveFailureText(IniWriteResult result, const QString& file, const QString& textFile) {
  for (const FailureText& text : kFailureTexts) {
    if (text.result == result) {
      return GetSectionText(sections::kError, text.key, textFile, QString::fromLatin1(text.english)).arg(file);
    }
  }
  return QString();
}

bool SaveSettingsEntries(const QList<IniEntry>& entries, const QString& file, const QString& textFile, QWidget* owner,
                         SaveMoment moment) {
  const bool windowsUp = moment == SaveMoment::kWindowUp && qobject_cast<QApplication*>(QCoreApplication::instance());
  // Keys and clicks are held back: the save was asked for by what the user did last,
  // and nothing the user does next may start another one inside it.
  const auto answerEvents = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
  const IniWriteResult result =
      WriteIniStrings(entries, file, windowsUp ? std::function<void()>(answerEvents) : nullptr);
  if (result == IniWriteResult::kWritten) return true;
  const QString text = SaveFailureText(result, file, textFile);
  if (windowsUp) {
    ShowFailure(owner, text);
  } else {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
  }
  return false;
}

}  // namespace radixpad
