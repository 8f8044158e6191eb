#include "float_view.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>
#include <system_error>

#include "radix_rules.h"

namespace radixpad {

namespace {

struct Format {
  int bits;
  int exponentBits;
  int fractionBits;
  int bias;
};

constexpr Format kBinary16{16, 5, 10, 15};
constexpr Format kBinary32{32, 8, 23, 127};
constexpr Format kBinary64{64, 11, 52, 1023};

const Format* FormatOfWidth(int bits) {
  switch (bits) {
    case 16:
      return &kBinary16;
    case 32:
      return &kBinary32;
    case 64:
      return &kBinary64;
    default:
      return nullptr;
  }
}

constexpr std::uint64_t Mask(int n) { return n >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n) - 1; }

std::uint64_t InfinityOf(const Format& f) { return Mask(f.exponentBits) << f.fractionBits; }

// The texts are written into buffers on the stack and copied once: the view
// is formatted on every keystroke. Each writer returns the end of what it wrote.
char* WriteBits(char* p, std::uint64_t value, int count) {
  for (int i = count - 1; i >= 0; --i) *p++ = static_cast<char>('0' + ((value >> i) & 1));
  return p;
}

bool EqualsIgnoringCase(std::string_view text, std::string_view lower) {
  if (text.size() != lower.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
    if (c != lower[i]) return false;
  }
  return true;
}

// A decimal number read from text, as views into it. Its value is
// 0.<head><tail> x 10^point, the digits without leading or trailing zeros
// (none: zero); `text` is the number without blanks and sign.
struct DecimalNumber {
  enum class Kind { kNumber, kInfinity, kNan };
  Kind kind = Kind::kNumber;
  bool negative = false;
  std::string_view text;
  std::string_view head;
  std::string_view tail;
  long long point = 0;

  bool IsZero() const { return head.empty(); }
  char Digit(std::size_t i) const { return i < head.size() ? head[i] : tail[i - head.size()]; }
  std::size_t DigitCount() const { return head.size() + tail.size(); }
};

// Larger exponents cannot matter: every value beyond them is out of every format's range.
constexpr long long kExponentCap = 100'000'000;

std::string_view WithoutTrailingZeros(std::string_view digits) {
  const std::size_t last = digits.find_last_not_of('0');
  return digits.substr(0, last == std::string_view::npos ? 0 : last + 1);
}

std::optional<DecimalNumber> ReadDecimalNumber(std::string_view s) {
  s = TrimBlanks(s);
  DecimalNumber n;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    n.negative = s.front() == '-';
    s.remove_prefix(1);
  }
  n.text = s;
  if (EqualsIgnoringCase(s, "inf") || EqualsIgnoringCase(s, "infinity")) {
    n.kind = DecimalNumber::Kind::kInfinity;
    return n;
  }
  if (EqualsIgnoringCase(s, "nan")) {
    n.kind = DecimalNumber::Kind::kNan;
    return n;
  }
  // Integer digits [0, intEnd), fraction digits [fracBegin, i).
  std::size_t i = 0;
  while (i < s.size() && IsDigitOfBase(kDecimal, s[i])) ++i;
  const std::size_t intEnd = i;
  std::size_t fracBegin = i;
  if (i < s.size() && s[i] == '.') {
    fracBegin = ++i;
    while (i < s.size() && IsDigitOfBase(kDecimal, s[i])) ++i;
  }
  if (intEnd == 0 && i == fracBegin) return std::nullopt;  // no digit
  std::string_view whole = s.substr(0, intEnd);
  std::string_view fraction = s.substr(fracBegin, i - fracBegin);
  if (i < s.size()) {
    if (s[i] != 'e' && s[i] != 'E') return std::nullopt;
    ++i;
    bool negativeExponent = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
      negativeExponent = s[i] == '-';
      ++i;
    }
    if (i == s.size()) return std::nullopt;
    long long exponent = 0;
    for (; i < s.size(); ++i) {
      if (!IsDigitOfBase(kDecimal, s[i])) return std::nullopt;
      if (exponent < kExponentCap) exponent = exponent * 10 + (s[i] - '0');
    }
    n.point = negativeExponent ? -exponent : exponent;
  }
  whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size()));
  if (whole.empty()) {
    const std::size_t zeros = std::min(fraction.find_first_not_of('0'), fraction.size());
    n.point -= static_cast<long long>(zeros);
    n.head = WithoutTrailingZeros(fraction.substr(zeros));
  } else {
    n.point += static_cast<long long>(whole.size());
    n.tail = WithoutTrailingZeros(fraction);
    n.head = n.tail.empty() ? WithoutTrailingZeros(whole) : whole;
  }
  if (n.IsZero()) n.point = 0;
  return n;
}

// The magnitude of a number rounded to the nearest double, ties to even;
// infinity when it is too large.
double NearestDouble(const DecimalNumber& n) {
  if (n.IsZero()) return 0.0;
  double d = 0.0;
  // The text has the syntax from_chars reads; the range is known from `point`.
  const auto r = std::from_chars(n.text.data(), n.text.data() + n.text.size(), d);
  if (r.ec == std::errc::result_out_of_range) return n.point > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  return d;
}

// -1, 0 or 1 as the magnitude of `n` is below, at or above the positive double
// `d`, which has at most `fractionDigits` binary digits after the point.
int CompareWithDouble(const DecimalNumber& n, double d, int fractionDigits) {
  // At most 309 integer digits, a point and 150 fraction digits.
  char buf[512];
  const auto r = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::fixed, fractionDigits);
  // A binary fraction of k digits has exactly k decimal digits, so this text is d exactly.
  const auto exact = ReadDecimalNumber(std::string_view(buf, static_cast<std::size_t>(r.ptr - buf)));
  if (n.point != exact->point) return n.point < exact->point ? -1 : 1;
  const std::size_t common = std::min(n.DigitCount(), exact->DigitCount());
  for (std::size_t i = 0; i < common; ++i) {
    if (n.Digit(i) != exact->Digit(i)) return n.Digit(i) < exact->Digit(i) ? -1 : 1;
  }
  if (n.DigitCount() == exact->DigitCount()) return 0;
  return n.DigitCount() < exact->DigitCount() ? -1 : 1;
}

// The magnitude's pattern in a format narrower than binary64, from the nearest
// double `d` of the number `n`. Each of the format's rounding boundaries is a
// double, so d is on the same side of every boundary as n or on it; only there
// does n itself decide, never d, which would round twice.
std::uint64_t RoundToFormat(const DecimalNumber& n, double d, const Format& f) {
  if (d == 0.0) return 0;
  if (std::isinf(d)) return InfinityOf(f);
  const auto bits = std::bit_cast<std::uint64_t>(d);
  const auto field = static_cast<int>((bits >> 52) & 0x7FF);
  std::uint64_t m = bits & Mask(52);
  int e = -1074;
  if (field != 0) {
    m |= std::uint64_t{1} << 52;
    e = field - 1075;
  }
  // d = m * 2^e; the result is its multiple of 2^q, q from the format's precision.
  const int top = e + 63 - std::countl_zero(m);
  const int minExponent = 1 - f.bias;
  int q = std::max(top, minExponent) - f.fractionBits;
  const int shift = q - e;
  std::uint64_t result = 0;
  if (shift <= 0) {
    result = m << -shift;
  } else if (shift < 64) {
    result = m >> shift;
    const std::uint64_t rest = m & Mask(shift);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    bool up = rest > half;
    if (rest == half) {
      const int side = CompareWithDouble(n, d, f.bias + f.fractionBits);
      up = side > 0 || (side == 0 && (result & 1) != 0);
    }
    if (up) ++result;
  }  // else: below half of the smallest subnormal, a zero
  if (result >> (f.fractionBits + 1)) {
    result >>= 1;
    ++q;
  }
  if ((result >> f.fractionBits) == 0) return result;  // subnormal or zero
  const auto exponentField = static_cast<std::uint64_t>(q + f.fractionBits + f.bias);
  if (exponentField >= Mask(f.exponentBits)) return InfinityOf(f);
  return (exponentField << f.fractionBits) | (result & Mask(f.fractionBits));
}

std::uint64_t ParseAt(const DecimalNumber& n, const Format& f) {
  std::uint64_t magnitude = 0;
  switch (n.kind) {
    case DecimalNumber::Kind::kInfinity:
      magnitude = InfinityOf(f);
      break;
    case DecimalNumber::Kind::kNan:
      magnitude = InfinityOf(f) | (std::uint64_t{1} << (f.fractionBits - 1));
      break;
    case DecimalNumber::Kind::kNumber: {
      const double d = NearestDouble(n);
      magnitude = f.bits == 64 ? std::bit_cast<std::uint64_t>(d) : RoundToFormat(n, d, f);
      break;
    }
  }
  return (n.negative ? std::uint64_t{1} << (f.bits - 1) : 0) | magnitude;
}

// The names of each float class, in the order of FloatClass: the view's text
// and the machine-readable key.
struct ClassNames {
  ViewText text;
  std::string_view key;
};

constexpr ClassNames kClassNames[] = {
    {ViewText::kFloatZero, "zero"},          {ViewText::kFloatSubnormal, "subnormal"},
    {ViewText::kFloatNormal, "normal"},      {ViewText::kFloatInfinity, "infinity"},
    {ViewText::kFloatQuietNan, "quiet-nan"}, {ViewText::kFloatSignallingNan, "signalling-nan"},
};
static_assert(std::size(kClassNames) == static_cast<std::size_t>(FloatClass::kSignallingNan) + 1,
              "one entry for every FloatClass");

// The names of a class; nothing for a value outside the enumeration.
const ClassNames* NamesOfClass(FloatClass c) {
  const auto i = static_cast<std::size_t>(c);
  return i < std::size(kClassNames) ? &kClassNames[i] : nullptr;
}

// Room for every text of a description: 52 fraction bits; a sign and 24
// characters of a shortest binary64 decimal, its exact whole number or its
// hexadecimal form.
constexpr std::size_t kTextRoom = 64;

template <typename T>
char* WriteShortest(char* p, char* end, T value) {
  return std::to_chars(p, end, value).ptr;
}

double Binary16Value(std::uint64_t magnitude) {
  const auto field = static_cast<int>(magnitude >> 10);
  const std::uint64_t fraction = magnitude & Mask(10);
  return field == 0 ? std::ldexp(static_cast<double>(fraction), -24)
                    : std::ldexp(static_cast<double>(fraction | 0x400), field - 25);
}

// The shortest decimal of a finite, nonzero binary16 magnitude of value `value`.
// It has at most five digits; for each count p the candidates are the p-digit
// roundings of the value down and up, and the first that reads back is the answer.
char* WriteShortestBinary16(char* out, char* outEnd, std::uint64_t magnitude, double value) {
  for (int p = 1; p <= 5; ++p) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, p - 1);
    // "d.ddde-05": the rounded digits as one number, and their scale.
    long long digits = 0;
    const char* c = buf;
    for (; *c != 'e'; ++c) {
      if (IsDigitOfBase(kDecimal, *c)) digits = digits * 10 + (*c - '0');
    }
    int exponent = 0;
    std::from_chars(*(c + 1) == '+' ? c + 2 : c + 1, r.ptr, exponent);
    const long long scale = exponent - (p - 1);
    for (const long long candidate : {digits, digits - 1, digits + 1}) {
      if (candidate <= 0) continue;
      // "<candidate>e<scale>", read as any text is.
      char text[48];
      char* end = std::to_chars(text, text + 24, candidate).ptr;
      *end++ = 'e';
      end = std::to_chars(end, text + sizeof text, scale).ptr;
      const auto n = ReadDecimalNumber(std::string_view(text, static_cast<std::size_t>(end - text)));
      // Written as the double of those digits is, which has no shorter form.
      if (ParseAt(*n, kBinary16) == magnitude) return WriteShortest(out, outEnd, NearestDouble(*n));
    }
  }
  return WriteShortest(out, outEnd, value);  // not reached: five digits always read back
}

// A whole number written without an exponent is written exactly: "65504", not
// "65500", which is as short and reads back the same but is not the value.
char* WriteWholeNumberExactly(char* begin, char* p, char* end, double value) {
  if (std::find_if(begin, p, [](char c) { return c == '.' || c == 'e'; }) != p || value != std::trunc(value)) {
    return p;
  }
  char exact[kTextRoom];
  const auto r = std::to_chars(exact, exact + sizeof exact, value, std::chars_format::fixed, 0);
  if (r.ec != std::errc() || r.ptr - exact > end - begin) return p;
  return std::copy(exact, r.ptr, begin);
}

char* WriteHexForm(char* p, char* end, bool subnormalOrZero, std::uint64_t fraction, int exponent, const Format& f) {
  *p++ = '0';
  *p++ = 'x';
  *p++ = subnormalOrZero ? '0' : '1';
  if (fraction != 0) {
    // The fraction's hexadecimal digits, aligned on the left, trailing zeros dropped.
    int digits = (f.fractionBits + 3) / 4;
    std::uint64_t aligned = fraction << (digits * 4 - f.fractionBits);
    while ((aligned & 0xF) == 0) {
      aligned >>= 4;
      --digits;
    }
    *p++ = '.';
    for (int i = digits - 1; i >= 0; --i) *p++ = "0123456789abcdef"[(aligned >> (4 * i)) & 0xF];
  }
  *p++ = 'p';
  if (fraction == 0 && subnormalOrZero) exponent = 0;
  if (exponent >= 0) *p++ = '+';
  return std::to_chars(p, end, exponent).ptr;
}

}  // namespace

void DescribeFloat(std::uint64_t pattern, int bits, FloatDescription& d) {
  const Format* format = FormatOfWidth(bits);
  d.bits = 0;
  d.floatClass = FloatClass::kZero;
  d.negative = false;
  d.exponent = 0;
  d.payload = 0;
  if (format == nullptr) {
    d.exponentBits.clear();
    d.fractionBits.clear();
    d.decimal.clear();
    d.hex.clear();
    return;
  }
  const Format& f = *format;
  d.bits = bits;
  pattern &= Mask(bits);
  const std::uint64_t fraction = pattern & Mask(f.fractionBits);
  const std::uint64_t field = (pattern >> f.fractionBits) & Mask(f.exponentBits);
  d.negative = (pattern >> (bits - 1)) != 0;
  d.exponent = field == 0 ? 1 - f.bias : static_cast<int>(field) - f.bias;
  char buf[kTextRoom];
  char* const end = buf + sizeof buf;
  d.exponentBits.assign(buf, WriteBits(buf, field, f.exponentBits));
  d.fractionBits.assign(buf, WriteBits(buf, fraction, f.fractionBits));
  char* const digits = d.negative ? buf + 1 : buf;  // the text after the sign
  buf[0] = '-';
  if (field == Mask(f.exponentBits)) {
    if (fraction == 0) {
      d.floatClass = FloatClass::kInfinity;
      d.decimal.assign(buf, std::copy_n("inf", 3, digits));
    } else {
      const bool quiet = (fraction >> (f.fractionBits - 1)) != 0;
      d.floatClass = quiet ? FloatClass::kQuietNan : FloatClass::kSignallingNan;
      d.payload = fraction & Mask(f.fractionBits - 1);
      d.decimal.assign(buf, std::copy_n("nan", 3, digits));
    }
    d.hex = d.decimal;
    return;
  }
  d.floatClass = field != 0 ? FloatClass::kNormal : (fraction != 0 ? FloatClass::kSubnormal : FloatClass::kZero);
  const std::uint64_t magnitude = pattern & Mask(bits - 1);
  double value = 0.0;
  char* p = digits;
  if (bits == 64) {
    value = std::bit_cast<double>(magnitude);
    p = WriteShortest(p, end, value);
  } else if (bits == 32) {
    const auto single = std::bit_cast<float>(static_cast<std::uint32_t>(magnitude));
    value = single;
    p = WriteShortest(p, end, single);
  } else if (magnitude == 0) {
    *p++ = '0';
  } else {
    value = Binary16Value(magnitude);
    p = WriteShortestBinary16(p, end, magnitude, value);
  }
  d.decimal.assign(buf, WriteWholeNumberExactly(digits, p, end, value));
  d.hex.assign(buf, WriteHexForm(digits, end, field == 0, fraction, d.exponent, f));
}

FloatDescription DescribeFloat(std::uint64_t pattern, int bits) {
  FloatDescription d;
  DescribeFloat(pattern, bits, d);
  return d;
}

std::optional<std::uint64_t> ParseFloatText(std::string_view text, int bits) {
  const Format* f = FormatOfWidth(bits);
  if (f == nullptr) return std::nullopt;
  const auto n = ReadDecimalNumber(text);
  if (!n) return std::nullopt;
  return ParseAt(*n, *f);
}

std::string FormatFloatLine(const FloatDescription& d, const ViewTexts& texts) {
  if (!d.HasFormat()) return texts.Get(ViewText::kFloatNoFormat);
  const ViewText format =
      d.bits == 16 ? ViewText::kBinary16 : (d.bits == 32 ? ViewText::kBinary32 : ViewText::kBinary64);
  const ClassNames* names = NamesOfClass(d.floatClass);
  std::string className = texts.Get(names != nullptr ? names->text : ViewText::kFloatNormal);
  if (d.IsNan()) {
    className = FillTemplate(texts.Get(ViewText::kFloatNanPayload), {className, "0x" + FormatHex(d.payload, 64)});
  }
  const std::string exponent = std::to_string(d.exponent);
  return FillTemplate(texts.Get(ViewText::kFloatLine), {texts.Get(format), className, d.negative ? "1" : "0",
                                                        d.exponentBits, exponent, d.fractionBits, d.decimal, d.hex});
}

std::string_view FloatClassKey(FloatClass c) {
  const ClassNames* names = NamesOfClass(c);
  return names != nullptr ? names->key : std::string_view();
}

std::string FloatViewJson(const FloatDescription& d) {
  if (!d.HasFormat()) return R"({"format":null})";
  // Every value here is ASCII without quotes or backslashes: nothing to escape.
  std::string out = R"({"format":"binary)";
  out += std::to_string(d.bits);
  out += R"(","class":")";
  out += FloatClassKey(d.floatClass);
  out += R"(","sign":)";
  out += d.negative ? '1' : '0';
  out += R"(,"exponent":")" + d.exponentBits + R"(","exponentValue":)" + std::to_string(d.exponent);
  out += R"(,"fraction":")" + d.fractionBits + R"(","payload":)";
  if (d.IsNan()) {
    out += "\"0x" + FormatHex(d.payload, 64) + '"';
  } else {
    out += "null";
  }
  out += R"(,"decimal":")" + d.decimal + R"(","hex":")" + d.hex + "\"}";
  return out;
}

}  // namespace radixpad
