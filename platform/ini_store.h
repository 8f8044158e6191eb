// The INI settings store: reads and writes single values of INI files with the rules
// of the classic profile functions. Every call opens the file, does its one job and
// closes it again; nothing is cached, so writes by other code and other processes are
// seen by the next read. The one exception is a read batch (CIniReadBatch), which a
// caller opens on purpose for a burst of reads.
//
// Names of sections and keys match without regard to case, blanks around names and
// values do not count, a value in matching double or single quotes loses them, and a
// missing file, section or key gives the caller's default (a read never creates a file).
// Files are UTF-8; a byte order mark is skipped. Lines starting with ';' or '#' are
// comments. Of duplicate keys the first counts.
#pragma once

#include <QString>
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

/// Writes `value` as decimal text. Failures are not reported.
void WriteIniInt(const QString& section, const QString& key, int value, const QString& file);

/// Replaces the key's value, or adds the key (and the section, and the file). Every
/// other line stays byte for byte. The file is replaced atomically, under an advisory
/// lock held over the read-modify-write (a "<file>.lock" beside it), so concurrent
/// writers of different keys lose nothing: the new content goes to "<file>.new~",
/// is synced and renamed over the file (a copy left by a write that was killed is
/// removed by the next one). A new file and its lock file are readable and writable
/// by the user only; an existing file keeps its permissions. Returns false, leaving
/// the file as it was, when the folder is missing, the file is read-only, the lock is
/// not obtained in time, the disk is full or any step of the replacement fails, or a
/// name or the value cannot be stored on one line or read back as given (line breaks,
/// a NUL, half of a surrogate pair, a key containing '=', a section containing ']', a
/// name starting with U+FEFF, an empty name).
bool WriteIniString(const QString& section, const QString& key, const QString& value, const QString& file);

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
