// The text transforms behind the shift, rotate, invert and swap commands. They
// work on the digit text of the row showing Binary, never on a number.
#pragma once

#include <string>
#include <string_view>

namespace radixpad {

enum class BitOperation { kShiftLeft, kShiftRight, kRotateLeft, kRotateRight, kInvert, kSwapBytes };

/// The text written back for a non-empty Binary text at the given width.
/// Every operation first fills the text with '0' to the width (one more for a
/// right shift) and never cuts it; invert then turns a '1' into '0' and any
/// other character into '1'; swap reverses the order of the groups of eight
/// characters that make up the last `bits` (at 8 bits: the text unchanged).
std::string ApplyBitOperation(BitOperation op, std::string_view binaryText, int bits);

}  // namespace radixpad
