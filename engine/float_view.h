// The float view: a W-bit pattern read as the IEEE 754 binary floating-point
// number of that width (binary16, binary32, binary64), and a decimal text read
// into such a pattern. Everything works on the integer bits; no value passes
// through a floating-point register on the way in or out, so a signalling NaN
// stays signalling.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "view_texts.h"

namespace radixpad {

enum class FloatClass { kZero, kSubnormal, kNormal, kInfinity, kQuietNan, kSignallingNan };

struct FloatDescription {
  int bits = 0;  // 16, 32 or 64; 0 at a width without an IEEE format (8 bits)
  FloatClass floatClass = FloatClass::kZero;
  bool negative = false;      // the sign bit
  std::string exponentBits;   // the exponent field, most significant bit first
  int exponent = 0;           // unbiased: field - bias; a zero field reads as 1 - bias
  std::string fractionBits;   // the fraction field, most significant bit first
  std::uint64_t payload = 0;  // NaNs: the fraction without its top (quiet) bit
  // The shortest decimal that reads back to the same bits at the width: "0.1",
  // "-0", "1e+16", "6.104e-05"; "inf", "-inf"; "nan" or "-nan" for every NaN.
  std::string decimal;
  // The exact value as C's %a writes it: "0x1.99999ap-4", "-0x0p+0"; a
  // subnormal as "0x0.<fraction>p<minimum exponent>"; "inf", "nan" as above.
  std::string hex;

  bool HasFormat() const { return bits != 0; }
  bool IsNan() const { return floatClass == FloatClass::kQuietNan || floatClass == FloatClass::kSignallingNan; }
};

/// The low `bits` bits of `pattern` read as a float of that width.
FloatDescription DescribeFloat(std::uint64_t pattern, int bits);
/// The same into `d`, whose texts keep their storage: a caller that describes
/// pattern after pattern (the round-trip checks) allocates nothing after the first.
void DescribeFloat(std::uint64_t pattern, int bits, FloatDescription& d);

/// The pattern at the width (16, 32, 64) of a decimal text: blanks at both ends,
/// an optional sign, digits with an optional point, an optional exponent
/// ("0.1", "-2.5e-3", "1.", ".5", "1E6"); or "inf", "infinity", "nan" in any
/// case, after an optional sign. Rounds to nearest, ties to even; too large
/// gives infinity, too small a zero of the sign. "nan" gives the quiet NaN
/// with payload 0. Any other text, and any other width, gives nothing.
std::optional<std::uint64_t> ParseFloatText(std::string_view text, int bits);

/// The view's one line from `texts`: "binary32 normal, sign 0, exponent
/// 01111111 (0), fraction 000..., decimal 1, hex 0x1p+0".
std::string FormatFloatLine(const FloatDescription& d, const ViewTexts& texts = ViewTexts::English());

/// A machine-readable name of the class: "zero", "subnormal", "normal",
/// "infinity", "quiet-nan", "signalling-nan".
std::string_view FloatClassKey(FloatClass c);

/// One JSON object of the fields, with English keys and class names:
/// {"format":"binary32","class":"normal","sign":0,"exponent":"01111111",
/// "exponentValue":0,"fraction":"000...","payload":null,"decimal":"1","hex":"0x1p+0"};
/// {"format":null} at a width without a format.
std::string FloatViewJson(const FloatDescription& d);

}  // namespace radixpad
