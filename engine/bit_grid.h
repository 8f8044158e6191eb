// The bit grid: the Binary row seen as W single bits, and flipping one of them.
// Both work on the Binary text, as the bit operations do, never on a number.
#pragma once

#include <string>
#include <string_view>

namespace radixpad {

/// The W bits the grid shows for a Binary text: '0' or '1' for each, most
/// significant first, the text filled with leading zeros to `bits`. An empty
/// text shows all bits off; any character other than '1' counts as off; of an
/// over-long text the last `bits` characters count.
std::string BitGridPattern(std::string_view binaryText, int bits);

/// The Binary text with bit `bit` (0 = least significant) flipped: the text is
/// filled with '0' to `bits` first. Empty when `bit` is not below `bits`.
std::string FlipBitOfText(std::string_view binaryText, int bits, int bit);

}  // namespace radixpad
