// The look of a served window: colours, background image and display method, how they
// are kept in the user settings file and how the image is laid out.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QRect>
#include <QString>
#include <cstdint>
#include <optional>

#include "ini_store.h"
#include "qy_messages.h"

class QPainter;
class QPixmap;

namespace radixpad::commonlib {

/// A colour that was never chosen: the desktop theme's colour is shown and answered.
inline constexpr uint32_t kColorNotSet = kLookColorNotSet;

/// Colour values are 0x00BBGGRR.
QColor ColorFromRef(uint32_t ref);
uint32_t RefFromColor(const QColor& color);
/// A colour argument as kept: -1 (0xFFFFFFFF) means "not set", otherwise the low 24 bits.
uint32_t ColorArgument(intptr_t value);

struct LookValues {
  uint32_t background = kColorNotSet;
  uint32_t text = kColorNotSet;
  bool showImage = false;
  int displayMethod = kDisplayTile;
  QString imagePath;
};

/// Keys of the product section of the user settings file that keep the main window's look.
namespace lookkeys {
inline constexpr char kBackgroundColor[] = "LookBackgroundColor";  // decimal 0x00BBGGRR, -1 not set
inline constexpr char kTextColor[] = "LookTextColor";              // same
inline constexpr char kShowImage[] = "LookShowImage";              // 0 or 1
inline constexpr char kDisplayMethod[] = "LookDisplayMethod";      // method code
inline constexpr char kImagePath[] = "LookImagePath";              // full path, at most 259 bytes
inline constexpr const char* kAll[] = {kBackgroundColor, kTextColor, kShowImage, kDisplayMethod, kImagePath};
}  // namespace lookkeys

/// The look saved in `userSettingsFile`; missing keys give the defaults of LookValues.
LookValues ReadSavedLook(const QString& userSettingsFile);
/// The entries of the product section that keep the values of `look` under `keys` (each
/// one of lookkeys).
QList<IniEntry> LookEntries(const LookValues& look, const QList<const char*>& keys);
/// Writes every value of `look` in one save.
IniWriteResult SaveLook(const LookValues& look, const QString& userSettingsFile);
/// Empties every look key in one save, so that the next read gives the defaults.
IniWriteResult ForgetSavedLook(const QString& userSettingsFile);

/// The bytes of the regular file at `path`, opened without blocking (a named pipe or a
/// device is refused, not waited for); nothing when it cannot be read or is larger than
/// kMaxImageFileBytes.
std::optional<QByteArray> ReadImageFile(const QString& path);

/// Draws `image` into `area` by `method`.
///
/// Center, the four corners: the image at its own size, clipped by the area. Stretch:
/// scaled to the whole area. Tile (and any unknown method): repeated from the top-left
/// corner. 3x3 Tiling: the image is cut into a 3 by 3 grid (the outer columns and rows a
/// third of the image each, rounded down); the four corner cells stay at the area's
/// corners at their own size, the edge cells are repeated along the edges between them
/// and the centre cell fills the middle. An image smaller than 3 pixels either way is tiled.
void PaintImage(QPainter& painter, const QRect& area, const QPixmap& image, int method);

}  // namespace radixpad::commonlib
