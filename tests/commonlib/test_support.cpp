#include "test_support.h"

#include <QCoreApplication>
#include <QFile>
#include <QPainter>
#include <QWidget>

#include "qy_messages.h"

namespace radixpad::test {

ScopedConfigHome::ScopedConfigHome() : m_saved(qgetenv("XDG_CONFIG_HOME")) {
  qputenv("XDG_CONFIG_HOME", m_root.path().toLocal8Bit());
}

ScopedConfigHome::~ScopedConfigHome() { qputenv("XDG_CONFIG_HOME", m_saved); }

intptr_t Look(QObject* window, intptr_t subCode, intptr_t value) {
  CLookEvent event(subCode, value);
  QCoreApplication::sendEvent(window, &event);
  return event.result();
}

QString LookPath(QObject* window) {
  char buffer[kLookPathBufferSize];
  buffer[0] = 'x';
  buffer[1] = '\0';
  if (Look(window, kLookGetImagePath, reinterpret_cast<intptr_t>(buffer)) == 0) return {};
  return QString::fromUtf8(buffer);
}

QColor BlockColor(int row, int column) {
  // Far apart in every channel, so that no two blocks can be mistaken.
  return QColor(40 + 80 * column, 40 + 80 * row, 230 - 20 * (3 * row + column));
}

QImage BlockImage() {
  QImage image(12, 12, QImage::Format_RGB32);
  QPainter painter(&image);
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) painter.fillRect(column * 4, row * 4, 4, 4, BlockColor(row, column));
  }
  return image;
}

QImage Grab(QWidget* window) {
  QCoreApplication::processEvents();
  return window->grab().toImage();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

}  // namespace radixpad::test
