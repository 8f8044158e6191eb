#include "digit_filter.h"

#include <algorithm>
#include <array>

#include "radix_rules.h"

namespace radixpad {

namespace {

bool IsEdgeSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == '_' || c == '\''; }
char Capital(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Characters of a UTF-8 text: every byte that does not continue a sequence.
std::size_t CharacterCount(std::string_view text) {
  std::size_t n = 0;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  }
  return n;
}

}  // namespace

std::optional<int> TextLimit(int base, int bits, bool isSigned) {
  // Rows: Binary, Octal, Decimal signed, Decimal unsigned, Hexadecimal.
  static constexpr std::array<std::array<int, kWidthCount>, 5> kLimits{{
      {8, 16, 32, 64},
      {3, 6, 11, 22},
      {4, 6, 11, 20},
      {3, 5, 10, 20},
      {2, 4, 8, 16},
  }};
  const int widthIndex = WidthIndexOfBits(bits);
  if (!IsValidBase(base) || widthIndex < 0) return std::nullopt;
  int row = base;
  if (base == kDecimal && !isSigned) row = 3;
  if (base == kHexadecimal) row = 4;
  return kLimits[static_cast<std::size_t>(row)][static_cast<std::size_t>(widthIndex)];
}

bool AcceptsTypedChar(int base, bool isSigned, char c, const KeyContext& context) {
  if (IsDigitOfBase(base, c)) return true;
  if (base == kDecimal && c == '-') {
    // The sign rule: only in signed mode, and only in front of the text.
    return isSigned && (context.fieldEmpty || context.caretAtStart);
  }
  if (c == kBackspace) return true;
  return context.ctrlDown;
}

bool AcceptsTypedText(int base, bool isSigned, std::string_view text, const KeyContext& context) {
  if (text.empty()) return false;
  KeyContext at = context;
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (text.size() > 1 && (u < 0x20 || u == 0x7F)) return false;
    if (!AcceptsTypedChar(base, isSigned, c, at)) return false;
    at.fieldEmpty = false;
    at.caretAtStart = false;
  }
  return true;
}

std::string TidyPastedText(int base, std::string_view pasted) {
  std::size_t first = 0;
  std::size_t last = pasted.size();
  while (first < last && IsEdgeSpace(pasted[first])) ++first;
  while (last > first && IsEdgeSpace(pasted[last - 1])) --last;
  std::string t;
  for (char c : pasted.substr(first, last - first)) {
    if (!IsSeparator(c)) t.push_back(Capital(c));
  }
  auto dropPrefix = [&t](std::string_view marker) {
    if (t.compare(0, marker.size(), marker) != 0) return false;
    t.erase(0, marker.size());
    return true;
  };
  switch (base) {
    case kBinary:
      dropPrefix("0B");
      break;
    case kOctal:
      dropPrefix("0O");
      break;
    case kDecimal:
      dropPrefix("+");
      break;
    case kHexadecimal:
      if (!dropPrefix("0X") && !dropPrefix("#") && !t.empty() && t.back() == 'H') t.pop_back();
      break;
    default:
      break;
  }
  return t;
}

std::optional<PasteOutcome> PasteIntoText(std::string_view current, std::size_t selStart, std::size_t selLength,
                                          std::string_view pasted, int base, std::optional<int> limit) {
  selStart = std::min(selStart, current.size());
  selLength = std::min(selLength, current.size() - selStart);
  const std::string tidy = TidyPastedText(base, pasted);
  PasteOutcome out;
  out.text.reserve(current.size() - selLength + tidy.size());
  out.text.append(current.substr(0, selStart)).append(tidy).append(current.substr(selStart + selLength));
  if (limit && CharacterCount(out.text) > static_cast<std::size_t>(std::max(*limit, 0))) return std::nullopt;
  out.caret = selStart + tidy.size();
  return out;
}

}  // namespace radixpad
