// Writing a key tree out as the text of a store file.
#include <cstdio>

#include "key_times.h"
#include "text_format.h"

namespace radixpad::registry_store {
namespace {

// Length of the well-formed UTF-8 sequence starting at s[i] (a byte >= 0x80), or 0.
std::size_t Utf8SequenceAt(std::string_view s, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (i + length > s.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  }
  return length;
}

constexpr char kHexDigits[] = "0123456789abcdef";

void AppendHexByte(std::string& out, unsigned char byte) {
  out += kHexDigits[byte >> 4];
  out += kHexDigits[byte & 0xF];
}

// Writes bytes so that any byte string survives; text that is UTF-8 stays readable.
template <typename Escape>
void AppendEncoded(std::string& out, std::string_view bytes, Escape escape) {
  for (std::size_t i = 0; i < bytes.size();) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c >= 0x80) {
      const std::size_t length = Utf8SequenceAt(bytes, i);
      if (length > 0) {
        out.append(bytes.substr(i, length));
        i += length;
        continue;
      }
    }
    escape(out, c);
    ++i;
  }
}

std::string QuotedText(std::string_view bytes) {
  std::string out = "\"";
  AppendEncoded(out, bytes, [](std::string& o, unsigned char c) {
    switch (c) {
      case '\\':
        o += "\\\\";
        break;
      case '"':
        o += "\\\"";
        break;
      case '\n':
        o += "\\n";
        break;
      case '\r':
        o += "\\r";
        break;
      case '\t':
        o += "\\t";
        break;
      case 0:
        o += "\\0";
        break;
      default:
        if (IsControl(c) || c >= 0x80) {
          o += "\\x";
          AppendHexByte(o, c);
        } else {
          o += static_cast<char>(c);
        }
    }
  });
  out += '"';
  return out;
}

std::string NameOfType(DWORD type) {
  for (const TypeName& entry : kTypeNames) {
    if (entry.type == type) return entry.name;
  }
  return std::to_string(type);
}

bool IsTextType(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ || type == REG_LINK;
}

std::string EncodedData(const Value& value) {
  const std::size_t size = value.data.size();
  if (IsTextType(value.type)) return QuotedText(value.data);
  if ((value.type == REG_DWORD && size == 4) || (value.type == REG_QWORD && size == 8)) {
    std::uint64_t number = 0;
    for (std::size_t i = size; i-- > 0;) number = (number << 8) | static_cast<unsigned char>(value.data[i]);
    char text[24];
    std::snprintf(text, sizeof text, size == 4 ? "0x%08llx" : "0x%016llx", static_cast<unsigned long long>(number));
    return text;
  }
  std::string out = "hex";
  for (char c : value.data) {
    out += ' ';
    AppendHexByte(out, static_cast<unsigned char>(c));
  }
  return out;
}

void AppendKeyBody(std::string& out, const Key& key, bool withLoadMarks) {
  if (!key.className.empty()) out += "@class " + QuotedText(key.className) + "\n";
  if (key.modified != 0) out += "@modified " + FormatTime(key.modified) + "\n";
  if (withLoadMarks && !key.loadedFrom.empty()) out += "@loaded " + QuotedText(key.loadedFrom) + "\n";
  for (const Value& value : key.values)
    out += QuotedText(value.name) + " = " + NameOfType(value.type) + " " + EncodedData(value) + "\n";
}

void AppendSubtree(std::string& out, const Key& key, std::vector<std::string>& path, bool withLoadMarks) {
  for (const Key& child : key.children) {
    path.push_back(child.name);
    out += "\n[" + EncodedPath(path) + "]\n";
    AppendKeyBody(out, child, withLoadMarks);
    AppendSubtree(out, child, path, withLoadMarks);
    path.pop_back();
  }
}

}  // namespace

std::string EncodedPath(const std::vector<std::string>& path) {
  std::string out;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (i > 0) out += '\\';
    // A backslash inside a name is escaped too: bare, it would separate names.
    AppendEncoded(out, path[i], [](std::string& o, unsigned char c) {
      if (IsControl(c) || c == '%' || c == '\\' || c >= 0x80) {
        o += '%';
        AppendHexByte(o, c);
      } else {
        o += static_cast<char>(c);
      }
    });
  }
  return out;
}

std::string Serialize(const Key& top, bool withLoadMarks) {
  std::string out(kHeader);
  out += '\n';
  AppendKeyBody(out, top, withLoadMarks);
  std::vector<std::string> path;
  AppendSubtree(out, top, path, withLoadMarks);
  return out;
}

}  // namespace radixpad::registry_store
