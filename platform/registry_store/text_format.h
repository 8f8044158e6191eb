// The text of a registry store file: text_writer.cpp writes a tree, text_parser.cpp
// reads one back. registry_store.h describes the format for whoever reads or edits a
// file by hand; here is what both directions share.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "key_tree.h"
#include "registry_types.h"

namespace radixpad::registry_store {

inline constexpr std::string_view kHeader = "Radixpad registry 1";

struct TypeName {
  DWORD type;
  const char* name;
};

inline constexpr TypeName kTypeNames[] = {
    {REG_NONE, "none"},
    {REG_SZ, "sz"},
    {REG_EXPAND_SZ, "expand_sz"},
    {REG_BINARY, "binary"},
    {REG_DWORD, "dword"},
    {REG_DWORD_BIG_ENDIAN, "dword_be"},
    {REG_LINK, "link"},
    {REG_MULTI_SZ, "multi_sz"},
    {REG_RESOURCE_LIST, "resource_list"},
    {REG_FULL_RESOURCE_DESCRIPTOR, "full_resource_descriptor"},
    {REG_RESOURCE_REQUIREMENTS_LIST, "resource_requirements_list"},
    {REG_QWORD, "qword"},
};

/// A byte never written bare: escaped in quoted text and in key paths.
inline bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

/// A key's path below the top of the file, as its "[...]" line holds it.
std::string EncodedPath(const std::vector<std::string>& path);

/// The whole file for a tree whose top is `top` (a root key, or the key being saved).
std::string Serialize(const Key& top, bool withLoadMarks);
/// Parses a whole file into `top`; false when any line is not in the format.
bool Parse(std::string_view text, Key& top);

}  // namespace radixpad::registry_store
