#pragma once

// A hierarchical key/value store with the calls, result codes and value types of the
// Windows registry, kept as one text file per root key.
//
// Where the files live: $RADIXPAD_REGISTRY_DIR when set, else
// $XDG_DATA_HOME/Quillory/Radixpad/registry (XDG_DATA_HOME defaulting to
// ~/.local/share). Each root with a store has one file there, named after the root
// ("HKEY_LOCAL_MACHINE.txt"), and a lock file beside it. Key names never become file
// paths. HKEY_PERFORMANCE_DATA and HKEY_DYN_DATA have no store: every call on them
// answers ERROR_CALL_NOT_IMPLEMENTED.
//
// File format (UTF-8 text, one item per line):
//
//     Radixpad registry 1
//     # comment lines and blank lines are allowed (and not kept on rewrite)
//     [Software\Quillory\Radixpad]
//     @class "class name"
//     @modified 2024-05-01T12:34:56Z
//     "" = sz "the default value"
//     "Count" = dword 0x0000002a
//     "Blob" = binary hex 00 01 ff
//     "List" = multi_sz "one\0two\0\0"
//
// The first line is the header. "[path]" starts a key (path below the root, names
// separated by backslashes; %HH escapes a byte that is a control character, '%', a
// backslash within a name, or not UTF-8). Lines before the first key header belong to
// the root key itself. A value line is a quoted name, '=', a type (none, sz, expand_sz,
// binary, dword, dword_be, link, multi_sz, resource_list, full_resource_descriptor,
// resource_requirements_list, qword, or a decimal type number) and its data: a quoted
// string holding the exact bytes, "0x" with 8 (dword) or 16 (qword) hex digits holding
// a little-endian number, or "hex" followed by byte pairs. Quoted strings use \\ \" \n
// \r \t \0 and \xHH. "@loaded" marks a key mounted from a file by RegLoadKey.
//
// Every call re-reads the file, so nothing goes stale between processes. A write takes
// an exclusive lock (flock on the lock file) around read-modify-write and replaces the
// file atomically (a copy beside it, "HKEY_LOCAL_MACHINE.txt.new~", fsync, rename): a
// failed or interrupted write leaves the previous file, and the copy left by a write
// that was killed is removed by the next call that takes the lock (a write, or a create
// of a key that is already there). Nothing else in the folder is touched. A file that
// does not parse answers ERROR_REGISTRY_CORRUPT (1015) to every call on that root and is
// never rewritten; it has to be repaired or removed by hand.
//
// Key names compare without regard to ASCII case and keep the case they were created
// with; subkeys enumerate in name order, values in the order they were first set.
//
// Handles are process-local numbers naming (root, key path, access); a handle whose
// key has been deleted answers ERROR_KEY_DELETED. A handle does not follow a rename,
// and a key deleted and created again under the same name is the same key to it.

#include <string>

#include "registry_types.h"

namespace radixpad {

/// The folder holding the store files, from the environment at the time of the call.
/// Empty when neither RADIXPAD_REGISTRY_DIR, XDG_DATA_HOME nor HOME is set.
std::string RegistryStoreFolder();

/// The name of the local computer, as used to recognise a local Connect.
std::string LocalComputerName();

LONG RegOpenKeyEx(HKEY key, const char* subKey, DWORD options, REGSAM access, HKEY* result);
LONG RegCreateKeyEx(HKEY key, const char* subKey, DWORD reserved, const char* className, DWORD options, REGSAM access,
                    const SECURITY_ATTRIBUTES* security, HKEY* result, DWORD* disposition);
LONG RegCloseKey(HKEY key);
/// Deletes a key that has no subkeys. A key with subkeys, or a key mounted by
/// RegLoadKey, answers ERROR_ACCESS_DENIED.
LONG RegDeleteKey(HKEY key, const char* subKey);
LONG RegDeleteValue(HKEY key, const char* valueName);
/// nameSize and classSize are in characters, the terminating NUL included on entry,
/// excluded on return.
LONG RegEnumKeyEx(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* reserved, char* className,
                  DWORD* classSize, FILETIME* lastWriteTime);
LONG RegEnumKey(HKEY key, DWORD index, char* name, DWORD nameSize);
LONG RegEnumValue(HKEY key, DWORD index, char* name, DWORD* nameSize, DWORD* reserved, DWORD* type, BYTE* data,
                  DWORD* dataSize);
LONG RegFlushKey(HKEY key);
LONG RegQueryInfoKey(HKEY key, char* className, DWORD* classSize, DWORD* reserved, DWORD* subKeys, DWORD* maxSubKeyLen,
                     DWORD* maxClassLen, DWORD* values, DWORD* maxValueNameLen, DWORD* maxValueLen,
                     DWORD* securityDescriptorSize, FILETIME* lastWriteTime);
/// With data null only the size is returned; with a buffer too small, ERROR_MORE_DATA
/// and the size needed.
LONG RegQueryValueEx(HKEY key, const char* valueName, DWORD* reserved, DWORD* type, BYTE* data, DWORD* dataSize);
LONG RegSetValueEx(HKEY key, const char* valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD dataSize);
/// A null or empty machine, or the local computer's name, connects locally (the result
/// is the root itself); any other name answers ERROR_BAD_NETPATH.
LONG RegConnectRegistry(const char* machineName, HKEY key, HKEY* result);
/// Writes the key's values and subkeys to a new file in the store format (the key
/// becomes the file's top level). An existing file is not replaced: ERROR_ALREADY_EXISTS.
LONG RegSaveKey(HKEY key, const char* file, const SECURITY_ATTRIBUTES* security);
/// Replaces the key's values, class and subkeys with those of a file written by
/// RegSaveKey.
LONG RegRestoreKey(HKEY key, const char* file, DWORD flags);
/// Mounts a file written by RegSaveKey as a new direct subkey of HKEY_LOCAL_MACHINE or
/// HKEY_USERS. The mounted key cannot be deleted; RegUnLoadKey writes it back to the
/// file and removes it.
LONG RegLoadKey(HKEY key, const char* subKey, const char* file);
LONG RegUnLoadKey(HKEY key, const char* subKey);
/// No meaning here: ERROR_CALL_NOT_IMPLEMENTED.
LONG RegReplaceKey(HKEY key, const char* subKey, const char* newFile, const char* oldFile);
/// No event objects here: ERROR_CALL_NOT_IMPLEMENTED.
LONG RegNotifyChangeKeyValue(HKEY key, int watchSubtree, DWORD filter, HANDLE event, int asynchronous);
/// Keys carry no security descriptors: ERROR_CALL_NOT_IMPLEMENTED.
LONG RegGetKeySecurity(HKEY key, SECURITY_INFORMATION information, PSECURITY_DESCRIPTOR descriptor, DWORD* size);
LONG RegSetKeySecurity(HKEY key, SECURITY_INFORMATION information, PSECURITY_DESCRIPTOR descriptor);

}  // namespace radixpad
