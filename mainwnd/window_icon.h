#pragma once

#include <QIcon>

namespace radixpad {

/// The window icon, at every size from 16 to 256 pixels. Each size is read from the
/// program's resources when asked for and not kept: the window manager, the tray and
/// the about box each take the size they show, and the rest stays out of memory.
QIcon WindowIcon();

}  // namespace radixpad
