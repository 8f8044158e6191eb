// The text transforms behind the shift, rotate and invert buttons. They work on
// the digit text of the row showing Binary, never on a number.
#pragma once

#include <string>
#include <string_view>

namespace radixpad {

enum class BitOperation { kShiftLeft, kShiftRight, kRotateLeft, kRotateRight, kInvert };

/// The text written back for a non-empty Binary text at the given width.
/// Shifts and rotations first fill the text with '0' to the width (one more for
/// a right shift) and never cut it; invert flips only the digits shown.
std::string ApplyBitOperation(BitOperation op, std::string_view binaryText, int bits);

}  // namespace radixpad
