// The registry store's in-memory tree and the times on its keys; registry_tree.h says more.
#include "registry_tree.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace radixpad::registry_detail {

namespace {

constexpr std::uint64_t kTicksPerSecond = 10000000ULL;
constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600LL;

}  // namespace

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Folded(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), Fold);
  return out;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Fold(x) == Fold(y); });
}

bool NameLess(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(Fold(x)) < static_cast<unsigned char>(Fold(y));
  });
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

std::uint64_t NowTicks() {
  const std::int64_t seconds = static_cast<std::int64_t>(std::time(nullptr));
  return static_cast<std::uint64_t>(seconds + kSecondsFrom1601To1970) * kTicksPerSecond;
}

FILETIME ToFileTime(std::uint64_t ticks) {
  FILETIME t;
  t.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFu);
  t.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return t;
}

std::string FormatTime(std::uint64_t ticks) {
  const std::time_t seconds =
      static_cast<std::time_t>(static_cast<std::int64_t>(ticks / kTicksPerSecond) - kSecondsFrom1601To1970);
  std::tm parts{};
  gmtime_r(&seconds, &parts);
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", parts.tm_year + 1900, parts.tm_mon + 1,
                parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
  return text;
}

bool ParseTime(const std::string& text, std::uint64_t& ticks) {
  std::tm parts{};
  int consumed = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2dZ%n", &parts.tm_year, &parts.tm_mon, &parts.tm_mday,
                  &parts.tm_hour, &parts.tm_min, &parts.tm_sec, &consumed) != 6 ||
      static_cast<std::size_t>(consumed) != text.size())
    return false;
  const std::tm asWritten = parts;
  parts.tm_year -= 1900;
  parts.tm_mon -= 1;
  const std::int64_t seconds = static_cast<std::int64_t>(timegm(&parts));
  // timegm normalises out-of-range fields; a date that changed was not a date.
  if (parts.tm_year + 1900 != asWritten.tm_year || parts.tm_mon + 1 != asWritten.tm_mon ||
      parts.tm_mday != asWritten.tm_mday || parts.tm_hour != asWritten.tm_hour || parts.tm_min != asWritten.tm_min ||
      parts.tm_sec != asWritten.tm_sec)
    return false;
  if (seconds + kSecondsFrom1601To1970 < 0) return false;
  ticks = static_cast<std::uint64_t>(seconds + kSecondsFrom1601To1970) * kTicksPerSecond;
  return true;
}

}  // namespace radixpad::registry_detail
