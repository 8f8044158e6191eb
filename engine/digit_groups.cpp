#include "digit_groups.h"

#include "radix_rules.h"

namespace radixpad {

int DigitGroupSize(int base) {
  switch (base) {
    case kBinary:
    case kHexadecimal:
      return 4;
    case kOctal:
    case kDecimal:
      return 3;
    default:
      return 0;
  }
}

std::vector<std::size_t> DigitGroupGaps(int base, std::string_view text) {
  std::vector<std::size_t> gaps;
  const int size = DigitGroupSize(base);
  if (size == 0) return gaps;
  int digitsRight = 0;  // digits to the right of the character looked at
  for (std::size_t i = text.size(); i-- > 0;) {
    if (!IsDigitOfBase(base, text[i])) continue;
    if (digitsRight > 0 && digitsRight % size == 0) gaps.push_back(i);
    ++digitsRight;
  }
  return {gaps.rbegin(), gaps.rend()};
}

}  // namespace radixpad
