#include "startup_entry.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace radixpad {

QString QuoteExecArgument(const QString& argument) {
  static const QString kReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
  bool needsQuotes = argument.isEmpty();
  for (const QChar c : argument) {
    if (kReserved.contains(c)) {
      needsQuotes = true;
      break;
    }
  }
  QString out;
  if (needsQuotes) out += u'"';
  for (const QChar c : argument) {
    if (c == u'%') {
      out += QStringLiteral("%%");
      continue;
    }
    // Inside quotes these four keep their literal meaning only with a backslash.
    if (needsQuotes && (c == u'"' || c == u'`' || c == u'$' || c == u'\\')) out += u'\\';
    out += c;
  }
  if (needsQuotes) out += u'"';
  return out;
}

QString EscapeDesktopValue(const QString& value) {
  QString out;
  for (qsizetype i = 0; i < value.size(); ++i) {
    const QChar c = value[i];
    if (c == u'\\') {
      out += QStringLiteral("\\\\");
    } else if (c == u'\n') {
      out += QStringLiteral("\\n");
    } else if (c == u'\t') {
      out += QStringLiteral("\\t");
    } else if (c == u'\r') {
      out += QStringLiteral("\\r");
    } else if (c == u' ' && i == 0) {
      out += QStringLiteral("\\s");  // a leading blank would be dropped by readers
    } else {
      out += c;
    }
  }
  return out;
}

int CreateStartupShortcut(const QString& targetPath, const QString& linkPath, const QString& description,
                          const QStringList& arguments) {
  if (targetPath.isEmpty() || linkPath.isEmpty()) return kStartupEntryBadArgument;

  QStringList command{QuoteExecArgument(targetPath)};
  for (const QString& argument : arguments) command << QuoteExecArgument(argument);

  QString text = QStringLiteral("[Desktop Entry]\n");
  text += QStringLiteral("Type=Application\n");
  text += QStringLiteral("Name=") + EscapeDesktopValue(description) + u'\n';
  text += QStringLiteral("Comment=") + EscapeDesktopValue(description) + u'\n';
  text += QStringLiteral("Exec=") + EscapeDesktopValue(command.join(u' ')) + u'\n';

  // The autostart folder may not exist yet on a fresh account.
  QDir().mkpath(QFileInfo(linkPath).absolutePath());
  QSaveFile file(linkPath);
  if (!file.open(QIODevice::WriteOnly)) return kStartupEntryWriteFailed;
  file.write(text.toUtf8());
  if (!file.commit()) return kStartupEntryWriteFailed;
  return kStartupEntryOk;
}

bool StartupEntryExists(const QString& linkPath) {
  if (linkPath.isEmpty()) return false;
  const QFileInfo info(linkPath);
  return info.exists() || info.isSymLink();
}

bool DeleteStartupEntry(const QString& linkPath) { return !linkPath.isEmpty() && QFile::remove(linkPath); }

}  // namespace radixpad
