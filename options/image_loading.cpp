#include "image_loading.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QWidget>
#include <cerrno>
#include <cstring>

#include "localized_texts.h"
#include "options_dialogs.h"
#include "regular_file.h"
#include "settings_keys.h"

namespace radixpad {
namespace {

// A text of section Error of String.dat, or the English one when the file lacks it.
QString ErrorText(const char* key, const QString& textFile, const char* english) {
  return GetSectionText(sections::kError, key, textFile, QString::fromUtf8(english));
}

// The file error text for the cause of a failed open or read, naming the file.
QString FileErrorText(const QString& path, int error, const QString& textFile) {
  switch (error) {
    case ENOENT:
      return ErrorText("1004", textFile, "%1 was not found.").arg(path);
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return ErrorText("1005", textFile, "%1 contains an invalid path.").arg(path);
    case EMFILE:
    case ENFILE:
      return ErrorText("1006", textFile, "%1 could not be opened because there are too many open files.").arg(path);
    case EACCES:
    case EPERM:
    case EROFS:
      return ErrorText("1007", textFile, "%1 could not be accessed.").arg(path);
    case EISDIR:
      return ErrorText("1008", textFile, "%1 cannot be opened: it is not a file.").arg(path);
    case kErrorNotRegularFile:
      return ErrorText("1012", textFile, "%1 cannot be opened: it is a named pipe, a device or a socket, not a file.")
          .arg(path);
    default:
      return ErrorText("1009", textFile, "%1 cannot be opened: %2.")
          .arg(path, QString::fromLocal8Bit(std::strerror(error)));
  }
}

// An error text of String.dat naming `path`; only the path when the text file lacks it.
QString ErrorTextNaming(const char* key, const QString& path, const QString& textFile) {
  const QString text = ErrorText(key, textFile, "");
  return text.contains(QStringLiteral("%1")) ? text.arg(path) : path;
}

}  // namespace

QString DisplayMethodName(int method) {
  switch (method) {
    case kDisplayCenter:
      return QStringLiteral("Center");
    case kDisplayStretch:
      return QStringLiteral("Stretch");
    case kDisplayTopLeft:
      return QStringLiteral("Top-Left");
    case kDisplayTopRight:
      return QStringLiteral("Top-Right");
    case kDisplayBottomLeft:
      return QStringLiteral("Bottom-Left");
    case kDisplayBottomRight:
      return QStringLiteral("Bottom-Right");
    case kDisplayThreeByThree:
      return QStringLiteral("3x3 Tiling");
    default:
      return QStringLiteral("Tile");
  }
}

QString MissingImageFormat(const QByteArray& data, const QList<QByteArray>& supportedFormats) {
  QByteArray format;
  if (data.startsWith("GIF87a") || data.startsWith("GIF89a")) {
    format = "gif";
  } else if (data.startsWith("\xFF\xD8\xFF")) {
    format = "jpeg";
  } else if (data.startsWith("BM")) {
    format = "bmp";
  } else {
    return QString();
  }
  return supportedFormats.contains(format) ? QString() : QString::fromLatin1(format);
}

QString MissingPluginText(const QString& textFile) {
  return ErrorText("1011", textFile,
                   "Fail to load image. Please ensure that Qt's image format plugins for GIF and JPEG "
                   "(libqgif.so and libqjpeg.so in the imageformats plugin folder) are installed.");
}

bool CPictureLoader::LoadFile(const QString& path) {
  FreePicture();
  m_undecodable = false;
  QByteArray data;
  int error = 0;
  if (ReadRegularFile(path, kMaxImageFileBytes, data, error)) {
    const auto size = static_cast<std::size_t>(data.size());
    // A missing image plugin has said so already.
    m_undecodable = size == 0 || LoadFromBuffer(data.constData(), size);
    m_dataSize = size;
  } else {
    QString text;
    if (error == 0) {
      text =
          ErrorText("1010", m_textFile, "Out of memory. Please close some programs to free up memory and try again.");
    } else if (error == EFBIG) {
      text = ErrorTextNaming(kErrorImageTooLarge, path, m_textFile);
    } else {
      text = FileErrorText(path, error, m_textFile);
    }
    ShowMessage(m_messageParent, text, QMessageBox::Critical);
    m_dataSize = 0;
  }
  if (!m_picture.isNull()) {
    m_undecodable = false;
    m_width = m_picture.width();
    m_height = m_picture.height();
    return true;
  }
  m_width = 0;
  m_height = 0;
  return false;
}

bool CPictureLoader::LoadFromBuffer(const char* bytes, std::size_t size) {
  if (bytes == nullptr || size == 0) return false;
  const QByteArray data = QByteArray::fromRawData(bytes, static_cast<qsizetype>(size));
  if (!MissingImageFormat(data, QImageReader::supportedImageFormats()).isEmpty()) {
    ShowMessage(m_messageParent, MissingPluginText(m_textFile), QMessageBox::Critical);
    return false;
  }
  QBuffer stream;
  stream.setData(data);
  if (!stream.open(QIODevice::ReadOnly)) return false;
  QImageReader reader(&stream);
  QImage image;
  if (reader.read(&image)) m_picture = image;
  return true;
}

void CPictureLoader::FreePicture() {
  m_picture = QImage();
  m_height = 0;
  m_dataSize = 0;
  m_width = 0;
}

bool CheckImageFile(const QString& path, QWidget* messageParent, QWidget* pathField, const QString& textFile) {
  if (path.isEmpty()) return false;
  // A bitmap is taken without the picture loader; a file too large for it goes to the
  // loader, which refuses it with its message.
  const QFileInfo info(path);
  if (info.isFile() && info.size() <= kMaxImageFileBytes) {
    QImageReader bitmap(path, "bmp");
    bitmap.setDecideFormatFromContent(false);
    if (!bitmap.read().isNull()) return true;
  }
  CPictureLoader loader(messageParent, textFile);
  if (loader.LoadFile(path)) return true;
  // Read but not decoded: the loader stays quiet, the user is told which file it was.
  if (loader.Undecodable()) {
    ShowMessage(messageParent, ErrorTextNaming(kErrorNotAnImage, path, textFile), QMessageBox::Critical);
  }
  if (pathField) pathField->setFocus(Qt::OtherFocusReason);
  return false;
}

void PurgeImageCopies(const QString& imagePath, const QString& folder) {
  if (folder.isEmpty()) return;
  // Without a settings folder of its own the program keeps its settings in the temporary
  // folder, which every program shares: its bitmaps are none of ours.
  const QString canonical = QFileInfo(folder).canonicalFilePath();
  if (canonical.isEmpty() || canonical == QFileInfo(QDir::tempPath()).canonicalFilePath()) return;
  const QString base = folder.endsWith(u'/') ? folder : folder + u'/';
  const QString name = imagePath.mid(imagePath.lastIndexOf(u'/') + 1);
  const QString keep = base + name + QStringLiteral(".bmp");
  const QString image = imagePath.isEmpty() ? QString() : QFileInfo(imagePath).absoluteFilePath();
  QDir dir(base);
  const QStringList entries =
      dir.entryList({QStringLiteral("*.bmp")}, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QString& entry : entries) {
    const QString full = base + entry;
    if (full.compare(keep, Qt::CaseInsensitive) == 0) continue;
    // The user's own image, when it was chosen from this folder, is no copy.
    if (!image.isEmpty() && QFileInfo(full).absoluteFilePath() == image) continue;
    QFile::remove(full);
  }
}

}  // namespace radixpad
