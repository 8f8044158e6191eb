#include "localized_texts.h"

#include <QFileInfo>
#include <QRegularExpression>

#include "ini_store.h"

namespace radixpad {

QStringList TextLanguages(const QByteArray& lcAll, const QByteArray& lcMessages, const QByteArray& lang) {
  QByteArray value;
  for (const QByteArray* candidate : {&lcAll, &lcMessages, &lang}) {
    if (!candidate->isEmpty()) {
      value = *candidate;
      break;
    }
  }
  // language[_territory][.codeset][@modifier]
  if (const qsizetype at = value.indexOf('@'); at >= 0) value.truncate(at);
  if (const qsizetype dot = value.indexOf('.'); dot >= 0) value.truncate(dot);
  static const QRegularExpression code(QStringLiteral("^([A-Za-z]{2,3})(?:_([A-Za-z]{2}|[0-9]{3}))?$"));
  const QRegularExpressionMatch match = code.match(QString::fromLatin1(value));
  if (!match.hasMatch()) return {};  // also "C" and "POSIX"
  const QString language = match.captured(1).toLower();
  const QString territory = match.captured(2).toUpper();
  if (territory.isEmpty()) return {language};
  return {language + QLatin1Char('_') + territory, language};
}

QStringList UserTextLanguages() { return TextLanguages(qgetenv("LC_ALL"), qgetenv("LC_MESSAGES"), qgetenv("LANG")); }

QStringList LanguageFiles(const QString& file, const QStringList& languages) {
  if (file.isEmpty()) return {file};  // no text file: no language files either
  const qsizetype slash = file.lastIndexOf(QLatin1Char('/'));
  qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
  if (dot <= slash + 1) dot = file.size();  // no extension: the language goes at the end
  QStringList files;
  for (const QString& language : languages) files << file.left(dot) + QLatin1Char('.') + language + file.mid(dot);
  files << file;
  return files;
}

QString LocalizedFile(const QString& file) {
  const QStringList files = LanguageFiles(file, UserTextLanguages());
  for (qsizetype i = 0; i + 1 < files.size(); ++i) {
    if (QFileInfo(files[i]).isFile()) return files[i];
  }
  return file;
}

QString GetSectionText(const char* section, const char* key, const QString& textFile, const QString& fallback) {
  // A missing key is told from an empty text by a default no text file can hold.
  const QString missing(QChar(0xFFFF));
  const QString sectionName = QString::fromLatin1(section);
  const QString keyName = QString::fromLatin1(key);
  const QStringList files = LanguageFiles(textFile, UserTextLanguages());
  for (qsizetype i = 0; i + 1 < files.size(); ++i) {
    // An empty text in a language's file is one not translated yet.
    const QString text = GetIniText(sectionName, keyName, missing, files[i]);
    if (text != missing && !text.isEmpty()) return text;
  }
  const QString text = GetIniText(sectionName, keyName, missing, textFile);
  return text == missing ? fallback : text;
}

}  // namespace radixpad
