#include "program_settings.h"

#include "ini_store.h"
#include "settings_keys.h"

namespace radixpad {

QString GetLocalizedText(const QString& key, const QString& textFile) {
  return GetIniText(QString::fromLatin1(sections::kString), key, QString(), textFile);
}

int ReadWindowBehaviour(const QString& key, const QString& userSettingsFile, const QString& defaultsFile) {
  const QString section = QString::fromLatin1(sections::kProduct);
  const int user = GetIniInt(section, key, -1, userSettingsFile);
  if (user != -1) return user;
  return GetIniInt(section, key, 0, defaultsFile);
}

}  // namespace radixpad
