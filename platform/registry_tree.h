// The registry store's tree as it is held in memory for the length of one call: keys
// with their values and children, names compared without regard to ASCII case, and
// the times kept on keys. Private to the store's own sources.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "registry_types.h"

namespace radixpad::registry_detail {

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

char Fold(char c);
std::string Folded(std::string_view s);
bool SameName(std::string_view a, std::string_view b);
bool NameLess(std::string_view a, std::string_view b);

/// The child of `key` named `name`, or the end of its children.
std::vector<Key>::iterator ChildPosition(Key& key, std::string_view name);
Key* FindChild(Key& key, std::string_view name);
/// A new child, kept in the order of folded names.
Key& InsertChild(Key& key, std::string_view name);
/// The key the first `count` names of `path` lead to from `top`, or null.
Key* FindPath(Key& top, const std::vector<std::string>& path, std::size_t count);
Key* FindPath(Key& top, const std::vector<std::string>& path);
Value* FindValue(Key& key, std::string_view name);
/// Whether a key below `key` was mounted by RegLoadKey.
bool ContainsLoadPoint(const Key& key);
void ClearLoadMarks(Key& key);

/// Now, in FILETIME ticks (100 ns since 1601), whole seconds.
std::uint64_t NowTicks();
FILETIME ToFileTime(std::uint64_t ticks);
/// Ticks as the store writes them ("2026-01-31T12:00:00Z") and back.
std::string FormatTime(std::uint64_t ticks);
bool ParseTime(const std::string& text, std::uint64_t& ticks);

}  // namespace radixpad::registry_detail
