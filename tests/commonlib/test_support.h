// Helpers of the common library tests: a private settings folder, look messages, pixels.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <ostream>

#include "gui_test_support.h"

class QObject;
class QWidget;

inline void PrintTo(const QColor& color, std::ostream* os) { *os << color.name().toStdString(); }

namespace radixpad::test {

/// A fresh XDG_CONFIG_HOME for one test; the previous value comes back afterwards.
class ScopedConfigHome {
 public:
  ScopedConfigHome();
  ~ScopedConfigHome();
  ScopedConfigHome(const ScopedConfigHome&) = delete;
  ScopedConfigHome& operator=(const ScopedConfigHome&) = delete;
  QString Root() const { return m_root.path(); }

 private:
  QTemporaryDir m_root;
  QByteArray m_saved;
};

/// Sends the look message to `window` and gives its result.
intptr_t Look(QObject* window, intptr_t subCode, intptr_t value = 0);
/// Sub-code 114 into a 260-byte buffer: the text, or nothing (null QString) on a 0 reply.
QString LookPath(QObject* window);

/// A 12x12 image of nine 4x4 blocks, each its own colour: BlockColor(row, column).
QImage BlockImage();
QColor BlockColor(int row, int column);

/// The window as it is painted now.
QImage Grab(QWidget* window);

void WriteFile(const QString& path, const QByteArray& bytes);

}  // namespace radixpad::test
