#include "registry.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string_view>

#include "registry_store.h"

namespace radixpad {
namespace {

constexpr DWORD kTextBufferSize = 2048;
constexpr DWORD kTextLimit = 2047;
constexpr DWORD kDeleteNameBufferSize = 260;

/// Runs an operation body so that no exception leaves it. Connect, CreateKey,
/// DeleteKey, EnumValue and OpenKey report any exception as ERROR_EXCEPTION_IN_SERVICE;
/// the others report running out of memory as ERROR_NOT_ENOUGH_MEMORY.
template <typename Body>
bool Guarded(LONG& error, bool serviceCode, Body body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    error = serviceCode ? ERROR_EXCEPTION_IN_SERVICE : ERROR_NOT_ENOUGH_MEMORY;
  } catch (...) {
    error = ERROR_EXCEPTION_IN_SERVICE;
  }
  return false;
}

template <typename Body>
bool CopyOut(Body body) noexcept {
  try {
    body();
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace

CRegistry::CRegistry() = default;

CRegistry::~CRegistry() {
  if (m_rootKey != HKEY{}) CRegistry::Close();
  Reset();
}

bool CRegistry::Done(LONG code) {
  m_error = code;
  return code == ERROR_SUCCESS;
}

void CRegistry::Reset() {
  m_key = HKEY{};
  m_rootKey = HKEY{};
  m_error = ERROR_SUCCESS;
  m_className.clear();
  m_computerName.clear();
  m_keyName.clear();
  m_rootKeyName.clear();
  m_subKeyCount = 0;
  m_valueCount = 0;
  m_maxSubKeyLength = 0;
  m_maxClassLength = 0;
  m_maxValueNameLength = 0;
  m_maxValueDataLength = 0;
  m_securityDescriptorSize = 0;
  m_lastWriteTime = FILETIME{};
}

void CRegistry::CloseOpenKey() {
  if (m_key != HKEY{}) {
    RegCloseKey(m_key);
    m_key = HKEY{};
  }
}

const char* CRegistry::RootKeyName(HKEY root) {
  struct Entry {
    HKEY root;
    const char* name;
  };
  static constexpr Entry kNames[] = {
      {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},
      {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
      {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},
      {HKEY_USERS, "HKEY_USERS"},
      {HKEY_PERFORMANCE_DATA, "HKEY_PERFORMANCE_DATA"},
      {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG"},
      {HKEY_DYN_DATA, "HKEY_DYN_DATA"},
  };
  for (const Entry& entry : kNames) {
    if (entry.root == root) return entry.name;
  }
  return "Unknown";
}

bool CRegistry::Close() {
  CloseOpenKey();
  if (m_rootKey == HKEY{}) return Done(ERROR_SUCCESS);
  if (const LONG rc = RegCloseKey(m_rootKey); rc != ERROR_SUCCESS) return Done(rc);
  Reset();
  return Done(ERROR_SUCCESS);
}

bool CRegistry::Connect(HKEY root, const char* computer) {
  return Guarded(m_error, true, [&] {
    const bool named = computer && *computer;
    HKEY connected{};
    if (root == HKEY_CLASSES_ROOT || root == HKEY_CURRENT_USER) {
      if (named) return Done(ERROR_INVALID_HANDLE);
      connected = root;
    } else if (const LONG rc = RegConnectRegistry(computer, root, &connected); rc != ERROR_SUCCESS) {
      return Done(rc);
    }
    std::string computerName = named ? std::string(computer) : LocalComputerName();
    // Whatever was held before is let go, so a second Connect leaks no handle.
    CloseOpenKey();
    if (m_rootKey != HKEY{} && m_rootKey != connected) RegCloseKey(m_rootKey);
    Reset();
    m_rootKey = connected;
    m_computerName = std::move(computerName);
    m_rootKeyName = RootKeyName(root);
    return Done(ERROR_SUCCESS);
  });
}

bool CRegistry::CreateKey(const char* subKey, const char* className, DWORD options, REGSAM access,
                          const SECURITY_ATTRIBUTES* security, DWORD* disposition) {
  if (!subKey) return Done(ERROR_INVALID_PARAMETER);
  return Guarded(m_error, true, [&] {
    CloseOpenKey();
    HKEY key{};
    DWORD created = 0;
    const LONG rc =
        RegCreateKeyEx(m_rootKey, subKey, 0, className ? className : "", options, access, security, &key, &created);
    if (rc != ERROR_SUCCESS) return Done(rc);
    m_key = key;
    if (disposition) *disposition = created;
    m_keyName = subKey;
    return Done(ERROR_SUCCESS);
  });
}

LONG CRegistry::DeleteTree(HKEY parent, const char* name) {
  // An empty name would open the parent itself and empty it before failing.
  if (!name || !*name) return ERROR_INVALID_PARAMETER;
  HKEY key{};
  if (const LONG rc = RegOpenKeyEx(parent, name, 0, KEY_ALL_ACCESS, &key); rc != ERROR_SUCCESS) return rc;
  std::vector<char> child;
  try {
    child.resize(kDeleteNameBufferSize);
  } catch (const std::bad_alloc&) {
    RegCloseKey(key);
    return ERROR_NOT_ENOUGH_MEMORY;
  }
  // Always the first child: each pass removes it. A child that cannot be removed
  // would come back at index 0 forever, so its code ends the walk.
  for (;;) {
    LONG rc = RegEnumKey(key, 0, child.data(), kDeleteNameBufferSize);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc == ERROR_SUCCESS) rc = DeleteTree(key, child.data());
    if (rc != ERROR_SUCCESS) {
      RegCloseKey(key);
      return rc;
    }
  }
  RegCloseKey(key);
  return RegDeleteKey(parent, name);
}

bool CRegistry::DeleteKey(const char* subKey) {
  if (!subKey) return Done(ERROR_INVALID_PARAMETER);
  return Guarded(m_error, true, [&] {
    const std::string_view path(subKey);
    const std::size_t cut = path.rfind('\\');
    if (cut == std::string_view::npos) return Done(DeleteTree(m_key, subKey));
    const std::string parent(path.substr(0, cut));
    const std::string leaf(path.substr(cut + 1));
    const std::string remembered = m_keyName;
    if (!OpenKey(parent.c_str(), KEY_ALL_ACCESS)) {
      m_keyName = remembered;
      return false;
    }
    return Done(DeleteTree(m_key, leaf.c_str()));
  });
}

bool CRegistry::DeleteValue(const char* name) { return Done(RegDeleteValue(m_key, name)); }

bool CRegistry::EnumKey(DWORD index, std::string& name, std::string& className) {
  return Guarded(m_error, false, [&] {
    char nameBuffer[kTextBufferSize] = {};
    char classBuffer[kTextBufferSize] = {};
    DWORD nameLength = kTextLimit;
    DWORD classLength = kTextLimit;
    FILETIME written{};
    const LONG rc = RegEnumKeyEx(m_key, index, nameBuffer, &nameLength, nullptr, classBuffer, &classLength, &written);
    if (rc != ERROR_SUCCESS) return Done(rc);
    m_lastWriteTime = written;
    name.assign(nameBuffer, nameLength);
    className.assign(classBuffer, classLength);
    return Done(ERROR_SUCCESS);
  });
}

bool CRegistry::EnumValue(DWORD index, std::string& name, DWORD* type, BYTE* data, DWORD* dataSize) {
  return Guarded(m_error, true, [&] {
    char nameBuffer[kTextBufferSize] = {};
    DWORD nameLength = kTextBufferSize;
    const LONG rc = RegEnumValue(m_key, index, nameBuffer, &nameLength, nullptr, type, data, dataSize);
    if (rc != ERROR_SUCCESS) return Done(rc);
    name.assign(nameBuffer, nameLength);
    return Done(ERROR_SUCCESS);
  });
}

bool CRegistry::Flush() { return Done(RegFlushKey(m_key)); }

bool CRegistry::GetBinaryValue(const char* name, std::vector<BYTE>& bytes) {
  if (!name) return Done(ERROR_INVALID_PARAMETER);
  return Guarded(m_error, false, [&] {
    if (!QueryInfo()) return false;
    // At least one byte, so that the query below always gets a buffer to fill.
    std::vector<BYTE> buffer(std::max<DWORD>(m_maxValueDataLength, 1));
    DWORD size = static_cast<DWORD>(buffer.size());
    DWORD type = REG_NONE;
    if (!QueryValue(name, &type, buffer.data(), &size)) return false;
    size = std::min(size, static_cast<DWORD>(buffer.size()));
    bytes.assign(buffer.begin(), buffer.begin() + size);
    return true;
  });
}

bool CRegistry::GetClass(std::string& className) const {
  return CopyOut([&] { className = m_className; });
}

bool CRegistry::GetComputer(std::string& computer) const {
  return CopyOut([&] { computer = m_computerName; });
}

bool CRegistry::GetDWORDValue(const char* name, DWORD& number) {
  if (!name) return Done(ERROR_INVALID_PARAMETER);
  DWORD value = 0;
  DWORD size = sizeof value;
  DWORD type = REG_NONE;
  if (!QueryValue(name, &type, reinterpret_cast<BYTE*>(&value), &size)) return false;
  number = value;
  return true;
}

LONG CRegistry::GetError() const { return m_error; }

bool CRegistry::GetKeyName(std::string& keyName) const {
  return CopyOut([&] { keyName = m_keyName; });
}

DWORD CRegistry::GetSubKeyCount() const { return m_subKeyCount; }

DWORD CRegistry::GetValueCount() const { return m_valueCount; }

bool CRegistry::GetRootKeyName(std::string& rootKeyName) const {
  return CopyOut([&] { rootKeyName = m_rootKeyName; });
}

bool CRegistry::GetKeySecurity(SECURITY_INFORMATION information, PSECURITY_DESCRIPTOR descriptor, DWORD* size) {
  if (!descriptor) return Done(ERROR_INVALID_PARAMETER);
  return Done(RegGetKeySecurity(m_key, information, descriptor, size));
}

bool CRegistry::GetStringValue(const char* name, std::string& text) {
  if (!name) return Done(ERROR_INVALID_PARAMETER);
  return Guarded(m_error, false, [&] {
    std::vector<char> buffer(kTextBufferSize, '\0');
    DWORD size = kTextBufferSize;
    DWORD type = REG_NONE;
    if (!QueryValue(name, &type, reinterpret_cast<BYTE*>(buffer.data()), &size)) {
      text.clear();
      return false;
    }
    // The text ends at its NUL or at the end of the data, whichever comes first.
    size = std::min(size, kTextBufferSize);
    const auto end = std::find(buffer.begin(), buffer.begin() + size, '\0');
    text.assign(buffer.begin(), end);
    return true;
  });
}

bool CRegistry::GetMultiStringValue(const char* name, std::vector<std::string>& strings) {
  if (!name) return Done(ERROR_INVALID_PARAMETER);
  return Guarded(m_error, false, [&] {
    if (!QueryInfo()) return false;
    std::vector<char> buffer(std::max<DWORD>(m_maxValueDataLength, 1));
    DWORD size = static_cast<DWORD>(buffer.size());
    DWORD type = REG_NONE;
    if (!QueryValue(name, &type, reinterpret_cast<BYTE*>(buffer.data()), &size)) return false;
    // Only the bytes returned are looked at: data that lacks its closing empty
    // string (or the last NUL) ends where the data ends.
    const auto end = buffer.begin() + std::min(size, static_cast<DWORD>(buffer.size()));
    std::vector<std::string> found;
    for (auto at = buffer.begin(); at < end;) {
      const auto nul = std::find(at, end, '\0');
      if (nul == at) break;
      found.emplace_back(at, nul);
      at = nul == end ? end : nul + 1;
    }
    strings = std::move(found);
    return true;
  });
}

bool CRegistry::GetValue(const char* name, std::vector<std::string>& strings) {
  if (!name) return Done(ERROR_INVALID_PARAMETER);
  return GetMultiStringValue(name, strings);
}

bool CRegistry::GetValue(const char* name, std::string& text) {
  if (!name) return Done(ERROR_INVALID_PARAMETER);
  return GetStringValue(name, text);
}

bool CRegistry::GetValue(const char* name, DWORD& number) {
  if (!name) return Done(ERROR_INVALID_PARAMETER);
  return GetDWORDValue(name, number);
}

bool CRegistry::GetValue(const char* name, std::vector<BYTE>& bytes) {
  if (!name) return Done(ERROR_INVALID_PARAMETER);
  return GetBinaryValue(name, bytes);
}

bool CRegistry::LoadKey(const char* subKey, const char* file) {
  if (!subKey || !file) return Done(ERROR_INVALID_PARAMETER);
  return Done(RegLoadKey(m_rootKey, subKey, file));
}

bool CRegistry::NotifyChange(HANDLE event, DWORD filter, bool watchSubtree, bool asynchronous) {
  return Done(RegNotifyChangeKeyValue(m_key, watchSubtree, filter, event, asynchronous));
}

bool CRegistry::OpenKey(const char* subKey, REGSAM access) {
  return Guarded(m_error, true, [&] {
    CloseOpenKey();
    HKEY key{};
    if (const LONG rc = RegOpenKeyEx(m_rootKey, subKey, 0, access, &key); rc != ERROR_SUCCESS) return Done(rc);
    m_key = key;
    QueryInfo();  // fills the information members; a key opened without query access has none
    m_keyName = subKey ? subKey : "";
    return Done(ERROR_SUCCESS);
  });
}

bool CRegistry::QueryInfo() {
  return Guarded(m_error, false, [&] {
    char classBuffer[kTextBufferSize] = {};
    DWORD classLength = kTextLimit;
    DWORD subKeys = 0, maxSubKey = 0, maxClass = 0, values = 0, maxValueName = 0, maxValueData = 0, securitySize = 0;
    FILETIME written{};
    const LONG rc = RegQueryInfoKey(m_key, classBuffer, &classLength, nullptr, &subKeys, &maxSubKey, &maxClass, &values,
                                    &maxValueName, &maxValueData, &securitySize, &written);
    if (rc != ERROR_SUCCESS) return Done(rc);
    m_className.assign(classBuffer, classLength);
    m_subKeyCount = subKeys;
    m_maxSubKeyLength = maxSubKey;
    m_maxClassLength = maxClass;
    m_valueCount = values;
    m_maxValueNameLength = maxValueName;
    m_maxValueDataLength = maxValueData;
    m_securityDescriptorSize = securitySize;
    m_lastWriteTime = written;
    return Done(ERROR_SUCCESS);
  });
}

bool CRegistry::QueryValue(const char* name, DWORD* type, BYTE* data, DWORD* dataSize) {
  if (!name) return Done(ERROR_INVALID_PARAMETER);
  return Done(RegQueryValueEx(m_key, name, nullptr, type, data, dataSize));
}

bool CRegistry::ReplaceKey(const char* subKey, const char* newFile, const char* oldFile) {
  if (!subKey || !newFile || !oldFile) return Done(ERROR_INVALID_PARAMETER);
  return Done(RegReplaceKey(m_key, subKey, newFile, oldFile));
}

bool CRegistry::RestoreKey(const char* file, DWORD flags) {
  if (!file) return Done(ERROR_INVALID_PARAMETER);
  return Done(RegRestoreKey(m_key, file, flags));
}

bool CRegistry::SaveKey(const char* file, const SECURITY_ATTRIBUTES* security) {
  if (!file) return Done(ERROR_INVALID_PARAMETER);
  return Done(RegSaveKey(m_key, file, security));
}

bool CRegistry::SetBinaryValue(const char* name, const std::vector<BYTE>& bytes) {
  if (!name) return Done(ERROR_INVALID_PARAMETER);
  return Guarded(m_error, false, [&] {
    // A copy of at least one byte, so that empty data still passes a buffer.
    std::vector<BYTE> copy(std::max<std::size_t>(bytes.size(), 1));
    std::copy(bytes.begin(), bytes.end(), copy.begin());
    return SetValue(name, REG_BINARY, copy.data(), static_cast<DWORD>(bytes.size()));
  });
}

bool CRegistry::SetDWORDValue(const char* name, DWORD number) {
  if (!name) return Done(ERROR_INVALID_PARAMETER);
  return SetValue(name, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
}

bool CRegistry::SetKeySecurity(const SECURITY_INFORMATION* information, PSECURITY_DESCRIPTOR descriptor) {
  if (!information || !descriptor) return Done(ERROR_INVALID_PARAMETER);
  return Done(RegSetKeySecurity(m_key, *information, descriptor));
}

bool CRegistry::SetStringValue(const char* name, const std::string& text) {
  if (!name) return Done(ERROR_INVALID_PARAMETER);
  return SetValue(name, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(text.size() + 1));
}

bool CRegistry::SetMultiStringValue(const char* name, const std::vector<std::string>& strings) {
  if (!name) return Done(ERROR_INVALID_PARAMETER);
  return Guarded(m_error, false, [&] {
    std::size_t total = strings.size() + 1;
    for (const std::string& text : strings) total += text.size();
    std::vector<BYTE> buffer(total, 0);
    std::size_t at = 0;
    for (const std::string& text : strings) {
      std::memcpy(buffer.data() + at, text.data(), text.size());
      at += text.size() + 1;
    }
    return SetValue(name, REG_MULTI_SZ, buffer.data(), static_cast<DWORD>(total));
  });
}

bool CRegistry::SetValue(const char* name, DWORD type, const BYTE* data, DWORD dataSize) {
  if (!name || !data) return Done(ERROR_INVALID_PARAMETER);
  return Done(RegSetValueEx(m_key, name, 0, type, data, dataSize));
}

bool CRegistry::SetValue(const char* name, const std::string& text) {
  if (!name) return Done(ERROR_INVALID_PARAMETER);
  return SetStringValue(name, text);
}

bool CRegistry::SetValue(const char* name, const std::vector<std::string>& strings) {
  if (!name) return Done(ERROR_INVALID_PARAMETER);
  return SetMultiStringValue(name, strings);
}

bool CRegistry::SetValue(const char* name, DWORD number) {
  if (!name) return Done(ERROR_INVALID_PARAMETER);
  return SetDWORDValue(name, number);
}

bool CRegistry::SetValue(const char* name, const std::vector<BYTE>& bytes) {
  if (!name) return Done(ERROR_INVALID_PARAMETER);
  return SetBinaryValue(name, bytes);
}

bool CRegistry::UnLoadKey(const char* subKey) {
  if (!subKey) return Done(ERROR_INVALID_PARAMETER);
  return Done(RegUnLoadKey(m_key, subKey));
}

}  // namespace radixpad
