// The registry store's text format: one file per root, a header line, then each key
// as a bracketed path with its class, time and values. Any byte string survives the
// round trip; text that is UTF-8 stays readable. Private to the store's own sources.
#pragma once

#include <string>
#include <string_view>

#include "registry_tree.h"

namespace radixpad::registry_detail {

/// The whole file for a tree whose top is `top` (a root key, or the key being saved).
std::string Serialize(const Key& top, bool withLoadMarks);

/// Parses a whole file into `top`; false when any line is not in the format.
bool Parse(std::string_view text, Key& top);

}  // namespace radixpad::registry_detail
