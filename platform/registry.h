#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "registry_types.h"

namespace radixpad {

/// Access to the registry store: one object holds one root key (chosen by Connect) and
/// at most one open key below it, keeps the result code of its last operation, and
/// offers typed reads and writes of values.
///
/// Every operation stores its result code (0 on success) for GetError and returns true
/// on success, unless noted. A required name or pointer argument that is null fails
/// with ERROR_INVALID_PARAMETER (87) and leaves the outputs alone. No exception leaves
/// an operation. The GetValue/SetValue overloads call the typed operations through the
/// virtual table, so an override of a typed operation changes its overload too.
///
/// Typical use:
///     CRegistry registry;
///     std::string browser;
///     if (registry.Connect(HKEY_LOCAL_MACHINE, nullptr) &&
///         registry.OpenKey("Software\\...\\App Paths\\IEXPLORE.EXE", KEY_READ))
///         registry.GetStringValue("", browser);
class CRegistry {
 public:
  CRegistry();
  virtual ~CRegistry();

  CRegistry(const CRegistry&) = delete;
  CRegistry& operator=(const CRegistry&) = delete;

  /// Closes the open key and the root and resets the object; true when no root is held.
  virtual bool Close();
  /// Chooses the root. HKEY_CLASSES_ROOT and HKEY_CURRENT_USER take no computer name
  /// (ERROR_INVALID_HANDLE); another root on a remote computer fails with
  /// ERROR_BAD_NETPATH. A key and root held before are closed first.
  virtual bool Connect(HKEY root, const char* computer = nullptr);
  /// Creates (or opens) a key below the root and makes it the open key.
  virtual bool CreateKey(const char* subKey, const char* className = nullptr, DWORD options = REG_OPTION_NON_VOLATILE,
                         REGSAM access = KEY_ALL_ACCESS, const SECURITY_ATTRIBUTES* security = nullptr,
                         DWORD* disposition = nullptr);
  /// A plain name deletes that child of the open key with everything below it. A path
  /// ("a\b\c") is taken from the root: its parent becomes the open key and its leaf is
  /// deleted the same way. Stops at the first key that cannot be deleted and returns
  /// that key's code.
  virtual bool DeleteKey(const char* subKey);
  virtual bool DeleteValue(const char* name);
  /// Name and class of the subkey at `index` of the open key; the subkey's last write
  /// time goes to the member read by GetLastWriteTime.
  virtual bool EnumKey(DWORD index, std::string& name, std::string& className);
  /// Name, type and data of the value at `index`; data may be null to ask for the size.
  virtual bool EnumValue(DWORD index, std::string& name, DWORD* type, BYTE* data, DWORD* dataSize);
  virtual bool Flush();
  virtual bool GetBinaryValue(const char* name, std::vector<BYTE>& bytes);
  virtual bool GetClass(std::string& className) const;
  virtual bool GetComputer(std::string& computer) const;
  virtual bool GetDWORDValue(const char* name, DWORD& number);
  /// The code of the last operation (not itself an operation that stores one).
  virtual LONG GetError() const;
  virtual bool GetKeyName(std::string& keyName) const;
  virtual DWORD GetSubKeyCount() const;
  virtual DWORD GetValueCount() const;
  virtual bool GetRootKeyName(std::string& rootKeyName) const;
  /// Keys carry no security here: ERROR_CALL_NOT_IMPLEMENTED.
  virtual bool GetKeySecurity(SECURITY_INFORMATION information, PSECURITY_DESCRIPTOR descriptor, DWORD* size);
  /// On failure the string is emptied. Text longer than 2047 bytes fails with ERROR_MORE_DATA.
  virtual bool GetStringValue(const char* name, std::string& text);
  /// The strings up to the first empty one; a last string without its NUL still counts.
  virtual bool GetMultiStringValue(const char* name, std::vector<std::string>& strings);
  virtual bool GetValue(const char* name, std::vector<std::string>& strings);
  virtual bool GetValue(const char* name, std::string& text);
  virtual bool GetValue(const char* name, DWORD& number);
  virtual bool GetValue(const char* name, std::vector<BYTE>& bytes);
  /// Mounts a file written by SaveKey as a new subkey of the root (HKEY_LOCAL_MACHINE
  /// or HKEY_USERS).
  virtual bool LoadKey(const char* subKey, const char* file);
  /// No change events here: ERROR_CALL_NOT_IMPLEMENTED.
  virtual bool NotifyChange(HANDLE event, DWORD filter, bool watchSubtree, bool asynchronous);
  /// Opens a key below the root (an empty path opens the root itself) and reads its
  /// information into the members.
  virtual bool OpenKey(const char* subKey, REGSAM access);
  virtual bool QueryInfo();
  virtual bool QueryValue(const char* name, DWORD* type, BYTE* data, DWORD* dataSize);
  /// No meaning here: ERROR_CALL_NOT_IMPLEMENTED.
  virtual bool ReplaceKey(const char* subKey, const char* newFile, const char* oldFile);
  virtual bool RestoreKey(const char* file, DWORD flags = 0);
  virtual bool SaveKey(const char* file, const SECURITY_ATTRIBUTES* security = nullptr);
  virtual bool SetBinaryValue(const char* name, const std::vector<BYTE>& bytes);
  virtual bool SetDWORDValue(const char* name, DWORD number);
  /// Keys carry no security here: ERROR_CALL_NOT_IMPLEMENTED.
  virtual bool SetKeySecurity(const SECURITY_INFORMATION* information, PSECURITY_DESCRIPTOR descriptor);
  virtual bool SetStringValue(const char* name, const std::string& text);
  virtual bool SetMultiStringValue(const char* name, const std::vector<std::string>& strings);
  virtual bool SetValue(const char* name, DWORD type, const BYTE* data, DWORD dataSize);
  virtual bool SetValue(const char* name, const std::string& text);
  virtual bool SetValue(const char* name, const std::vector<std::string>& strings);
  virtual bool SetValue(const char* name, DWORD number);
  virtual bool SetValue(const char* name, const std::vector<BYTE>& bytes);
  /// Writes a key mounted by LoadKey back to its file and removes it; the name is
  /// taken below the open key.
  virtual bool UnLoadKey(const char* subKey);

  // Information from the last QueryInfo (and EnumKey for the write time).
  DWORD GetLongestSubKeyName() const { return m_maxSubKeyLength; }
  DWORD GetLongestClassName() const { return m_maxClassLength; }
  DWORD GetLongestValueName() const { return m_maxValueNameLength; }
  DWORD GetLongestValueData() const { return m_maxValueDataLength; }
  DWORD GetSecurityDescriptorSize() const { return m_securityDescriptorSize; }
  FILETIME GetLastWriteTime() const { return m_lastWriteTime; }
  HKEY GetOpenKey() const { return m_key; }
  HKEY GetRootKey() const { return m_rootKey; }

  /// The name of a root handle ("HKEY_LOCAL_MACHINE"), "Unknown" for any other value.
  static const char* RootKeyName(HKEY root);

 private:
  bool Done(LONG code);
  void Reset();
  void CloseOpenKey();
  LONG DeleteTree(HKEY parent, const char* name);

  HKEY m_key{};      // the subkey opened or created last
  HKEY m_rootKey{};  // the root chosen by Connect
  LONG m_error = ERROR_SUCCESS;
  std::string m_className;     // class of the open key, from the last QueryInfo
  std::string m_computerName;  // given to Connect, or the local computer's name
  std::string m_keyName;       // path of the open key below the root
  std::string m_rootKeyName;
  DWORD m_subKeyCount = 0;
  DWORD m_valueCount = 0;
  DWORD m_maxSubKeyLength = 0;
  DWORD m_maxClassLength = 0;
  DWORD m_maxValueNameLength = 0;
  DWORD m_maxValueDataLength = 0;  // sizes the buffers of the byte-array and multi-string reads
  DWORD m_securityDescriptorSize = 0;
  FILETIME m_lastWriteTime{};
};

}  // namespace radixpad
