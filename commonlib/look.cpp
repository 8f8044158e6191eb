#include "look.h"

#include <QPainter>
#include <QPixmap>
#include <iterator>

#include "ini_store.h"
#include "regular_file.h"
#include "settings_keys.h"

namespace radixpad::commonlib {

namespace {

QString Section() { return QString::fromLatin1(sections::kProduct); }
QString Key(const char* key) { return QString::fromLatin1(key); }

int ColorForFile(uint32_t ref) { return ref == kColorNotSet ? -1 : static_cast<int>(ref); }

uint32_t ColorFromFile(int value) { return value < 0 ? kColorNotSet : static_cast<uint32_t>(value) & 0xFFFFFFu; }

// One cell of the 3x3 grid: the source rectangle in the image and where it goes.
void TileCell(QPainter& painter, const QPixmap& image, const QRect& source, const QRect& target) {
  if (source.isEmpty() || target.isEmpty()) return;
  painter.drawTiledPixmap(target, image.copy(source));
}

void PaintNinePatch(QPainter& painter, const QRect& area, const QPixmap& image) {
  const int w = image.width();
  const int h = image.height();
  const int cw = w / 3;  // width of the outer columns
  const int ch = h / 3;  // height of the outer rows
  const int mw = w - 2 * cw;
  const int mh = h - 2 * ch;
  // Where the middle column and row run in the area; never negative when the area is
  // smaller than two corners.
  const int innerW = std::max(0, area.width() - 2 * cw);
  const int innerH = std::max(0, area.height() - 2 * ch);
  const int xs[3] = {area.left(), area.left() + cw, area.right() + 1 - cw};
  const int ys[3] = {area.top(), area.top() + ch, area.bottom() + 1 - ch};
  const int srcX[3] = {0, cw, cw + mw};
  const int srcY[3] = {0, ch, ch + mh};
  const int srcW[3] = {cw, mw, cw};
  const int srcH[3] = {ch, mh, ch};
  const int dstW[3] = {cw, innerW, cw};
  const int dstH[3] = {ch, innerH, ch};
  painter.save();
  painter.setClipRect(area, Qt::IntersectClip);
  // Middle first, corners last, so that in a small area the corners stay whole.
  const int order[3] = {1, 0, 2};
  for (int row : order) {
    for (int col : order) {
      TileCell(painter, image, QRect(srcX[col], srcY[row], srcW[col], srcH[row]),
               QRect(xs[col], ys[row], dstW[col], dstH[row]));
    }
  }
  painter.restore();
}

}  // namespace

QColor ColorFromRef(uint32_t ref) {
  return QColor(static_cast<int>(ref & 0xFF), static_cast<int>((ref >> 8) & 0xFF),
                static_cast<int>((ref >> 16) & 0xFF));
}

uint32_t RefFromColor(const QColor& color) {
  const QColor rgb = color.toRgb();
  return static_cast<uint32_t>(rgb.red()) | (static_cast<uint32_t>(rgb.green()) << 8) |
         (static_cast<uint32_t>(rgb.blue()) << 16);
}

uint32_t ColorArgument(intptr_t value) {
  const auto bits = static_cast<uint32_t>(static_cast<uintptr_t>(value) & 0xFFFFFFFFu);
  return bits == kColorNotSet ? kColorNotSet : bits & 0xFFFFFFu;
}

LookValues ReadSavedLook(const QString& userSettingsFile) {
  LookValues look;
  if (userSettingsFile.isEmpty()) return look;
  look.background = ColorFromFile(GetIniInt(Section(), Key(lookkeys::kBackgroundColor), -1, userSettingsFile));
  look.text = ColorFromFile(GetIniInt(Section(), Key(lookkeys::kTextColor), -1, userSettingsFile));
  look.showImage = GetIniInt(Section(), Key(lookkeys::kShowImage), 0, userSettingsFile) != 0;
  look.displayMethod = GetIniInt(Section(), Key(lookkeys::kDisplayMethod), kDisplayTile, userSettingsFile);
  look.imagePath = GetIniString(Section(), Key(lookkeys::kImagePath), QString(), userSettingsFile);
  return look;
}

QList<IniEntry> LookEntries(const LookValues& look, const QList<const char*>& keys) {
  QList<IniEntry> entries;
  for (const char* key : keys) {
    QString value;
    if (qstrcmp(key, lookkeys::kBackgroundColor) == 0) {
      value = QString::number(ColorForFile(look.background));
    } else if (qstrcmp(key, lookkeys::kTextColor) == 0) {
      value = QString::number(ColorForFile(look.text));
    } else if (qstrcmp(key, lookkeys::kShowImage) == 0) {
      value = QString::number(look.showImage ? 1 : 0);
    } else if (qstrcmp(key, lookkeys::kDisplayMethod) == 0) {
      value = QString::number(look.displayMethod);
    } else if (qstrcmp(key, lookkeys::kImagePath) == 0) {
      value = look.imagePath;
    } else {
      continue;
    }
    entries << IniEntry{Section(), Key(key), value};
  }
  return entries;
}

IniWriteResult SaveLook(const LookValues& look, const QString& userSettingsFile) {
  return WriteIniStrings(LookEntries(look, QList<const char*>(std::begin(lookkeys::kAll), std::end(lookkeys::kAll))),
                         userSettingsFile);
}

IniWriteResult ForgetSavedLook(const QString& userSettingsFile) {
  // The INI store has no removal; an empty value reads as a missing key.
  QList<IniEntry> entries;
  {
    const CIniReadBatch reads;  // one read of the file for all the keys
    for (const char* key : lookkeys::kAll) {
      if (!GetIniString(Section(), Key(key), QString(), userSettingsFile).isEmpty()) {
        entries << IniEntry{Section(), Key(key), QString()};
      }
    }
  }
  return WriteIniStrings(entries, userSettingsFile);
}

std::optional<QByteArray> ReadImageFile(const QString& path) {
  QByteArray data;
  int error = 0;
  if (path.isEmpty() || !ReadRegularFile(path, kMaxImageFileBytes, data, error)) return std::nullopt;
  return data;
}

void PaintImage(QPainter& painter, const QRect& area, const QPixmap& image, int method) {
  if (image.isNull() || area.isEmpty()) return;
  const QSize size = image.size();
  switch (method) {
    case kDisplayCenter:
      painter.drawPixmap(area.left() + (area.width() - size.width()) / 2,
                         area.top() + (area.height() - size.height()) / 2, image);
      break;
    case kDisplayStretch:
      painter.drawPixmap(area, image);
      break;
    case kDisplayTopLeft:
      painter.drawPixmap(area.topLeft(), image);
      break;
    case kDisplayTopRight:
      painter.drawPixmap(area.right() + 1 - size.width(), area.top(), image);
      break;
    case kDisplayBottomLeft:
      painter.drawPixmap(area.left(), area.bottom() + 1 - size.height(), image);
      break;
    case kDisplayBottomRight:
      painter.drawPixmap(area.right() + 1 - size.width(), area.bottom() + 1 - size.height(), image);
      break;
    case kDisplayThreeByThree:
      if (size.width() >= 3 && size.height() >= 3) {
        PaintNinePatch(painter, area, image);
        break;
      }
      [[fallthrough]];
    case kDisplayTile:
    default:
      painter.drawTiledPixmap(area, image);
      break;
  }
}

}  // namespace radixpad::commonlib
