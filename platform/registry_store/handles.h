// Key handles: the process-local numbers that name a root, a key path and the access
// asked for, and the way every call reaches the key behind a handle in the root's file.
#pragma once

#include <string>
#include <vector>

#include "key_tree.h"
#include "registry_types.h"
#include "store_files.h"

namespace radixpad::registry_store {

struct HandleInfo {
  int root = -1;
  std::vector<std::string> path;
  REGSAM access = 0;
};

/// What `key` names: a predefined root (with all access) or an open handle.
LONG Resolve(HKEY key, HandleInfo& info);
HKEY AddHandle(HandleInfo info);
/// Forgets an open handle; false when `key` is none.
bool RemoveHandle(HKEY key);

/// Splits a subkey path; null and empty mean the key itself.
LONG SplitPath(const char* subKey, std::vector<std::string>& path);

/// Runs `look` on the key behind `key` when the handle has the `needed` access.
template <typename Look>
LONG WithKey(HKEY key, REGSAM needed, Look look) {
  HandleInfo info;
  if (const LONG rc = Resolve(key, info); rc != ERROR_SUCCESS) return rc;
  if ((info.access & needed) != needed) return ERROR_ACCESS_DENIED;
  return ReadRoot(info.root, [&](Key& top) {
    Key* found = FindPath(top, info.path);
    return found ? look(*found) : ERROR_KEY_DELETED;
  });
}

/// Runs `change(key, changed)` on the key behind `key` under its root's lock, when the
/// handle has the `needed` access.
template <typename Change>
LONG ModifyKey(HKEY key, REGSAM needed, Change change) {
  HandleInfo info;
  if (const LONG rc = Resolve(key, info); rc != ERROR_SUCCESS) return rc;
  if ((info.access & needed) != needed) return ERROR_ACCESS_DENIED;
  return ModifyRoot(info.root, [&](Key& top, bool& changed) {
    Key* found = FindPath(top, info.path);
    return found ? change(*found, changed) : ERROR_KEY_DELETED;
  });
}

/// Runs a change on the direct child that `subKey` names below `key`: `change` gets the
/// child's parent, the child and the flag to set when it changed something. A missing
/// parent or child is ERROR_FILE_NOT_FOUND.
template <typename Change>
LONG ModifyChildKey(HKEY key, const char* subKey, Change change) {
  if (!subKey || !*subKey) return ERROR_INVALID_PARAMETER;
  std::vector<std::string> relative;
  if (const LONG rc = SplitPath(subKey, relative); rc != ERROR_SUCCESS) return rc;
  return ModifyKey(key, 0, [&](Key& base, bool& changed) {
    Key* parent = FindPath(base, relative, relative.size() - 1);
    if (!parent) return ERROR_FILE_NOT_FOUND;
    const auto child = ChildPosition(*parent, relative.back());
    if (child == parent->children.end()) return ERROR_FILE_NOT_FOUND;
    return change(*parent, child, changed);
  });
}

}  // namespace radixpad::registry_store
