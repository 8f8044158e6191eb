#include "localized_texts.h"

#include "ini_store.h"

namespace radixpad {

QString GetSectionText(const char* section, const char* key, const QString& textFile, const QString& fallback) {
  // A missing key is told from an empty text by a default no text file can hold.
  const QString missing(QChar(0xFFFF));
  const QString text = GetIniText(QString::fromLatin1(section), QString::fromLatin1(key), missing, textFile);
  return text == missing ? fallback : text;
}

}  // namespace radixpad
