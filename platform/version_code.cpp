#include "version_code.h"

namespace radixpad {
namespace {

constexpr uint32_t kPlatformWin9x = 1;
constexpr uint32_t kPlatformNt = 2;
constexpr uint32_t kPlatformCe = 3;

int ClassifyWin9x(uint32_t major, uint32_t minor, uint32_t build) {
  if (major != 4) return 0;
  if (minor < 10) {
    if (build == 950) return 1;
    if (build > 950 && build <= 1080) return 2;
    if (build > 1080) return 3;
    return 0;
  }
  if (minor == 10) {
    if (build == 1998) return 4;
    if (build > 1998 && build <= 2182) return 5;
    if (build > 2182) return 6;
    return 0;
  }
  if (minor == 90) return 7;
  return 0;
}

int ClassifyNt(uint32_t major, uint32_t minor) {
  if (major == 3 && minor == 51) return 101;
  if (major == 4 && minor == 0) return 102;
  if (major == 5 && minor == 0) return 103;
  if (major == 5 && minor == 1) return 104;
  if (major == 5 && minor == 2) return 105;
  if (major == 6) return 107;
  // Every other NT release is taken for XP.
  return 104;
}

}  // namespace

int ClassifyWindowsVersion(uint32_t platformId, uint32_t major, uint32_t minor, uint32_t build) {
  switch (platformId) {
    case kPlatformWin9x:
      return ClassifyWin9x(major, minor, build & 0xFFFFu);
    case kPlatformNt:
      return ClassifyNt(major, minor);
    case kPlatformCe:
      return 201;
    default:
      return 0;
  }
}

int GetWindowsVersionCode() {
  // Linux has no Windows version report: the query fails, which gives code 0.
  return 0;
}

}  // namespace radixpad
