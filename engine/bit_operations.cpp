#include "bit_operations.h"

#include "radix_rules.h"

namespace radixpad {

std::string ApplyBitOperation(BitOperation op, std::string_view binaryText, int bits) {
  std::string t = ZeroFill(binaryText, op == BitOperation::kShiftRight ? bits + 1 : bits);
  if (t.empty()) return t;
  switch (op) {
    case BitOperation::kShiftLeft:
      t.erase(0, 1);
      t.push_back('0');
      break;
    case BitOperation::kShiftRight:
      t.pop_back();
      break;
    case BitOperation::kRotateLeft:
      t.push_back(t.front());
      t.erase(0, 1);
      break;
    case BitOperation::kRotateRight:
      t.insert(t.begin(), t.back());
      t.pop_back();
      break;
    case BitOperation::kInvert:
      for (char& c : t) c = c == '1' ? '0' : '1';
      break;
    case BitOperation::kSwapBytes: {
      if (bits < 8) break;
      // An over-long text keeps its front; the last `bits` characters are the bytes.
      const auto count = static_cast<std::size_t>(bits) / 8;
      const std::size_t start = t.size() - 8 * count;
      const std::string in = t;
      for (std::size_t i = 0; i < count; ++i) t.replace(start + 8 * i, 8, in, start + 8 * (count - 1 - i), 8);
      break;
    }
  }
  return t;
}

}  // namespace radixpad
