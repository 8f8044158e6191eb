// Key times: the clock and the calendar text, through POSIX's UTC conversions
// (gmtime_r, timegm).
#include "key_times.h"

#include <cstdio>
#include <ctime>

namespace radixpad::registry_store {
namespace {

constexpr std::uint64_t kTicksPerSecond = 10000000ULL;
constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600LL;

}  // namespace

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

}  // namespace radixpad::registry_store
