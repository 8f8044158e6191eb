// Reading the text of a store file back into a key tree; a file with any line not in
// the format is refused whole.
#include <algorithm>
#include <cstdlib>
#include <set>

#include "key_times.h"
#include "text_format.h"

namespace radixpad::registry_store {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

class LineReader {
 public:
  explicit LineReader(std::string_view line) : line_(line) {}

  void SkipSpace() {
    while (pos_ < line_.size() && (line_[pos_] == ' ' || line_[pos_] == '\t')) ++pos_;
  }
  bool AtEnd() {
    SkipSpace();
    return pos_ == line_.size();
  }
  bool Peek(char c) {
    SkipSpace();
    return pos_ < line_.size() && line_[pos_] == c;
  }
  bool Expect(char c) {
    if (!Peek(c)) return false;
    ++pos_;
    return true;
  }
  // A run of characters up to the next blank.
  std::string Word() {
    SkipSpace();
    const std::size_t start = pos_;
    while (pos_ < line_.size() && line_[pos_] != ' ' && line_[pos_] != '\t') ++pos_;
    return std::string(line_.substr(start, pos_ - start));
  }
  bool QuotedString(std::string& out) {
    out.clear();
    if (!Expect('"')) return false;
    while (pos_ < line_.size()) {
      const char c = line_[pos_++];
      if (c == '"') return true;
      if (c != '\\') {
        if (IsControl(static_cast<unsigned char>(c)) && c != '\t') return false;
        out += c;
        continue;
      }
      if (pos_ >= line_.size()) return false;
      const char e = line_[pos_++];
      switch (e) {
        case '\\':
          out += '\\';
          break;
        case '"':
          out += '"';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case '0':
          out += '\0';
          break;
        case 'x': {
          if (pos_ + 2 > line_.size()) return false;
          const int high = HexValue(line_[pos_]);
          const int low = HexValue(line_[pos_ + 1]);
          if (high < 0 || low < 0) return false;
          out += static_cast<char>(high * 16 + low);
          pos_ += 2;
          break;
        }
        default:
          return false;
      }
    }
    return false;
  }

 private:
  std::string_view line_;
  std::size_t pos_ = 0;
};

bool ParseType(const std::string& word, DWORD& type) {
  for (const TypeName& entry : kTypeNames) {
    if (word == entry.name) {
      type = entry.type;
      return true;
    }
  }
  if (word.empty() || word.size() > 10 ||
      !std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return false;
  const unsigned long long number = std::strtoull(word.c_str(), nullptr, 10);
  if (number > 0xFFFFFFFFULL) return false;
  type = static_cast<DWORD>(number);
  return true;
}

bool ParseData(LineReader& reader, DWORD type, std::string& data) {
  data.clear();
  if (reader.Peek('"')) return reader.QuotedString(data) && reader.AtEnd();
  const std::string head = reader.Word();
  if (head == "hex") {
    while (!reader.AtEnd()) {
      const std::string pair = reader.Word();
      if (pair.size() != 2 || HexValue(pair[0]) < 0 || HexValue(pair[1]) < 0) return false;
      data += static_cast<char>(HexValue(pair[0]) * 16 + HexValue(pair[1]));
    }
    return true;
  }
  const std::size_t digits = head.size() >= 2 ? head.size() - 2 : 0;
  if (head.size() < 2 || head[0] != '0' || head[1] != 'x' ||
      !((type == REG_DWORD && digits == 8) || (type == REG_QWORD && digits == 16)))
    return false;
  std::uint64_t number = 0;
  for (std::size_t i = 2; i < head.size(); ++i) {
    const int digit = HexValue(head[i]);
    if (digit < 0) return false;
    number = (number << 4) | static_cast<std::uint64_t>(digit);
  }
  for (std::size_t i = 0; i < digits / 2; ++i) data += static_cast<char>((number >> (8 * i)) & 0xFF);
  return reader.AtEnd();
}

bool DecodePath(std::string_view text, std::vector<std::string>& path) {
  path.assign(1, std::string());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\') {
      path.emplace_back();
    } else if (c == '%') {
      if (i + 2 >= text.size()) return false;
      const int high = HexValue(text[i + 1]);
      const int low = HexValue(text[i + 2]);
      if (high < 0 || low < 0) return false;
      path.back() += static_cast<char>(high * 16 + low);
      i += 2;
    } else if (IsControl(static_cast<unsigned char>(c))) {
      return false;
    } else {
      path.back() += c;
    }
  }
  return std::all_of(path.begin(), path.end(), [](const std::string& name) {
    return !name.empty() && name.size() <= kMaxKeyNameLength && name.find('\0') == std::string::npos;
  });
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

}  // namespace

bool Parse(std::string_view text, Key& top) {
  top = Key();
  std::size_t start = 0;
  bool first = true;
  std::set<std::string> declared;  // folded paths of the key headers seen
  Key* current = &top;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = Trimmed(text.substr(start, end - start));
    start = end + 1;
    if (first) {
      if (line != kHeader) return false;
      first = false;
      continue;
    }
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[') {
      std::vector<std::string> path;
      if (line.back() != ']' || line.size() < 2 || !DecodePath(line.substr(1, line.size() - 2), path)) return false;
      if (!declared.insert(Folded(EncodedPath(path))).second) return false;
      // A key may come before its parent's header: the parent is made here and
      // filled when its own header follows.
      Key* key = &top;
      for (const std::string& name : path) {
        Key* child = FindChild(*key, name);
        key = child ? child : &InsertChild(*key, name);
      }
      current = key;
      continue;
    }
    LineReader reader(line);
    if (line.front() == '@') {
      const std::string attribute = reader.Word();
      if (attribute == "@class") {
        if (!reader.QuotedString(current->className) || !reader.AtEnd()) return false;
      } else if (attribute == "@loaded") {
        if (!reader.QuotedString(current->loadedFrom) || !reader.AtEnd()) return false;
      } else if (attribute == "@modified") {
        const std::string when = reader.Word();
        if (!ParseTime(when, current->modified) || !reader.AtEnd()) return false;
      } else {
        return false;
      }
      continue;
    }
    Value value;
    // Names are C strings to the calls, so a NUL inside one cannot have been written.
    if (!reader.QuotedString(value.name) || value.name.size() > kMaxValueNameLength ||
        value.name.find('\0') != std::string::npos || !reader.Expect('=') || !ParseType(reader.Word(), value.type) ||
        !ParseData(reader, value.type, value.data))
      return false;
    if (FindValue(*current, value.name)) return false;
    current->values.push_back(std::move(value));
  }
  return !first;
}

}  // namespace radixpad::registry_store
