// Reading a whole file that must be a regular file: an image chosen by the user or saved
// in the settings may name a pipe, a device or something huge.
#pragma once

#include <QByteArray>
#include <QString>

namespace radixpad {

/// Reads the whole regular file at `path` into `data`. The file is opened without
/// blocking, so a named pipe or a device is refused rather than waited for. On failure
/// returns false with `error` set to an errno value: EISDIR for anything but a regular
/// file, EFBIG when it is larger than `maxBytes` (refused before anything is read), 0 when
/// no memory could be had for it.
bool ReadRegularFile(const QString& path, qint64 maxBytes, QByteArray& data, int& error);

}  // namespace radixpad
