#include "digit_filter.h"

#include <algorithm>
#include <array>

#include "radix_rules.h"

namespace radixpad {

namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == '_' || c == '\''; }
char Capital(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Blanks a paste from a document or a web page brings along, in UTF-8: no-break
// space, figure space, thin space, hair space, narrow no-break space.
constexpr std::string_view kWideBlanks[] = {"\xC2\xA0", "\xE2\x80\x87", "\xE2\x80\x89", "\xE2\x80\x8A", "\xE2\x80\xAF"};
constexpr std::string_view kMinusSign = "\xE2\x88\x92";  // U+2212

}  // namespace

std::string PlainBlanks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    bool blank = false;
    for (std::string_view wide : kWideBlanks) {
      if (text.substr(i, wide.size()) == wide) {
        out.push_back(' ');
        i += wide.size();
        blank = true;
        break;
      }
    }
    if (!blank) out.push_back(text[i++]);
  }
  return out;
}

namespace {

// Characters of a UTF-8 text: every byte that does not continue a sequence.
std::size_t CharacterCount(std::string_view text) {
  std::size_t n = 0;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  }
  return n;
}

// Whether the row's typing would take every character of a tidied paste that goes
// in at `atStart` (the start of the text) or further on.
bool TypingWouldTake(int base, bool isSigned, std::string_view tidy, bool atStart) {
  for (std::size_t i = 0; i < tidy.size(); ++i) {
    if (IsDigitOfBase(base, tidy[i])) continue;
    if (base == kDecimal && tidy[i] == '-' && isSigned && i == 0 && atStart) continue;
    return false;
  }
  return true;
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

bool IsMarkerAfterLoneZero(int base, char c, std::string_view text, std::size_t caret) {
  if (text != "0" || caret != 1) return false;
  switch (Capital(c)) {
    case 'B':
      return base == kBinary;
    case 'O':
      return base == kOctal;
    case 'X':
      return base == kHexadecimal;
    default:
      return false;
  }
}

std::string TidyPastedText(int base, std::string_view pasted) {
  const std::string plain = PlainBlanks(pasted);
  std::string t;
  for (char c : TrimBlanks(plain)) {
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
      if (t.size() > 1 && t[0] == '+' && IsDigitOfBase(kDecimal, t[1])) {
        t.erase(0, 1);
      } else if (t.compare(0, kMinusSign.size(), kMinusSign) == 0) {
        t.replace(0, kMinusSign.size(), "-");
      }
      break;
    case kHexadecimal:
      if (!dropPrefix("0X") && !dropPrefix("#") && !t.empty() && t.back() == 'H') t.pop_back();
      break;
    default:
      break;
  }
  return t;
}

PasteOutcome PasteIntoText(std::string_view current, std::size_t selStart, std::size_t selLength,
                           std::string_view pasted, int base, bool isSigned, std::optional<int> limit) {
  selStart = std::min(selStart, current.size());
  selLength = std::min(selLength, current.size() - selStart);
  PasteOutcome out;
  const std::string tidy = TidyPastedText(base, pasted);
  if (!TypingWouldTake(base, isSigned, tidy, selStart == 0)) {
    out.result = PasteResult::kBadCharacter;
    return out;
  }
  out.text.reserve(current.size() - selLength + tidy.size());
  out.text.append(current.substr(0, selStart)).append(tidy).append(current.substr(selStart + selLength));
  // Each character may do, and the whole still not: a paste in front of the row's minus.
  if (!CharactersValid(base, out.text, isSigned) && CharactersValid(base, current, isSigned)) {
    out.result = PasteResult::kBadCharacter;
    out.text.clear();
    return out;
  }
  if (limit && CharacterCount(out.text) > static_cast<std::size_t>(std::max(*limit, 0))) {
    out.result = PasteResult::kTooLong;
    out.text.clear();
    return out;
  }
  out.caret = selStart + tidy.size();
  return out;
}

}  // namespace radixpad
