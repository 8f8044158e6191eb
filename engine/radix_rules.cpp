#include "radix_rules.h"

#include <array>
#include <charconv>
#include <system_error>

namespace radixpad {

namespace {

constexpr std::array<int, kWidthCount> kWidthBits{8, 16, 32, 64};

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string GroupsToBinary(std::string_view digits, int groupBits) {
  std::string out;
  out.reserve(digits.size() * static_cast<std::size_t>(groupBits));
  for (char c : digits) {
    const int value = HexDigitValue(c);
    for (int bit = groupBits - 1; bit >= 0; --bit) {
      out.push_back(value >= 0 && ((value >> bit) & 1) ? '1' : '0');
    }
  }
  return StripLeadingZeros(out);
}

std::string FormatUnsigned(std::uint64_t value, int radix, bool upper) {
  std::array<char, 72> buf{};
  const auto written = std::to_chars(buf.data(), buf.data() + buf.size(), value, radix);
  std::string out(buf.data(), written.ptr);
  if (upper) {
    for (char& c : out) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
  }
  return out;
}

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int WidthBits(int widthIndex) {
  return widthIndex >= 0 && widthIndex < kWidthCount ? kWidthBits[static_cast<std::size_t>(widthIndex)] : 0;
}

int WidthIndexOfBits(int bits) {
  for (int i = 0; i < kWidthCount; ++i) {
    if (kWidthBits[static_cast<std::size_t>(i)] == bits) return i;
  }
  return -1;
}

bool IsValidBase(int base) { return base >= 0 && base < kBaseCount; }

bool IsDigitOfBase(int base, char c) {
  switch (base) {
    case kBinary:
      return c == '0' || c == '1';
    case kOctal:
      return c >= '0' && c <= '7';
    case kDecimal:
      return IsDecimalDigit(c);
    case kHexadecimal:
      return HexDigitValue(c) >= 0;
    default:
      return false;
  }
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string StripLeadingZeros(std::string_view digits) {
  const auto first = digits.find_first_not_of('0');
  return first == std::string_view::npos ? std::string() : std::string(digits.substr(first));
}

std::string ZeroFill(std::string_view digits, int bits) {
  const auto want = static_cast<std::size_t>(bits > 0 ? bits : 0);
  std::string out;
  if (digits.size() < want) out.assign(want - digits.size(), '0');
  out.append(digits);
  return out;
}

std::uint64_t ReadPattern(std::string_view filled) {
  std::uint64_t pattern = 0;
  const std::size_t n = filled.size();
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t bit = n - 1 - i;
    if (filled[i] == '1' && bit < 64) pattern |= std::uint64_t{1} << bit;
  }
  return pattern;
}

std::string OctalToBinaryDigits(std::string_view octal) { return GroupsToBinary(octal, 3); }

std::string HexToBinaryDigits(std::string_view hex) { return GroupsToBinary(hex, 4); }

std::uint64_t MaskToWidth(std::uint64_t pattern, int bits) {
  if (bits >= 64) return pattern;
  if (bits <= 0) return 0;
  return pattern & ((std::uint64_t{1} << bits) - 1);
}

std::string FormatBinary(std::uint64_t pattern, int bits) {
  const std::uint64_t p = MaskToWidth(pattern, bits);
  return p == 0 ? std::string() : FormatUnsigned(p, 2, false);
}

std::string FormatOctal(std::uint64_t pattern, int bits) {
  return FormatUnsigned(MaskToWidth(pattern, bits), 8, false);
}

std::string FormatHex(std::uint64_t pattern, int bits) { return FormatUnsigned(MaskToWidth(pattern, bits), 16, true); }

std::string FormatDecimal(std::uint64_t pattern, int bits, bool isSigned) {
  std::uint64_t p = MaskToWidth(pattern, bits);
  const bool negative = isSigned && bits > 0 && ((p >> (bits - 1)) & 1) != 0;
  if (!negative) return FormatUnsigned(p, 10, false);
  if (bits < 64) p |= ~std::uint64_t{0} << bits;  // sign extension
  std::array<char, 24> buf{};
  const auto written = std::to_chars(buf.data(), buf.data() + buf.size(), static_cast<std::int64_t>(p));
  return std::string(buf.data(), written.ptr);
}

bool DecimalCountsAsEmpty(std::string_view text, bool isSigned) {
  if (text.empty()) return true;
  if (isSigned && text == "-") return true;

  // A decimal floating-point number read from the start, the way strtod reads one
  // in the C locale, but never as "INF", "NAN" or a hexadecimal float.
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t mantissaStart = i;
  bool anyDigit = false;
  bool nonZeroDigit = false;
  while (i < text.size() && IsDecimalDigit(text[i])) {
    anyDigit = true;
    nonZeroDigit |= text[i] != '0';
    ++i;
  }
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDecimalDigit(text[i])) {
      anyDigit = true;
      nonZeroDigit |= text[i] != '0';
      ++i;
    }
  }
  if (!anyDigit) return true;  // no number at the start reads as zero
  if (!nonZeroDigit) return true;

  // A non-zero mantissa can still read as zero through an exponent so small that
  // the double underflows, as strtod reports it.
  double value = 0;
  const char* begin = text.data() + mantissaStart;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(begin, end, value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    // Out of range: an overflow reads as infinity (not zero), an underflow as zero.
    const std::string_view parsed(begin, static_cast<std::size_t>(result.ptr - begin));
    const auto e = parsed.find_first_of("eE");
    return e != std::string_view::npos && e + 1 < parsed.size() && parsed[e + 1] == '-';
  }
  return result.ec == std::errc() && value == 0.0;
}

bool CharactersValid(int base, std::string_view text, bool isSigned) {
  std::size_t start = 0;
  if (base == kDecimal && isSigned && !text.empty() && text.front() == '-') start = 1;
  for (std::size_t i = start; i < text.size(); ++i) {
    if (!IsDigitOfBase(base, text[i])) return false;
  }
  return true;
}

DecimalRead ReadDecimal(std::string_view text, int bits, bool isSigned, std::uint64_t& pattern) {
  if (!CharactersValid(kDecimal, text, isSigned)) return DecimalRead::kBadCharacter;
  const bool negative = !text.empty() && text.front() == '-';
  std::string_view digits = negative ? text.substr(1) : text;

  // The largest magnitude the width allows for this sign.
  std::uint64_t limit = 0;
  if (isSigned) {
    const std::uint64_t half = std::uint64_t{1} << (bits - 1);
    limit = negative ? half : half - 1;
  } else {
    limit = bits >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << bits) - 1;
  }

  std::uint64_t magnitude = 0;
  for (char c : digits) {
    const auto d = static_cast<std::uint64_t>(c - '0');
    if (magnitude > (limit - d) / 10) return DecimalRead::kOverflow;
    magnitude = magnitude * 10 + d;
  }
  pattern = MaskToWidth(negative ? ~magnitude + 1 : magnitude, bits);
  return DecimalRead::kOk;
}

std::uint32_t DecimalTextToColorRef(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::uint32_t value = 0;
  for (; i < text.size() && IsDecimalDigit(text[i]); ++i) {
    value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
  }
  return negative ? 0u - value : value;
}

std::string ColorRefToDecimalText(std::uint32_t colorRef) {
  return std::to_string(static_cast<std::int32_t>(colorRef));
}

}  // namespace radixpad
