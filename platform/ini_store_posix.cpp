#include "ini_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QByteArrayView>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QThread>
#include <cerrno>
#include <climits>
#include <optional>

#include "file_descriptor_posix.h"

namespace radixpad {
namespace {

constexpr QByteArrayView kUtf8Bom("\xEF\xBB\xBF");

// How long a writer waits for another writer of the same file before giving up.
constexpr int kLockTimeoutMs = 10000;

enum class LineKind { kBlank, kComment, kSection, kEntry, kOther };

struct ParsedLine {
  qsizetype begin = 0;       // first byte of the line
  qsizetype contentEnd = 0;  // end of the text, before "\r\n" or "\n"
  qsizetype next = 0;        // first byte of the following line
  LineKind kind = LineKind::kBlank;
  QByteArrayView name;   // section or key name, trimmed
  QByteArrayView value;  // entry value, trimmed
};

ParsedLine ParseLine(const QByteArray& data, qsizetype pos) {
  ParsedLine line;
  line.begin = pos;
  const qsizetype newline = data.indexOf('\n', pos);
  line.next = newline < 0 ? data.size() : newline + 1;
  line.contentEnd = newline < 0 ? data.size() : newline;
  if (line.contentEnd > pos && data[line.contentEnd - 1] == '\r') --line.contentEnd;

  const QByteArrayView text = QByteArrayView(data.constData() + pos, line.contentEnd - pos).trimmed();
  if (text.isEmpty()) {
    line.kind = LineKind::kBlank;
  } else if (text.front() == ';' || text.front() == '#') {
    line.kind = LineKind::kComment;
  } else if (text.front() == '[') {
    line.kind = LineKind::kSection;
    const qsizetype close = text.indexOf(']');
    line.name = (close < 0 ? text.sliced(1) : text.sliced(1, close - 1)).trimmed();
  } else if (const qsizetype equals = text.indexOf('='); equals >= 0) {
    line.kind = LineKind::kEntry;
    line.name = text.first(equals).trimmed();
    line.value = text.sliced(equals + 1).trimmed();
  } else {
    line.kind = LineKind::kOther;
  }
  return line;
}

bool NameMatches(QByteArrayView name, const QString& wanted) {
  return QString::fromUtf8(name).compare(wanted, Qt::CaseInsensitive) == 0;
}

qsizetype ContentStart(const QByteArray& data) { return data.startsWith(kUtf8Bom) ? kUtf8Bom.size() : 0; }

// Where a key is in a file, or where it would go.
struct Location {
  bool sectionFound = false;
  bool keyFound = false;
  ParsedLine keyLine;
  // The last non-blank line of the first section of that name: a new key goes after it.
  ParsedLine sectionTail;
};

// Sections of the same name count as one; of duplicate keys the first counts.
Location Locate(const QByteArray& data, const QString& section, const QString& key) {
  Location location;
  bool inSection = false;
  bool inFirstSection = false;
  qsizetype pos = ContentStart(data);
  while (pos < data.size()) {
    const ParsedLine line = ParseLine(data, pos);
    pos = line.next;
    if (line.kind == LineKind::kSection) {
      inSection = NameMatches(line.name, section);
      inFirstSection = inSection && !location.sectionFound;
      if (inFirstSection) {
        location.sectionFound = true;
        location.sectionTail = line;
      }
      continue;
    }
    if (inFirstSection && line.kind != LineKind::kBlank) location.sectionTail = line;
    if (inSection && line.kind == LineKind::kEntry && NameMatches(line.name, key)) {
      location.keyFound = true;
      location.keyLine = line;
      return location;
    }
  }
  return location;
}

bool ReadWholeFile(const QString& file, QByteArray& data) {
  QFile in(file);
  if (!in.open(QIODevice::ReadOnly)) return false;
  data = in.readAll();
  return in.error() == QFileDevice::NoError;
}

QByteArrayView WithoutQuotes(QByteArrayView value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.sliced(1, value.size() - 2);
  }
  return value;
}

QString CutToMaxLength(QString text) {
  if (text.size() <= kMaxIniValueLength) return text;
  qsizetype length = kMaxIniValueLength;
  // Never leave half of a surrogate pair behind.
  if (text.at(length - 1).isHighSurrogate()) --length;
  text.truncate(length);
  return text;
}

// Leading sign and decimal digits; the rest of the text is ignored.
int ParseLeadingInteger(const QString& text) {
  qsizetype i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  long long magnitude = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    magnitude = magnitude * 10 + (text[i].unicode() - u'0');
    if (magnitude > static_cast<long long>(INT_MAX) + 1) magnitude = static_cast<long long>(INT_MAX) + 1;
  }
  const long long value = negative ? -magnitude : magnitude;
  if (value > INT_MAX) return INT_MAX;
  return static_cast<int>(value);
}

bool HasLineBreak(const QString& text) { return text.contains(u'\n') || text.contains(u'\r'); }

// A NUL or half of a surrogate pair would not come back from the file as it went in.
bool ReadsBack(const QString& text) { return !text.contains(QChar(u'\0')) && text.isValidUtf16(); }

// Where the new copy of `file` is written before it replaces the file. Writers of the
// file hold its lock, so a copy found there was left by a write that did not finish.
QString NewCopyPath(const QString& file) { return file + QStringLiteral(".new~"); }

// A symbolic link is followed: the file it names is the one replaced.
QString ReplacedFile(const QString& file) {
  QFileInfo info(file);
  for (int depth = 0; depth < 64 && info.isSymLink(); ++depth) info.setFile(info.symLinkTarget());
  return info.isSymLink() ? file : info.filePath();
}

bool WriteAll(int fd, const QByteArray& data) {
  qsizetype done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.constData() + done, static_cast<std::size_t>(data.size() - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += n;
  }
  return true;
}

// Replaces `file` by `data` through a new copy beside it: the file holds either its old
// or its whole new content. A new file is private to the user, whatever the umask; an
// existing one keeps its permissions.
bool ReplaceFile(const QString& file, const QByteArray& data) {
  const QString target = ReplacedFile(file);
  const QByteArray targetPath = QFile::encodeName(target);
  const QByteArray copyPath = QFile::encodeName(NewCopyPath(target));
  ::unlink(copyPath.constData());  // a stale copy
  mode_t mode = S_IRUSR | S_IWUSR;
  struct stat existing {};
  if (::stat(targetPath.constData(), &existing) == 0) mode = existing.st_mode & 07777;
  FileDescriptor fd(
      ::open(copyPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, S_IRUSR | S_IWUSR));
  if (fd.Get() < 0) return false;
  // Everything is checked: a full disk may only show at the sync or the close.
  bool written = WriteAll(fd.Get(), data) && ::fchmod(fd.Get(), mode) == 0 && ::fsync(fd.Get()) == 0;
  written = ::close(fd.Release()) == 0 && written;
  if (!written || ::rename(copyPath.constData(), targetPath.constData()) != 0) {
    ::unlink(copyPath.constData());
    return false;
  }
  return true;
}

// An exclusive advisory lock on "<file>.lock", held for the lifetime of the object.
class CWriteLock {
 public:
  explicit CWriteLock(const QString& file) {
    const QByteArray lockPath = QFile::encodeName(file + QStringLiteral(".lock"));
    m_fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (m_fd < 0) return;
    const QDeadlineTimer deadline(kLockTimeoutMs);
    while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
      if ((errno != EWOULDBLOCK && errno != EINTR) || deadline.hasExpired()) {
        Release();
        return;
      }
      QThread::usleep(200);
    }
    m_locked = true;
  }
  ~CWriteLock() { Release(); }
  CWriteLock(const CWriteLock&) = delete;
  CWriteLock& operator=(const CWriteLock&) = delete;

  bool IsLocked() const { return m_locked; }

 private:
  void Release() {
    if (m_fd >= 0) ::close(m_fd);  // closing drops the lock
    m_fd = -1;
    m_locked = false;
  }

  int m_fd = -1;
  bool m_locked = false;
};

// Classic read-only attribute: no write permission at all, whoever we are.
bool IsReadOnly(const QFileInfo& info) {
  // WriteUser is left out: it reports what this process may do, which for root is everything.
  constexpr QFileDevice::Permissions kAnyWrite =
      QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
  return !info.isWritable() || !(info.permissions() & kAnyWrite);
}

void SetValue(QByteArray& data, const QString& section, const QString& key, const QByteArray& value) {
  // New lines follow the line ends the file already uses.
  const QByteArray eol = data.contains("\r\n") ? QByteArray("\r\n") : QByteArray("\n");
  const Location location = Locate(data, section, key);
  if (location.keyFound) {
    const ParsedLine& line = location.keyLine;
    const QByteArray entry = line.name.toByteArray() + '=' + value;
    data.replace(line.begin, line.contentEnd - line.begin, entry);
  } else if (location.sectionFound) {
    const ParsedLine& tail = location.sectionTail;
    QByteArray entry;
    // The section's last line ends the file without a line end.
    if (tail.next == data.size() && !data.endsWith('\n')) entry += eol;
    entry += key.toUtf8() + '=' + value + eol;
    data.insert(tail.next, entry);
  } else {
    if (data.size() > ContentStart(data) && !data.endsWith('\n')) data += eol;
    data += '[' + section.toUtf8() + ']' + eol + key.toUtf8() + '=' + value + eol;
  }
}

}  // namespace

struct IniReadBatchFiles {
  IniReadBatchFiles* outer;
  QHash<QString, std::optional<QByteArray>> files;  // no value: the file could not be read
};

namespace {

thread_local IniReadBatchFiles* t_readBatch = nullptr;

bool ReadIniFile(const QString& file, QByteArray& data) {
  IniReadBatchFiles* batch = t_readBatch;
  if (!batch) return ReadWholeFile(file, data);
  const auto known = batch->files.constFind(file);
  if (known != batch->files.cend()) {
    if (known->has_value()) data = **known;
    return known->has_value();
  }
  const bool read = ReadWholeFile(file, data);
  batch->files.insert(file, read ? std::optional<QByteArray>(data) : std::nullopt);
  return read;
}

void ForgetIniFile(const QString& file) {
  for (IniReadBatchFiles* batch = t_readBatch; batch; batch = batch->outer) batch->files.remove(file);
}

}  // namespace

CIniReadBatch::CIniReadBatch() : files_(std::make_unique<IniReadBatchFiles>(IniReadBatchFiles{t_readBatch, {}})) {
  t_readBatch = files_.get();
}

CIniReadBatch::~CIniReadBatch() { t_readBatch = files_->outer; }

QString GetIniString(const QString& section, const QString& key, const QString& defaultValue, const QString& file) {
  QByteArray data;
  if (!ReadIniFile(file, data)) return defaultValue;
  const Location location = Locate(data, section.trimmed(), key.trimmed());
  if (!location.keyFound) return defaultValue;
  return CutToMaxLength(QString::fromUtf8(WithoutQuotes(location.keyLine.value)));
}

QString GetIniText(const QString& section, const QString& key, const QString& defaultValue, const QString& file) {
  return ExpandTextEscapes(GetIniString(section, key, defaultValue, file));
}

int GetIniInt(const QString& section, const QString& key, int defaultValue, const QString& file) {
  const QString text = GetIniString(section, key, QString(), file);
  if (text.isEmpty()) return defaultValue;
  return ParseLeadingInteger(text);
}

void WriteIniInt(const QString& section, const QString& key, int value, const QString& file) {
  WriteIniString(section, key, QString::number(value), file);
}

bool WriteIniString(const QString& section, const QString& key, const QString& value, const QString& file) {
  const QString sectionName = section.trimmed();
  const QString keyName = key.trimmed();
  if (file.isEmpty()) return false;
  // Refuse what would not read back as the same section, key and value.
  if (sectionName.isEmpty() || keyName.isEmpty()) return false;
  if (HasLineBreak(sectionName) || HasLineBreak(keyName) || HasLineBreak(value)) return false;
  if (sectionName.contains(u']') || keyName.contains(u'=')) return false;
  if (keyName.front() == u'[' || keyName.front() == u';' || keyName.front() == u'#') return false;
  if (!ReadsBack(sectionName) || !ReadsBack(keyName) || !ReadsBack(value)) return false;
  if (sectionName.front() == QChar(0xFEFF) || keyName.front() == QChar(0xFEFF)) return false;

  const CWriteLock lock(file);
  if (!lock.IsLocked()) return false;

  QByteArray data;
  const QFileInfo info(file);
  if (info.exists()) {
    if (!info.isFile() || IsReadOnly(info)) return false;
    if (!ReadWholeFile(file, data)) return false;
  }
  SetValue(data, sectionName, keyName, value.toUtf8());
  ForgetIniFile(file);
  return ReplaceFile(file, data);
}

QString ExpandTextEscapes(QString text) {
  // Every line feed before any tab; a replacement can never form a new sequence, so
  // one left-to-right pass per escape is the same as searching again from the start.
  text.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
  text.replace(QStringLiteral("\\t"), QStringLiteral("\t"));
  return text;
}

}  // namespace radixpad
