// The registry calls: each checks its arguments, reaches its key through a handle
// (registry_store/handles.h) and answers with a result code, never an exception.
#include "registry_store.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <new>
#include <string_view>
#include <vector>

#include "registry_store/handles.h"
#include "registry_store/key_times.h"
#include "registry_store/key_tree.h"
#include "registry_store/store_files.h"
#include "registry_store/text_format.h"

namespace radixpad {

using namespace registry_store;

namespace {

/// Runs a call, turning an escaping exception into a result code.
template <typename Call>
LONG Guarded(Call call) noexcept {
  try {
    return call();
  } catch (const std::bad_alloc&) {
    return ERROR_NOT_ENOUGH_MEMORY;
  } catch (...) {
    return ERROR_EXCEPTION_IN_SERVICE;
  }
}

/// Copies a name into a caller's buffer of `*size` characters (NUL included).
LONG CopyName(const std::string& name, char* buffer, DWORD* size) {
  if (name.size() + 1 > *size) return ERROR_MORE_DATA;
  std::memcpy(buffer, name.c_str(), name.size() + 1);
  *size = static_cast<DWORD>(name.size());
  return ERROR_SUCCESS;
}

/// The data protocol shared by the value queries: size only without a buffer,
/// ERROR_MORE_DATA and the size needed when the buffer is too small.
LONG CopyData(const std::string& bytes, BYTE* data, DWORD* dataSize) {
  if (!dataSize) return ERROR_SUCCESS;
  const DWORD needed = static_cast<DWORD>(bytes.size());
  if (data) {
    if (*dataSize < needed) {
      *dataSize = needed;
      return ERROR_MORE_DATA;
    }
    std::copy(bytes.begin(), bytes.end(), data);  // raw bytes, no terminator
  }
  *dataSize = needed;
  return ERROR_SUCCESS;
}

bool IsLocalComputer(const char* machineName) {
  if (!machineName || !*machineName) return true;
  std::string_view name(machineName);
  while (!name.empty() && name.front() == '\\') name.remove_prefix(1);
  return SameName(name, LocalComputerName());
}

}  // namespace

std::string LocalComputerName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return std::string();
  return name;
}

LONG RegOpenKeyEx(HKEY key, const char* subKey, DWORD options, REGSAM access, HKEY* result) {
  return Guarded([&]() -> LONG {
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = HKEY{};
    if (options & REG_OPTION_OPEN_LINK) return ERROR_CALL_NOT_IMPLEMENTED;
    if (options != 0) return ERROR_INVALID_PARAMETER;
    HandleInfo info;
    if (const LONG rc = Resolve(key, info); rc != ERROR_SUCCESS) return rc;
    std::vector<std::string> relative;
    if (const LONG rc = SplitPath(subKey, relative); rc != ERROR_SUCCESS) return rc;
    const LONG rc = ReadRoot(info.root, [&](Key& top) {
      Key* base = FindPath(top, info.path);
      if (!base) return ERROR_KEY_DELETED;
      return FindPath(*base, relative) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    });
    if (rc != ERROR_SUCCESS) return rc;
    info.path.insert(info.path.end(), relative.begin(), relative.end());
    info.access = access;
    *result = AddHandle(std::move(info));
    return ERROR_SUCCESS;
  });
}

LONG RegCreateKeyEx(HKEY key, const char* subKey, DWORD /*reserved*/, const char* className, DWORD options,
                    REGSAM access, const SECURITY_ATTRIBUTES* security, HKEY* result, DWORD* disposition) {
  return Guarded([&]() -> LONG {
    if (!subKey || !result) return ERROR_INVALID_PARAMETER;
    *result = HKEY{};
    if (options & (REG_OPTION_VOLATILE | REG_OPTION_CREATE_LINK | REG_OPTION_BACKUP_RESTORE))
      return ERROR_CALL_NOT_IMPLEMENTED;
    if (options != REG_OPTION_NON_VOLATILE) return ERROR_INVALID_PARAMETER;
    if (security && security->lpSecurityDescriptor) return ERROR_CALL_NOT_IMPLEMENTED;
    HandleInfo info;
    if (const LONG rc = Resolve(key, info); rc != ERROR_SUCCESS) return rc;
    std::vector<std::string> relative;
    if (const LONG rc = SplitPath(subKey, relative); rc != ERROR_SUCCESS) return rc;
    bool created = false;
    const LONG rc = ModifyRoot(info.root, [&](Key& top, bool& changed) {
      Key* at = FindPath(top, info.path);
      if (!at) return ERROR_KEY_DELETED;
      const std::uint64_t now = NowTicks();
      for (const std::string& name : relative) {
        Key* child = FindChild(*at, name);
        if (!child) {
          if (!created && (info.access & KEY_CREATE_SUB_KEY) == 0) return ERROR_ACCESS_DENIED;
          at->modified = now;
          child = &InsertChild(*at, name);
          child->modified = now;
          created = true;
        }
        at = child;
      }
      if (created) at->className = className ? className : "";
      changed = created;
      return ERROR_SUCCESS;
    });
    if (rc != ERROR_SUCCESS) return rc;
    info.path.insert(info.path.end(), relative.begin(), relative.end());
    info.access = access;
    *result = AddHandle(std::move(info));
    if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
  });
}

LONG RegCloseKey(HKEY key) {
  if (RootIndex(key) >= 0) return ERROR_SUCCESS;
  return RemoveHandle(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG RegDeleteKey(HKEY key, const char* subKey) {
  return Guarded([&]() -> LONG {
    return ModifyChildKey(key, subKey, [](Key& parent, std::vector<Key>::iterator victim, bool& changed) {
      if (!victim->children.empty() || !victim->loadedFrom.empty()) return ERROR_ACCESS_DENIED;
      parent.children.erase(victim);
      parent.modified = NowTicks();
      changed = true;
      return ERROR_SUCCESS;
    });
  });
}

LONG RegDeleteValue(HKEY key, const char* valueName) {
  return Guarded([&]() -> LONG {
    const std::string_view name = valueName ? valueName : "";
    return ModifyKey(key, KEY_SET_VALUE, [&](Key& k, bool& changed) {
      const auto value =
          std::find_if(k.values.begin(), k.values.end(), [&](const Value& v) { return SameName(v.name, name); });
      if (value == k.values.end()) return ERROR_FILE_NOT_FOUND;
      k.values.erase(value);
      k.modified = NowTicks();
      changed = true;
      return ERROR_SUCCESS;
    });
  });
}

LONG RegEnumKeyEx(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* /*reserved*/, char* className,
                  DWORD* classSize, FILETIME* lastWriteTime) {
  return Guarded([&]() -> LONG {
    if (!name || !nameSize || (className && !classSize)) return ERROR_INVALID_PARAMETER;
    return WithKey(key, KEY_ENUMERATE_SUB_KEYS, [&](Key& k) {
      if (index >= k.children.size()) return ERROR_NO_MORE_ITEMS;
      const Key& child = k.children[index];
      if (const LONG rc = CopyName(child.name, name, nameSize); rc != ERROR_SUCCESS) return rc;
      if (className) {
        if (const LONG rc = CopyName(child.className, className, classSize); rc != ERROR_SUCCESS) return rc;
      } else if (classSize) {
        *classSize = static_cast<DWORD>(child.className.size());
      }
      if (lastWriteTime) *lastWriteTime = ToFileTime(child.modified);
      return ERROR_SUCCESS;
    });
  });
}

LONG RegEnumKey(HKEY key, DWORD index, char* name, DWORD nameSize) {
  return RegEnumKeyEx(key, index, name, &nameSize, nullptr, nullptr, nullptr, nullptr);
}

LONG RegEnumValue(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* /*reserved*/, DWORD* type, BYTE* data,
                  DWORD* dataSize) {
  return Guarded([&]() -> LONG {
    if (!name || !nameSize || (data && !dataSize)) return ERROR_INVALID_PARAMETER;
    return WithKey(key, KEY_QUERY_VALUE, [&](Key& k) {
      if (index >= k.values.size()) return ERROR_NO_MORE_ITEMS;
      const Value& value = k.values[index];
      if (const LONG rc = CopyName(value.name, name, nameSize); rc != ERROR_SUCCESS) return rc;
      if (type) *type = value.type;
      return CopyData(value.data, data, dataSize);
    });
  });
}

LONG RegFlushKey(HKEY key) {
  // Every write is already on disk when it returns; what is left is to check the key.
  return Guarded([&]() -> LONG { return WithKey(key, 0, [](Key&) { return ERROR_SUCCESS; }); });
}

LONG RegQueryInfoKey(HKEY key, char* className, DWORD* classSize, DWORD* /*reserved*/, DWORD* subKeys,
                     DWORD* maxSubKeyLen, DWORD* maxClassLen, DWORD* values, DWORD* maxValueNameLen, DWORD* maxValueLen,
                     DWORD* securityDescriptorSize, FILETIME* lastWriteTime) {
  return Guarded([&]() -> LONG {
    if (className && !classSize) return ERROR_INVALID_PARAMETER;
    return WithKey(key, KEY_QUERY_VALUE, [&](Key& k) {
      if (className) {
        if (k.className.size() + 1 > *classSize) {
          *classSize = static_cast<DWORD>(k.className.size());
          return ERROR_MORE_DATA;
        }
        CopyName(k.className, className, classSize);
      } else if (classSize) {
        *classSize = static_cast<DWORD>(k.className.size());
      }
      std::size_t longestName = 0, longestClass = 0, longestValueName = 0, longestData = 0;
      for (const Key& child : k.children) {
        longestName = std::max(longestName, child.name.size());
        longestClass = std::max(longestClass, child.className.size());
      }
      for (const Value& value : k.values) {
        longestValueName = std::max(longestValueName, value.name.size());
        longestData = std::max(longestData, value.data.size());
      }
      const auto put = [](DWORD* out, std::size_t number) {
        if (out) *out = static_cast<DWORD>(number);
      };
      put(subKeys, k.children.size());
      put(maxSubKeyLen, longestName);
      put(maxClassLen, longestClass);
      put(values, k.values.size());
      put(maxValueNameLen, longestValueName);
      put(maxValueLen, longestData);
      put(securityDescriptorSize, 0);
      if (lastWriteTime) *lastWriteTime = ToFileTime(k.modified);
      return ERROR_SUCCESS;
    });
  });
}

LONG RegQueryValueEx(HKEY key, const char* valueName, DWORD* /*reserved*/, DWORD* type, BYTE* data, DWORD* dataSize) {
  return Guarded([&]() -> LONG {
    if (data && !dataSize) return ERROR_INVALID_PARAMETER;
    const std::string_view name = valueName ? valueName : "";
    return WithKey(key, KEY_QUERY_VALUE, [&](Key& k) {
      const Value* value = FindValue(k, name);
      if (!value) return ERROR_FILE_NOT_FOUND;
      if (type) *type = value->type;
      return CopyData(value->data, data, dataSize);
    });
  });
}

LONG RegSetValueEx(HKEY key, const char* valueName, DWORD /*reserved*/, DWORD type, const BYTE* data, DWORD dataSize) {
  return Guarded([&]() -> LONG {
    const std::string_view name = valueName ? valueName : "";
    if ((!data && dataSize != 0) || name.size() > kMaxValueNameLength) return ERROR_INVALID_PARAMETER;
    const std::string bytes = dataSize ? std::string(reinterpret_cast<const char*>(data), dataSize) : std::string();
    return ModifyKey(key, KEY_SET_VALUE, [&](Key& k, bool& changed) {
      Value* value = FindValue(k, name);
      if (!value) {
        k.values.push_back(Value{std::string(name), type, std::string()});
        value = &k.values.back();
      }
      value->type = type;
      value->data = bytes;
      k.modified = NowTicks();
      changed = true;
      return ERROR_SUCCESS;
    });
  });
}

LONG RegConnectRegistry(const char* machineName, HKEY key, HKEY* result) {
  return Guarded([&]() -> LONG {
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = HKEY{};
    const int root = RootIndex(key);
    if (root < 0) return ERROR_INVALID_HANDLE;
    if (!IsLocalComputer(machineName)) return ERROR_BAD_NETPATH;
    if (!kRoots[root].hasStore) return ERROR_CALL_NOT_IMPLEMENTED;
    *result = key;
    return ERROR_SUCCESS;
  });
}

LONG RegSaveKey(HKEY key, const char* file, const SECURITY_ATTRIBUTES* security) {
  return Guarded([&]() -> LONG {
    if (!file || !*file) return ERROR_INVALID_PARAMETER;
    if (security && security->lpSecurityDescriptor) return ERROR_CALL_NOT_IMPLEMENTED;
    std::string text;
    if (const LONG rc = WithKey(key, 0,
                                [&](Key& k) {
                                  text = Serialize(k, false);
                                  return ERROR_SUCCESS;
                                });
        rc != ERROR_SUCCESS)
      return rc;
    return WriteFileAtomically(file, text, true);
  });
}

LONG RegRestoreKey(HKEY key, const char* file, DWORD flags) {
  return Guarded([&]() -> LONG {
    if (!file || !*file) return ERROR_INVALID_PARAMETER;
    if (flags & REG_WHOLE_HIVE_VOLATILE) return ERROR_CALL_NOT_IMPLEMENTED;
    Key saved;
    if (const LONG rc = ReadSavedTree(file, saved); rc != ERROR_SUCCESS) return rc;
    return ModifyKey(key, 0, [&](Key& k, bool& changed) {
      // A mounted key below would be dropped without going back to its file.
      if (ContainsLoadPoint(k)) return ERROR_ACCESS_DENIED;
      k.className = std::move(saved.className);
      k.values = std::move(saved.values);
      k.children = std::move(saved.children);
      k.modified = NowTicks();
      changed = true;
      return ERROR_SUCCESS;
    });
  });
}

LONG RegLoadKey(HKEY key, const char* subKey, const char* file) {
  return Guarded([&]() -> LONG {
    if (!subKey || !file || !*file || (key != HKEY_LOCAL_MACHINE && key != HKEY_USERS)) return ERROR_INVALID_PARAMETER;
    std::vector<std::string> relative;
    if (const LONG rc = SplitPath(subKey, relative); rc != ERROR_SUCCESS) return rc;
    if (relative.size() != 1) return ERROR_INVALID_PARAMETER;
    Key loaded;
    if (const LONG rc = ReadSavedTree(file, loaded); rc != ERROR_SUCCESS) return rc;
    std::error_code error;
    const std::string absolute = std::filesystem::absolute(file, error).string();
    if (error) return ERROR_INVALID_PARAMETER;
    return ModifyKey(key, 0, [&](Key& top, bool& changed) {
      if (FindChild(top, relative.front())) return ERROR_ALREADY_EXISTS;
      const std::uint64_t now = NowTicks();
      top.modified = now;
      Key& mounted = InsertChild(top, relative.front());
      mounted.className = std::move(loaded.className);
      mounted.values = std::move(loaded.values);
      mounted.children = std::move(loaded.children);
      mounted.loadedFrom = absolute;
      mounted.modified = now;
      changed = true;
      return ERROR_SUCCESS;
    });
  });
}

LONG RegUnLoadKey(HKEY key, const char* subKey) {
  return Guarded([&]() -> LONG {
    return ModifyChildKey(key, subKey, [](Key& parent, std::vector<Key>::iterator mounted, bool& changed) {
      if (mounted->loadedFrom.empty()) return ERROR_INVALID_PARAMETER;
      // Back to its file first: if that fails the key stays mounted and nothing is lost.
      if (const LONG rc = WriteFileAtomically(mounted->loadedFrom, Serialize(*mounted, false), false);
          rc != ERROR_SUCCESS)
        return rc;
      parent.children.erase(mounted);
      parent.modified = NowTicks();
      changed = true;
      return ERROR_SUCCESS;
    });
  });
}

LONG RegReplaceKey(HKEY, const char*, const char*, const char*) { return ERROR_CALL_NOT_IMPLEMENTED; }

LONG RegNotifyChangeKeyValue(HKEY, int, DWORD, HANDLE, int) { return ERROR_CALL_NOT_IMPLEMENTED; }

LONG RegGetKeySecurity(HKEY, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR, DWORD*) { return ERROR_CALL_NOT_IMPLEMENTED; }

LONG RegSetKeySecurity(HKEY, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR) { return ERROR_CALL_NOT_IMPLEMENTED; }

}  // namespace radixpad
