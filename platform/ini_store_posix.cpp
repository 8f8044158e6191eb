#include "ini_store.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QByteArrayView>
#include <QDeadlineTimer>
#include <QFile>
#include <QHash>
#include <QRandomGenerator>
#include <QThread>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <limits>
#include <optional>

#include "file_descriptor_posix.h"
#include "regular_file.h"

namespace radixpad {
namespace {

constexpr QByteArrayView kUtf8Bom("\xEF\xBB\xBF");

// Between two tries for another writer's lock. Short: a writer that writes again and
// again frees the lock only for a moment between two writes, and a waiting writer must
// catch one of those moments.
constexpr unsigned long kLockRetryUs = 200;

// Links followed at most, as the system's own limit for a path.
constexpr int kMaxLinkDepth = 40;

// Beside the real file: "<name>.new~<pid>-<random>" is one writer's new copy.
constexpr char kCopyInfix[] = ".new~";

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
  int error = 0;
  return ReadRegularFile(file, std::numeric_limits<qint64>::max(), data, error);
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

// The text stored for `value`: a value the reader would change (blanks at either end
// trimmed, a pair of matching quotes around it taken off) goes into double quotes, and
// the reader takes off exactly those.
QByteArray StoredValue(const QString& value) {
  const QByteArray bytes = value.toUtf8();
  const QByteArrayView view(bytes);
  if (view.trimmed().size() != view.size() || WithoutQuotes(view).size() != view.size()) return '"' + bytes + '"';
  return bytes;
}

bool IsStorable(const IniEntry& entry) {
  const QString section = entry.section.trimmed();
  const QString key = entry.key.trimmed();
  if (section.isEmpty() || key.isEmpty()) return false;
  if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(entry.value)) return false;
  if (section.contains(u']') || key.contains(u'=')) return false;
  if (key.front() == u'[' || key.front() == u';' || key.front() == u'#') return false;
  if (!ReadsBack(section) || !ReadsBack(key) || !ReadsBack(entry.value)) return false;
  if (section.front() == QChar(0xFEFF) || key.front() == QChar(0xFEFF)) return false;
  // A read gives at most this much.
  return entry.value.size() <= kMaxIniValueLength;
}

IniWriteResult ResultOfError(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return IniWriteResult::kNoFolder;
    case EACCES:
    case EPERM:
    case EROFS:
      return IniWriteResult::kReadOnly;
    case EISDIR:
      return IniWriteResult::kNotAFile;
    default:
      return IniWriteResult::kFailed;
  }
}

// The file a name leads to once every symbolic link on the way is followed, in a folder
// named without links: every name of one file gives the same real file.
struct RealFile {
  QByteArray path;
  QByteArray folder;
  QByteArray name;  // in `folder`
  mode_t type = 0;  // S_IFMT bits; 0 when there is no file yet
  int error = 0;    // errno value; 0 when the rest holds
};

RealFile Failed(int error) {
  RealFile real;
  real.error = error;
  return real;
}

// The target of the link at `link`, whose size lstat gave; empty with `error` set when
// it cannot be read (or changed meanwhile).
QByteArray LinkTarget(const QByteArray& link, qint64 size, int& error) {
  QByteArray target(static_cast<qsizetype>(size > 0 ? size : PATH_MAX) + 1, '\0');
  const ssize_t length = ::readlink(link.constData(), target.data(), static_cast<std::size_t>(target.size()));
  error = length < 0 ? errno : ENOENT;
  if (length <= 0 || length >= target.size()) return QByteArray();
  target.truncate(length);
  return target;
}

RealFile ResolveRealFile(const QByteArray& given) {
  QByteArray path = given;
  for (int depth = 0; depth <= kMaxLinkDepth; ++depth) {
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
    RealFile real;
    real.name = path.mid(slash + 1);
    if (real.name.isEmpty() || real.name == "." || real.name == "..") return Failed(EISDIR);
    char* canonical = ::realpath(folder.constData(), nullptr);
    if (!canonical) return Failed(errno);
    real.folder = canonical;
    std::free(canonical);
    real.path = (real.folder.endsWith('/') ? real.folder : real.folder + '/') + real.name;
    struct stat info {};
    if (::lstat(real.path.constData(), &info) != 0) return errno == ENOENT ? real : Failed(errno);
    if (!S_ISLNK(info.st_mode)) {
      real.type = info.st_mode & S_IFMT;
      return real;
    }
    // A link's relative target starts from the link's own (real) folder.
    int error = 0;
    const QByteArray target = LinkTarget(real.path, info.st_size, error);
    if (target.isEmpty()) return Failed(error);
    path = target.startsWith('/') ? target : real.folder + '/' + target;
  }
  return Failed(ELOOP);
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

// Under the lock no writer of the file is half-way, so a copy beside it is left from a
// writer that was killed. A copy is removed only when its process is gone (or is this
// one): one whose writer still runs cannot be stray unless it broke the lock, and then
// it is that writer's to finish.
void RemoveStrayCopies(const RealFile& real) {
  DIR* folder = ::opendir(real.folder.constData());
  if (!folder) return;
  const QByteArray prefix = real.name + kCopyInfix;
  const pid_t self = ::getpid();
  while (const dirent* entry = ::readdir(folder)) {
    const QByteArrayView name(entry->d_name);
    if (!name.startsWith(prefix)) continue;
    const QByteArrayView rest = name.sliced(prefix.size());
    const qsizetype dash = rest.indexOf('-');
    bool isNumber = false;
    const int pid = dash > 0 ? rest.first(dash).toInt(&isNumber) : 0;
    if (!isNumber || pid <= 0) continue;
    if (pid == self || (::kill(pid, 0) != 0 && errno == ESRCH)) ::unlinkat(::dirfd(folder), entry->d_name, 0);
  }
  ::closedir(folder);
}

// Replaces the real file by `data` through a new copy of this writer's own beside it:
// the file holds either its old or its whole new content, and once this returns
// kWritten the new content survives a power cut.
IniWriteResult ReplaceFile(const RealFile& real, const QByteArray& data, mode_t mode) {
  // The folder is opened first: one that cannot be opened for its sync fails the write
  // before the file was touched.
  const FileDescriptor folder(::open(real.folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.Get() < 0) return ResultOfError(errno);
  const QByteArray copyPath = real.path + kCopyInfix + QByteArray::number(::getpid()) + '-' +
                              QByteArray::number(QRandomGenerator::global()->generate(), 16);
  FileDescriptor fd(
      ::open(copyPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, S_IRUSR | S_IWUSR));
  if (fd.Get() < 0) return ResultOfError(errno);
  // Everything is checked: a full disk may only show at the sync or the close.
  bool written = WriteAll(fd.Get(), data) && ::fchmod(fd.Get(), mode) == 0 && ::fsync(fd.Get()) == 0;
  written = ::close(fd.Release()) == 0 && written;
  if (!written || ::rename(copyPath.constData(), real.path.constData()) != 0) {
    ::unlink(copyPath.constData());
    return IniWriteResult::kFailed;
  }
  // The new name is in the folder's data: without this sync a power cut could bring the
  // old file back. A folder that cannot be synced at all (EINVAL) has nothing to sync.
  if (::fsync(folder.Get()) != 0 && errno != EINVAL) return IniWriteResult::kFailed;
  return IniWriteResult::kWritten;
}

// An exclusive advisory lock on a lock file, held for the lifetime of the object.
class CWriteLock {
 public:
  CWriteLock() = default;
  ~CWriteLock() { Release(); }
  CWriteLock(const CWriteLock&) = delete;
  CWriteLock& operator=(const CWriteLock&) = delete;

  // kWritten once the lock is held.
  IniWriteResult Take(const QByteArray& lockPath, const QDeadlineTimer& deadline,
                      const std::function<void()>& whileWaiting) {
    Release();
    // Never through a link, and never waiting on a pipe put in its place.
    m_fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, S_IRUSR | S_IWUSR);
    if (m_fd < 0) return ResultOfError(errno);
    while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
      if (errno == EINTR) continue;
      const bool busy = errno == EWOULDBLOCK;
      if (!busy || deadline.hasExpired()) {
        Release();
        return busy ? IniWriteResult::kBusy : IniWriteResult::kFailed;
      }
      if (whileWaiting) whileWaiting();
      QThread::usleep(kLockRetryUs);
    }
    return IniWriteResult::kWritten;
  }

  void Release() {
    if (m_fd >= 0) ::close(m_fd);  // closing drops the lock
    m_fd = -1;
  }

 private:
  int m_fd = -1;
};

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
  return WriteIniStrings({IniEntry{section, key, value}}, file) == IniWriteResult::kWritten;
}

namespace {

// The read-modify-write of WriteIniStrings, with the real file's lock held.
IniWriteResult WriteLocked(const RealFile& real, const QList<IniEntry>& entries, const QString& file) {
  RemoveStrayCopies(real);
  QByteArray data;
  mode_t mode = S_IRUSR | S_IWUSR;
  struct stat info {};
  if (::stat(real.path.constData(), &info) == 0) {
    // Looked at by its type before anything opens it.
    if (S_ISDIR(info.st_mode)) return IniWriteResult::kNotAFile;
    if (!S_ISREG(info.st_mode)) return IniWriteResult::kNotRegular;
    // The classic read-only attribute: no write permission at all, whoever we are (root
    // may write anything).
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(real.path.constData(), W_OK) != 0) {
      return IniWriteResult::kReadOnly;
    }
    mode = info.st_mode & 07777;
    int error = 0;
    if (!ReadRegularFile(QFile::decodeName(real.path), std::numeric_limits<qint64>::max(), data, error)) {
      return error == kErrorNotRegularFile ? IniWriteResult::kNotRegular : IniWriteResult::kFailed;
    }
  } else if (errno != ENOENT) {
    return ResultOfError(errno);
  }
  for (const IniEntry& entry : entries) {
    SetValue(data, entry.section.trimmed(), entry.key.trimmed(), StoredValue(entry.value));
  }
  ForgetIniFile(file);
  ForgetIniFile(QFile::decodeName(real.path));
  return ReplaceFile(real, data, mode);
}

}  // namespace

IniWriteResult WriteIniStrings(const QList<IniEntry>& entries, const QString& file,
                               const std::function<void()>& whileWaiting) {
  if (file.isEmpty()) return IniWriteResult::kNoFolder;
  for (const IniEntry& entry : entries) {
    if (!IsStorable(entry)) return IniWriteResult::kUnstorable;
  }
  if (entries.isEmpty()) return IniWriteResult::kWritten;

  const QByteArray given = QFile::encodeName(file);
  const QDeadlineTimer deadline(kIniWriteWaitMs);
  CWriteLock lock;
  for (;;) {
    const RealFile real = ResolveRealFile(given);
    if (real.error != 0) return ResultOfError(real.error);
    // Nothing is made beside what is no settings file (its lock could land in /dev).
    if (real.type != 0 && !S_ISREG(real.type)) {
      return S_ISDIR(real.type) ? IniWriteResult::kNotAFile : IniWriteResult::kNotRegular;
    }
    const IniWriteResult locked = lock.Take(real.path + ".lock", deadline, whileWaiting);
    if (locked != IniWriteResult::kWritten) return locked;
    // The name may have been pointed at another file while this writer waited.
    if (ResolveRealFile(given).path == real.path) return WriteLocked(real, entries, file);
    lock.Release();
    if (deadline.hasExpired()) return IniWriteResult::kBusy;
  }
}

QString ExpandTextEscapes(QString text) {
  // Every line feed before any tab; a replacement can never form a new sequence, so
  // one left-to-right pass per escape is the same as searching again from the start.
  text.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
  text.replace(QStringLiteral("\\t"), QStringLiteral("\t"));
  return text;
}

}  // namespace radixpad
