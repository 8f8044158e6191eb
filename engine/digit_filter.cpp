#include "digit_filter.h"

#include <array>

#include "radix_rules.h"

namespace radixpad {

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

}  // namespace radixpad
