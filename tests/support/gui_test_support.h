// Helpers shared by the GUI tests.
#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
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

/// Fills a temporary program folder with the built data files and the stand-in
/// common library that records its calls and serves nothing. False when a copy fails.
inline bool FillProgramFolder(const QTemporaryDir& folder) {
  const QString built = QStringLiteral(RADIXPAD_TEST_PROGRAM_DIR);
  for (const char* name : {"String.dat", "Default.dat"}) {
    if (!QFile::copy(built + "/" + name, folder.filePath(name))) return false;
  }
  return QFile::copy(QStringLiteral(RADIXPAD_TEST_STAND_IN_LIB), folder.filePath("libQyCommon.so"));
}

}  // namespace radixpad::test
