// Reading a whole file that must be a regular file: an image chosen by the user or saved
// in the settings, or a settings file, may name a pipe, a device or something huge.
#pragma once

#include <QByteArray>
#include <QString>

namespace radixpad {

/// `error` of ReadRegularFile for a named pipe, a device or a socket (no errno value).
inline constexpr int kErrorNotRegularFile = -1;

/// Reads the whole regular file at `path` into `data`. What the name leads to is looked
/// at before anything is opened: a folder, a named pipe, a device or a socket is never
/// opened (a pipe would wait for a writer, and opening some devices does something). On
/// failure returns false with `error` set: an errno value, EISDIR for a folder,
/// kErrorNotRegularFile for a named pipe, a device or a socket, EFBIG when the file is
/// larger than `maxBytes` (refused before anything is read), 0 when no memory could be
/// had for it.
bool ReadRegularFile(const QString& path, qint64 maxBytes, QByteArray& data, int& error);

}  // namespace radixpad
