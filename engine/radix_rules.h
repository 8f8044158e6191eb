// Rules that turn digit texts into bit patterns and bit patterns back into the
// texts of the four bases. Texts are single-byte; a bit pattern of width W is
// held in the low W bits of a uint64_t.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace radixpad {

enum BaseIndex : int { kBinary = 0, kOctal = 1, kDecimal = 2, kHexadecimal = 3 };
inline constexpr int kBaseCount = 4;
inline constexpr int kWidthCount = 4;

/// Bits of a width index 0..3 (8, 16, 32, 64); 0 for any other index.
int WidthBits(int widthIndex);
/// Width index of 8, 16, 32 or 64 bits; -1 for any other count.
int WidthIndexOfBits(int bits);
bool IsValidBase(int base);

/// True for the digits of a base (hexadecimal in either case).
bool IsDigitOfBase(int base, char c);

/// The blanks C's isspace knows in the C locale: space, tab, LF, VT, FF, CR.
bool IsBlank(char c);
/// The text without blanks at either end.
std::string_view TrimBlanks(std::string_view text);

/// Drops leading '0' characters; a text of zeros only becomes empty.
std::string StripLeadingZeros(std::string_view digits);
/// Fills a binary digit string on the left with '0' up to `bits` characters.
std::string ZeroFill(std::string_view digits, int bits);
/// Reads a zero-filled pattern text: character i sets bit (size-1-i) when it is '1'.
std::uint64_t ReadPattern(std::string_view filled);

/// Octal digits to binary digits, three per digit, leading zeros removed.
std::string OctalToBinaryDigits(std::string_view octal);
/// Hexadecimal digits (either case) to binary digits, four per digit, leading zeros removed.
std::string HexToBinaryDigits(std::string_view hex);

/// The low `bits` bits of a pattern.
std::uint64_t MaskToWidth(std::uint64_t pattern, int bits);

/// Binary digits of the W-bit pattern without leading zeros ("" for zero).
std::string FormatBinary(std::uint64_t pattern, int bits);
/// Octal writing of the W-bit pattern as an unsigned number ("0" for zero).
std::string FormatOctal(std::uint64_t pattern, int bits);
/// Hexadecimal writing in capitals of the W-bit pattern as an unsigned number.
std::string FormatHex(std::uint64_t pattern, int bits);
/// Decimal reading of the W-bit pattern: two's complement when signed.
std::string FormatDecimal(std::uint64_t pattern, int bits, bool isSigned);

/// The empty test of a Decimal text: true when the decimal number read from the
/// start of the text (blanks, sign, digits, fraction, exponent) is zero or there
/// is none, or, in signed mode, when the text is a lone minus sign.
bool DecimalCountsAsEmpty(std::string_view text, bool isSigned);

enum class DecimalRead { kOk, kBadCharacter, kOverflow };

/// Reads a Decimal text of digits with an optional leading '-' (signed mode only)
/// and range-checks it against the width. On success `pattern` is the value
/// modulo 2^bits.
DecimalRead ReadDecimal(std::string_view text, int bits, bool isSigned, std::uint64_t& pattern);

/// True when every character of the text is acceptable for a source of that base
/// (Decimal: digits, and in signed mode a leading '-').
bool CharactersValid(int base, std::string_view text, bool isSigned);

/// The colour pick's start value: the Decimal text read as a C integer would be
/// (blanks, one optional sign, digits up to the first other character),
/// accumulated modulo 2^32 without overflow checks; 0 when there is no number.
std::uint32_t DecimalTextToColorRef(std::string_view text);

/// A colour value written as the colour pick writes it: signed decimal ("%d").
std::string ColorRefToDecimalText(std::uint32_t colorRef);

}  // namespace radixpad
