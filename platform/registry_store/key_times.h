// Key times in the registry store: FILETIME ticks (100-nanosecond intervals since
// 1601-01-01 UTC, kept in whole seconds), the clock that stamps a change, and the
// calendar text ("2024-05-01T12:34:56Z") a store file holds them in.
#pragma once

#include <cstdint>
#include <string>

#include "registry_types.h"

namespace radixpad::registry_store {

std::uint64_t NowTicks();
FILETIME ToFileTime(std::uint64_t ticks);
std::string FormatTime(std::uint64_t ticks);
/// False, leaving `ticks` alone, for text that does not name a real UTC date and time
/// from 1601 on.
bool ParseTime(const std::string& text, std::uint64_t& ticks);

}  // namespace radixpad::registry_store
