#include "program_settings.h"

#include "ini_store.h"
#include "localized_texts.h"
#include "settings_keys.h"

namespace radixpad {

QString GetLocalizedText(const QString& key, const QString& textFile) {
  return GetSectionText(sections::kString, key.toLatin1().constData(), textFile, QString());
}

int ReadWindowBehaviour(const QString& key, const QString& userSettingsFile, const QString& defaultsFile) {
  const QString section = QString::fromLatin1(sections::kProduct);
  const int user = GetIniInt(section, key, -1, userSettingsFile);
  if (user != -1) return user;
  return GetIniInt(section, key, 0, defaultsFile);
}

}  // namespace radixpad
