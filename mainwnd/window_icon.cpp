#include "window_icon.h"

#include <QApplication>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <array>

namespace radixpad {

namespace {

constexpr std::array<int, 7> kSizes{16, 24, 32, 48, 64, 128, 256};

// The smallest size that covers `wanted`, or the largest there is.
int SourceSize(const QSize& wanted) {
  const int side = std::max(wanted.width(), wanted.height());
  for (int size : kSizes) {
    if (size >= side) return size;
  }
  return kSizes.back();
}

// Read by the built-in BMP reader alone: left free to guess, Qt loads every
// image-format plugin and the libraries behind them to ask each one first. The
// resources are zlib-compressed BMP files, so libpng is not needed either.
QImage ReadSize(int size) {
  QImageReader reader(QStringLiteral(":/icons/128/%1.bmp").arg(size), "bmp");
  reader.setAutoDetectImageFormat(false);
  return reader.read();
}

class CResourceIconEngine final : public QIconEngine {
 public:
  QIconEngine* clone() const override { return new CResourceIconEngine; }
  QString key() const override { return QStringLiteral("radixpad-window"); }
  bool isNull() override { return false; }

  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    QList<QSize> sizes;
    for (int size : kSizes) sizes << QSize(size, size);
    return sizes;
  }

  // Never larger than asked for, never enlarged beyond the largest size.
  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
    const int source = SourceSize(size);
    return QSize(source, source).scaled(size.boundedTo(QSize(source, source)), Qt::KeepAspectRatio);
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    if (size.isEmpty()) return {};
    QImage image = ReadSize(SourceSize(size));
    const QSize target = actualSize(size, mode, state);
    if (image.size() != target) image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPixmap pixmap = QPixmap::fromImage(std::move(image));
    // Greyed and selected forms as the style draws them for any other icon.
    if (mode != QIcon::Normal && qobject_cast<QApplication*>(QCoreApplication::instance())) {
      QStyleOption option;
      option.palette = QApplication::palette();
      pixmap = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
    }
    return pixmap;
  }

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    QPixmap pm = pixmap(rect.size() * ratio, mode, state);
    pm.setDevicePixelRatio(ratio);
    const QSize shown = pm.deviceIndependentSize().toSize();
    painter->drawPixmap(QRect(rect.center() - QPoint(shown.width() / 2, shown.height() / 2), shown), pm);
  }
};

}  // namespace

QIcon WindowIcon() { return QIcon(new CResourceIconEngine); }

}  // namespace radixpad
