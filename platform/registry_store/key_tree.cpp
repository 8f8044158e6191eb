// Lookups in the in-memory key tree.
#include "key_tree.h"

#include <algorithm>

namespace radixpad::registry_store {
namespace {

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool NameLess(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(Fold(x)) < static_cast<unsigned char>(Fold(y));
  });
}

}  // namespace

std::string Folded(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), Fold);
  return out;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Fold(x) == Fold(y); });
}

std::vector<Key>::iterator ChildPosition(Key& key, std::string_view name) {
  return std::find_if(key.children.begin(), key.children.end(),
                      [&](const Key& child) { return SameName(child.name, name); });
}

Key* FindChild(Key& key, std::string_view name) {
  const auto at = ChildPosition(key, name);
  return at == key.children.end() ? nullptr : &*at;
}

Key& InsertChild(Key& key, std::string_view name) {
  auto at = std::find_if(key.children.begin(), key.children.end(),
                         [&](const Key& child) { return NameLess(name, child.name); });
  Key fresh;
  fresh.name = std::string(name);
  return *key.children.insert(at, std::move(fresh));
}

Key* FindPath(Key& top, const std::vector<std::string>& path, std::size_t count) {
  Key* key = &top;
  for (std::size_t i = 0; i < count && key; ++i) key = FindChild(*key, path[i]);
  return key;
}

Key* FindPath(Key& top, const std::vector<std::string>& path) { return FindPath(top, path, path.size()); }

Value* FindValue(Key& key, std::string_view name) {
  for (Value& value : key.values) {
    if (SameName(value.name, name)) return &value;
  }
  return nullptr;
}

bool ContainsLoadPoint(const Key& key) {
  return std::any_of(key.children.begin(), key.children.end(),
                     [](const Key& child) { return !child.loadedFrom.empty() || ContainsLoadPoint(child); });
}

void ClearLoadMarks(Key& key) {
  key.loadedFrom.clear();
  for (Key& child : key.children) ClearLoadMarks(child);
}

}  // namespace radixpad::registry_store
