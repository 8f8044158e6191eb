// The INI settings store: reads single values of INI files, and writes one or several
// in one go, with the rules of the classic profile functions. Every call opens the file, does its one job and
// closes it again; nothing is cached, so writes by other code and other processes are
// seen by the next read. The one exception is a read batch (CIniReadBatch), which a
// caller opens on purpose for a burst of reads.
//
// Names of sections and keys match without regard to case, blanks around names and
// values do not count, a value in matching double or single quotes loses them, and a
// missing file, section or key gives the caller's default (a read never creates a file).
// Only a regular file is read: a name that leads to a folder, a named pipe, a device or
// a socket reads as a missing file and is never opened.
// Files are UTF-8; a byte order mark is skipped. Lines starting with ';' or '#' are
// comments. Of duplicate keys the first counts.
#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <memory>

namespace radixpad {

/// Longest value a string read returns; longer stored values are cut.
inline constexpr int kMaxIniValueLength = 259;

/// The stored value (at most kMaxIniValueLength characters), or `defaultValue`.
QString GetIniString(const QString& section, const QString& key, const QString& defaultValue, const QString& file);

/// GetIniString followed by ExpandTextEscapes; the default is expanded too.
QString GetIniText(const QString& section, const QString& key, const QString& defaultValue, const QString& file);

/// The stored number, or `defaultValue` when the key is missing or its value empty.
/// The number is an optional sign and the leading decimal digits: "12abc" is 12,
/// "abc" is 0. Values beyond the 32-bit range saturate.
int GetIniInt(const QString& section, const QString& key, int defaultValue, const QString& file);

/// How long a write waits in all for another writer of the same file.
inline constexpr int kIniWriteWaitMs = 2000;

/// One key of a save and its new value.
struct IniEntry {
  QString section;
  QString key;
  QString value;
};

/// How a write ended. Every result but kWritten leaves the file as it was.
enum class IniWriteResult {
  kWritten,     // the file holds the new values, also after a power cut
  kUnstorable,  // a name or value cannot be stored so that it reads back as given
  kNoFolder,    // the file's folder is missing
  kNotAFile,    // the name is a folder
  kNotRegular,  // the name is a named pipe, a device or a socket: it is never opened
  kReadOnly,    // the file is read-only, or its folder cannot be written
  kBusy,        // another writer kept the file for longer than kIniWriteWaitMs
  kFailed,      // reading the file or replacing it failed (a full disk, an I/O error)
};

/// Writes `value` as decimal text. Failures are not reported.
void WriteIniInt(const QString& section, const QString& key, int value, const QString& file);

/// WriteIniStrings with one entry; true when it was written.
bool WriteIniString(const QString& section, const QString& key, const QString& value, const QString& file);

/// Replaces the values of `entries` (in order: of two entries for one key the later
/// counts), adding keys, sections and the file where they are missing, in ONE
/// replacement of the file: another reader or writer sees all of them or none. Every
/// other line stays byte for byte.
///
/// Writers of a file exclude each other through an advisory lock on "<real file>.lock",
/// beside the file the name leads to once symbolic links are followed, so writers that
/// reach one file by different names (a link, a linked folder) lose nothing of each
/// other's. The write waits for that lock at most kIniWriteWaitMs in all, calling
/// `whileWaiting` (when given) between its tries. Under the lock the new content goes
/// to a copy beside the real file, named after this process and a random number, is
/// synced and renamed over the real file, and the folder is synced: a symbolic link stays
/// a link to the replaced file. A copy left by a writer that was killed is removed by the
/// next writer, and only when its process is gone. A new file and its lock file are
/// readable and writable by the user only; an existing file keeps its permissions.
///
/// A value with blanks at either end, or wrapped in a pair of matching quotes, is
/// stored in double quotes, which a read takes off again: every value reads back as
/// given. Refused as kUnstorable, before anything is touched: an empty section or key,
/// line breaks, a NUL or half of a surrogate pair anywhere, a key containing '=' or
/// starting with '[', ';' or '#', a section containing ']', a name starting with U+FEFF,
/// a value longer than kMaxIniValueLength.
IniWriteResult WriteIniStrings(const QList<IniEntry>& entries, const QString& file,
                               const std::function<void()>& whileWaiting = nullptr);

/// While it exists, reads on the thread that made it read each file once: later reads
/// of the same file take what the first one found, as if all of them had been made at
/// that moment. A write through this store drops the file from the batch, so its own
/// writes are seen. For a burst of reads, such as a window's texts while it is built.
/// Batches nest; the innermost one serves.
class CIniReadBatch {
 public:
  CIniReadBatch();
  ~CIniReadBatch();
  CIniReadBatch(const CIniReadBatch&) = delete;
  CIniReadBatch& operator=(const CIniReadBatch&) = delete;

 private:
  std::unique_ptr<struct IniReadBatchFiles> files_;
};

/// Replaces every backslash-n by a line feed, then every backslash-t by a tab. There is
/// no escape for the backslash itself; other sequences stay as they are.
QString ExpandTextEscapes(QString text);

}  // namespace radixpad
