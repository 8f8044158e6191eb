// Helpers shared by the GUI tests.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMap>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace radixpad::test {

/// Processes events until `done` holds or `ms` pass.
inline bool WaitFor(const std::function<bool()>& done, int ms = 3000) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > ms) return false;
    QTest::qWait(5);
  }
  return true;
}

/// Sets (or, with std::nullopt, removes) one environment variable for its lifetime and
/// gives it back its earlier value, or its absence, afterwards.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::optional<QString>& value)
      : name_(name), saved_(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt) {
    Set(value ? std::optional(QFile::encodeName(*value)) : std::nullopt);
  }
  ~ScopedVariable() { Set(saved_); }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  void Set(const std::optional<QByteArray>& value) const {
    if (value) {
      qputenv(name_, *value);
    } else {
      qunsetenv(name_);
    }
  }
  const char* name_;
  std::optional<QByteArray> saved_;
};

/// Answers each message box that comes up modal, from within the box's own event loop,
/// once `seen` has read what the test needs of it.
class MessageBoxAnswerer {
 public:
  explicit MessageBoxAnswerer(const std::function<void(const QMessageBox&)>& seen) {
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [seen] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        seen(*box);
        box->accept();
      }
    });
    timer_.start(10);
  }
  void Stop() { timer_.stop(); }

 private:
  QTimer timer_;
};

/// Fills a temporary program folder with the built data files and the stand-in
/// common library that records its calls and serves nothing. False when a copy fails.
inline bool FillProgramFolder(const QTemporaryDir& folder) {
  const QString built = QStringLiteral(RADIXPAD_TEST_PROGRAM_DIR);
  for (const char* name : {"String.dat", "Default.dat"}) {
    if (!QFile::copy(built + "/" + name, folder.filePath(name))) return false;
  }
  return QFile::copy(QStringLiteral(RADIXPAD_TEST_STAND_IN_LIB), folder.filePath("libQyCommon.so"));
}

/// The texts of the labels, buttons and group boxes inside `root`, hidden ones included
/// (a hidden control's mnemonic may still be carried by the window).
inline QStringList ControlTexts(const QWidget* root) {
  QStringList texts;
  for (const QWidget* widget : root->findChildren<QWidget*>()) {
    if (const auto* label = qobject_cast<const QLabel*>(widget)) texts << label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) texts << button->text();
    if (const auto* group = qobject_cast<const QGroupBox*>(widget)) texts << group->title();
  }
  return texts;
}

/// Each pair of `texts` whose mnemonics (the key after a single '&') are the same key, as
/// "first / second"; empty when every mnemonic is its own.
inline QStringList MnemonicClashes(const QStringList& texts) {
  QMap<int, QString> seen;
  QStringList clashes;
  for (const QString& text : texts) {
    const QKeySequence key = QKeySequence::mnemonic(text);
    if (key.isEmpty()) continue;
    const int combined = key[0].toCombined();
    if (seen.contains(combined)) {
      clashes << seen.value(combined) + " / " + text;
    } else {
      seen.insert(combined, text);
    }
  }
  return clashes;
}

}  // namespace radixpad::test
