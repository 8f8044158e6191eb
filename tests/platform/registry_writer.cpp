// Writes keys and values into HKEY_CURRENT_USER of the store named by the environment,
// for the test of two processes writing one root at once.
// Usage: registry_writer PREFIX COUNT

#include <cstdio>
#include <cstdlib>
#include <string>

#include "registry_store.h"

using namespace radixpad;

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const std::string prefix = argv[1];
  const int count = std::atoi(argv[2]);
  for (int i = 0; i < count; ++i) {
    const std::string name = prefix + std::to_string(i);
    HKEY key{};
    if (RegCreateKeyEx(HKEY_CURRENT_USER, ("Concurrent\\" + name).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                       nullptr) != ERROR_SUCCESS) {
      std::fprintf(stderr, "create %s failed\n", name.c_str());
      return 1;
    }
    RegCloseKey(key);
    HKEY shared{};
    const DWORD number = static_cast<DWORD>(i);
    if (RegCreateKeyEx(HKEY_CURRENT_USER, "Concurrent", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &shared, nullptr) !=
            ERROR_SUCCESS ||
        RegSetValueEx(shared, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number) !=
            ERROR_SUCCESS) {
      std::fprintf(stderr, "set %s failed\n", name.c_str());
      return 1;
    }
    RegCloseKey(shared);
  }
  return 0;
}
