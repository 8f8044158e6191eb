#include "bit_grid.h"

#include "converter.h"
#include "radix_rules.h"

namespace radixpad {

std::string BitGridPattern(std::string_view binaryText, int bits) {
  const auto width = static_cast<std::size_t>(bits > 0 ? bits : 0);
  if (binaryText.size() > width) binaryText.remove_prefix(binaryText.size() - width);
  std::string out = ZeroFill(binaryText, bits);
  for (char& c : out) c = c == '1' ? '1' : '0';
  return out;
}

std::string FlipBitOfText(std::string_view binaryText, int bits, int bit) {
  if (bit < 0 || bit >= bits) return {};
  std::string out = ZeroFill(binaryText, bits);
  char& c = out[out.size() - 1 - static_cast<std::size_t>(bit)];
  c = c == '1' ? '0' : '1';
  return out;
}

// The converter's side lives here, beside the text transform it uses.
void CConverter::FlipBit(int bit) {
  if (bit < 0 || bit >= Bits()) {
    Beep();
    return;
  }
  // Written as the shift buttons write: the write's own change notification
  // runs the Binary parse, which rewrites the other rows.
  FieldOfBase(kBinary).SetText(FlipBitOfText(FieldOfBase(kBinary).Text(), Bits(), bit));
}

std::string CConverter::BitPattern() const { return BitGridPattern(FieldOfBase(kBinary).Text(), Bits()); }

}  // namespace radixpad
