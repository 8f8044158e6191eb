#include "bit_operations.h"

#include <gtest/gtest.h>

#include <string>

namespace radixpad {
namespace {

struct BitCase {
  const char* name;
  BitOperation op;
  int bits;
  std::string in;
  std::string out;
};

class BitOperationTest : public ::testing::TestWithParam<BitCase> {};

TEST_P(BitOperationTest, TransformsTheBinaryText) {
  const BitCase& c = GetParam();
  EXPECT_EQ(ApplyBitOperation(c.op, c.in, c.bits), c.out);
}

using BO = BitOperation;
const std::string k62Zeros(62, '0');
const std::string k12345678 = "10010001101000101011001111000";  // 0x12345678 without leading zeros
const std::string k78563412 = "01111000010101100011010000010010";

INSTANTIATE_TEST_SUITE_P(
    Operations, BitOperationTest,
    ::testing::Values(BitCase{"w8_shl_101", BO::kShiftLeft, 8, "101", "00001010"},
                      BitCase{"w8_shr_101", BO::kShiftRight, 8, "101", "00000010"},
                      BitCase{"w8_rol_101", BO::kRotateLeft, 8, "101", "00001010"},
                      BitCase{"w8_ror_101", BO::kRotateRight, 8, "101", "10000010"},
                      BitCase{"w8_inv_101", BO::kInvert, 8, "101", "11111010"},
                      BitCase{"w32_inv_111", BO::kInvert, 32, "111", std::string(29, '1') + "000"},
                      BitCase{"w64_inv_1", BO::kInvert, 64, "1", std::string(63, '1') + "0"},
                      BitCase{"w8_inv_overlong_not_cut", BO::kInvert, 8, "101010101", "010101010"},
                      BitCase{"w16_shl_1", BO::kShiftLeft, 16, "1", "0000000000000010"},
                      BitCase{"w16_ror_1", BO::kRotateRight, 16, "1", "1000000000000000"},
                      BitCase{"w64_shl_101", BO::kShiftLeft, 64, "101", std::string(60, '0') + "1010"},
                      BitCase{"w64_shr_101", BO::kShiftRight, 64, "101", k62Zeros + "10"},
                      BitCase{"w64_ror_101", BO::kRotateRight, 64, "101", "1" + std::string(61, '0') + "10"},
                      BitCase{"w8_shr_is_logical", BO::kShiftRight, 8, "11111111", "01111111"},
                      BitCase{"w8_shl_loses_top_bit", BO::kShiftLeft, 8, "10000000", "00000000"},
                      BitCase{"w8_rol_keeps_top_bit", BO::kRotateLeft, 8, "10000000", "00000001"},
                      BitCase{"inv_of_0", BO::kInvert, 8, "0", "11111111"},
                      BitCase{"inv_of_111_fills_to_width", BO::kInvert, 8, "111", "11111000"},
                      BitCase{"inv_other_chars_become_1", BO::kInvert, 8, "1x0", "11111011"},
                      BitCase{"w8_overlong_not_cut", BO::kRotateLeft, 8, "101010101", "010101011"},
                      BitCase{"w8_shr_full_width", BO::kShiftRight, 8, "10000001", "01000000"},
                      BitCase{"w32_swap_12345678", BO::kSwapBytes, 32, k12345678, k78563412},
                      BitCase{"w64_swap_12345678", BO::kSwapBytes, 64, k12345678, k78563412 + std::string(32, '0')},
                      BitCase{"w16_swap_1", BO::kSwapBytes, 16, "1", "0000000100000000"},
                      BitCase{"w8_swap_fills_only", BO::kSwapBytes, 8, "101", "00000101"},
                      BitCase{"w16_swap_overlong_keeps_front", BO::kSwapBytes, 16,
                              "1" + std::string(8, '0') + "11111111", "1" + std::string(8, '1') + "00000000"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace radixpad
