// The registry store's files and their locks: where the store lives, one file per
// root, reading a file into a key tree, replacing a file whole, and the lock that makes
// a root's read-modify-write one step for every process.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

#include "key_tree.h"
#include "registry_store.h"
#include "registry_types.h"
#include "text_format.h"

namespace radixpad::registry_store {

struct RootInfo {
  HKEY handle;
  const char* name;
  bool hasStore;
};

inline constexpr RootInfo kRoots[] = {
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT", true},
    {HKEY_CURRENT_USER, "HKEY_CURRENT_USER", true},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", true},
    {HKEY_USERS, "HKEY_USERS", true},
    {HKEY_PERFORMANCE_DATA, "HKEY_PERFORMANCE_DATA", false},
    {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG", true},
    {HKEY_DYN_DATA, "HKEY_DYN_DATA", false},
};

/// The index of a predefined root in kRoots, or -1 for any other handle.
int RootIndex(HKEY key);

/// Reads and parses a store-format file. A missing file is an empty tree when
/// `missingIsEmpty`, else ERROR_FILE_NOT_FOUND.
LONG ReadTree(const std::string& path, Key& top, bool missingIsEmpty);

/// Writes a file through a temporary file of a new name in the same folder, so that the
/// path names either the old or the complete new content. With `noReplace` an existing
/// file is left alone and ERROR_ALREADY_EXISTS returned. For files named by a caller,
/// which no lock of the store's covers.
LONG WriteFileAtomically(const std::string& path, const std::string& text, bool noReplace);

std::string RootFilePath(const std::string& folder, int root);

/// Replaces a root's file as WriteFileAtomically does, through the root's one copy
/// beside it ("HKEY_CURRENT_USER.txt.new~"). Only for a holder of the root's lock, after
/// RemoveStaleCopy.
LONG ReplaceRootFile(const std::string& folder, int root, const std::string& text);
/// Removes the root's copy that a write killed half-way left behind. Only for a holder
/// of the root's lock: no other write of the root can be using the copy then.
void RemoveStaleCopy(const std::string& folder, int root);

/// An exclusive advisory lock on a root's lock file, held for one read-modify-write.
/// The kernel drops it if the process dies, so no stale lock is left behind.
class RootLock {
 public:
  LONG Acquire(const std::string& folder, int root);
  ~RootLock();

 private:
  int fd_ = -1;
};

template <typename Look>
LONG ReadRoot(int root, Look look) {
  const std::string folder = RegistryStoreFolder();
  if (folder.empty()) return ERROR_PATH_NOT_FOUND;
  // Reads take no lock: writers replace the file by rename, so a read sees either
  // the old or the new file whole.
  Key top;
  if (const LONG rc = ReadTree(RootFilePath(folder, root), top, true); rc != ERROR_SUCCESS) return rc;
  return look(top);
}

/// Runs `change(top, changed)` on the root's tree under the root's lock and writes the
/// tree back when it succeeded and reported a change. A copy left by a killed write is
/// removed first, whether or not anything changes.
template <typename Change>
LONG ModifyRoot(int root, Change change) {
  const std::string folder = RegistryStoreFolder();
  if (folder.empty()) return ERROR_PATH_NOT_FOUND;
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return ERROR_REGISTRY_IO_FAILED;
  RootLock lock;
  if (const LONG rc = lock.Acquire(folder, root); rc != ERROR_SUCCESS) return rc;
  RemoveStaleCopy(folder, root);
  const std::string file = RootFilePath(folder, root);
  Key top;
  if (const LONG rc = ReadTree(file, top, true); rc != ERROR_SUCCESS) return rc;
  bool changed = false;
  if (const LONG rc = change(top, changed); rc != ERROR_SUCCESS || !changed) return rc;
  return ReplaceRootFile(folder, root, Serialize(top, true));
}

/// Reads a file written by RegSaveKey for restore or load.
LONG ReadSavedTree(const char* file, Key& top);

}  // namespace radixpad::registry_store
