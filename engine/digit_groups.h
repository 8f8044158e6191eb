// Where a row's digits fall into groups when they are shown grouped: Binary and
// Hexadecimal in fours, Octal and Decimal in threes, counted from the right. The
// groups are only drawn; the row's text never holds a separator.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace radixpad {

/// Digits per group of a base: 4 for Binary and Hexadecimal, 3 for Octal and
/// Decimal, 0 for any other base.
int DigitGroupSize(int base);

/// The indexes of the characters a gap follows in `text` shown grouped: after every
/// digit with a whole number of groups of digits to its right. A sign or any other
/// character that is not a digit of the base is neither counted nor followed by a gap.
std::vector<std::size_t> DigitGroupGaps(int base, std::string_view text);

}  // namespace radixpad
