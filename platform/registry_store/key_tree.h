// The registry store's keys and values as held in memory for the length of one call,
// and the lookups every call makes in them. Key and value names compare without regard
// to ASCII case and keep the case they were written with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "registry_types.h"

namespace radixpad::registry_store {

inline constexpr std::size_t kMaxKeyNameLength = 255;
inline constexpr std::size_t kMaxValueNameLength = 16383;

struct Value {
  std::string name;
  DWORD type = REG_NONE;
  std::string data;  // raw bytes
};

struct Key {
  std::string name;
  std::string className;
  std::uint64_t modified = 0;  // FILETIME ticks, whole seconds; 0 when unknown
  std::string loadedFrom;      // file a key mounted by RegLoadKey goes back to
  std::vector<Value> values;   // in the order they were first set
  std::vector<Key> children;   // sorted by folded name
};

/// The name with ASCII capitals made small, as names are compared.
std::string Folded(std::string_view s);
bool SameName(std::string_view a, std::string_view b);

std::vector<Key>::iterator ChildPosition(Key& key, std::string_view name);
Key* FindChild(Key& key, std::string_view name);
/// Adds a child in name order; the caller has made sure there is none of that name.
Key& InsertChild(Key& key, std::string_view name);
/// The key `count` names down `path` from `top`, or null.
Key* FindPath(Key& top, const std::vector<std::string>& path, std::size_t count);
Key* FindPath(Key& top, const std::vector<std::string>& path);
Value* FindValue(Key& key, std::string_view name);

/// Whether a key below `key` was mounted by RegLoadKey.
bool ContainsLoadPoint(const Key& key);
void ClearLoadMarks(Key& key);

}  // namespace radixpad::registry_store
