// The Windows version code: a small classification of the operating system release
// that decides which folders the settings go to.
#pragma once

#include <cstdint>

namespace radixpad {

/// Code for a version report (platform id, major, minor, build). Only the low 16 bits
/// of the build number count. 0 means not classified; there is no code 106.
int ClassifyWindowsVersion(uint32_t platformId, uint32_t major, uint32_t minor, uint32_t build);

/// Code of the running system. There is no Windows version to query on Linux, so the
/// query fails and the code is 0.
int GetWindowsVersionCode();

}  // namespace radixpad
