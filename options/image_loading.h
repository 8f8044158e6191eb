// Background images: the test that a chosen file can be loaded, the picture loader
// behind it, and the clean-up of converted image copies in the user settings folder.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <cstddef>

#include "qy_messages.h"

class QWidget;

namespace radixpad {

/// Error texts of String.dat, with %1 for the file's path.
inline constexpr char kErrorNotAnImage[] = "1002";
inline constexpr char kErrorImageTooLarge[] = "1003";

/// The name of a display method; every unknown code is "Tile".
QString DisplayMethodName(int method);

/// Loads one picture from a file or from memory; owns it until FreePicture.
/// Failures show their message (if any) in a stop box owned by `messageParent`.
class CPictureLoader {
 public:
  /// `textFile`: String.dat, for the messages that come from it.
  explicit CPictureLoader(QWidget* messageParent = nullptr, const QString& textFile = QString())
      : m_messageParent(messageParent), m_textFile(textFile) {}
  virtual ~CPictureLoader() { FreePicture(); }
  CPictureLoader(const CPictureLoader&) = delete;
  CPictureLoader& operator=(const CPictureLoader&) = delete;

  /// True when a picture was made from the file. A file that cannot be read, or is
  /// larger than kMaxImageFileBytes, shows the error text for its cause; an empty file or
  /// one that is no image fails quietly (see Undecodable()).
  bool LoadFile(const QString& path);
  /// The last LoadFile read the file but made no picture of it, and said nothing.
  bool Undecodable() const { return m_undecodable; }
  /// False when no image plugin can read this kind of data (with a message naming the
  /// plugins); otherwise true, whether or not a picture was made (see Picture()).
  bool LoadFromBuffer(const char* bytes, std::size_t size);
  void FreePicture();

  const QImage& Picture() const { return m_picture; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  /// Length of the file last read; 0 when it could not be opened.
  std::size_t DataSize() const { return m_dataSize; }

 private:
  QWidget* m_messageParent;
  QString m_textFile;
  bool m_undecodable = false;
  QImage m_picture;
  int m_height = 0;
  std::size_t m_dataSize = 0;
  int m_width = 0;
};

/// True when `path` can be loaded as an image. An empty path fails at once and quietly;
/// every other failure shows a message naming the file (a file that is read but not
/// decoded gets the text kErrorNotAnImage of `textFile`), and the keyboard focus goes to
/// `pathField` (when given).
bool CheckImageFile(const QString& path, QWidget* messageParent = nullptr, QWidget* pathField = nullptr,
                    const QString& textFile = QString());

/// When `data` starts like a BMP, GIF or JPEG file whose reader is not among
/// `supportedFormats` (lower-case names as QImageReader gives them), the name of that
/// format; else empty.
QString MissingImageFormat(const QByteArray& data, const QList<QByteArray>& supportedFormats);

/// The message shown when an image plugin is missing.
QString MissingPluginText(const QString& textFile = QString());

/// Deletes every "*.bmp" file in `folder` (case-insensitive pattern) except the
/// converted copy of `imagePath`, "<file name of the image>.bmp" (compared without
/// regard to case), and except the image itself when it lies in that folder. Nothing is
/// deleted when `folder` is the temporary folder itself (the settings folder's fallback).
/// Failures are ignored.
void PurgeImageCopies(const QString& imagePath, const QString& folder);

}  // namespace radixpad
