// The table of open key handles, shared by every thread of the process.
#include "handles.h"

#include <map>
#include <mutex>
#include <string_view>

namespace radixpad::registry_store {
namespace {

std::mutex handleMutex;
std::map<std::uint64_t, HandleInfo> openHandles;
std::uint64_t nextHandle = 0x1000;

}  // namespace

LONG Resolve(HKEY key, HandleInfo& info) {
  const int root = RootIndex(key);
  if (root >= 0) {
    if (!kRoots[root].hasStore) return ERROR_CALL_NOT_IMPLEMENTED;
    info = HandleInfo{root, {}, KEY_ALL_ACCESS};
    return ERROR_SUCCESS;
  }
  std::lock_guard<std::mutex> guard(handleMutex);
  const auto found = openHandles.find(static_cast<std::uint64_t>(key));
  if (found == openHandles.end()) return ERROR_INVALID_HANDLE;
  info = found->second;
  return ERROR_SUCCESS;
}

HKEY AddHandle(HandleInfo info) {
  std::lock_guard<std::mutex> guard(handleMutex);
  const std::uint64_t number = nextHandle;
  nextHandle += 4;
  openHandles.emplace(number, std::move(info));
  return HKEY{number};
}

bool RemoveHandle(HKEY key) {
  std::lock_guard<std::mutex> guard(handleMutex);
  return openHandles.erase(static_cast<std::uint64_t>(key)) == 1;
}

LONG SplitPath(const char* subKey, std::vector<std::string>& path) {
  path.clear();
  if (!subKey || !*subKey) return ERROR_SUCCESS;
  std::string_view rest(subKey);
  for (;;) {
    const std::size_t cut = rest.find('\\');
    const std::string_view name = rest.substr(0, cut);
    if (name.empty()) return ERROR_BAD_PATHNAME;
    if (name.size() > kMaxKeyNameLength) return ERROR_INVALID_PARAMETER;
    path.emplace_back(name);
    if (cut == std::string_view::npos) return ERROR_SUCCESS;
    rest.remove_prefix(cut + 1);
  }
}

}  // namespace radixpad::registry_store
