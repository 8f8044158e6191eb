// The words of the float and character views. The console and the machine-
// readable output use the English texts; the window fills a ViewTexts from
// String.dat, walking kViewTextKeys.
#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace radixpad {

enum class ViewText : std::size_t {
  // Float view
  kFloatLine,  // %1 format, %2 class, %3 sign bit, %4 exponent bits, %5 unbiased exponent,
               // %6 fraction bits, %7 shortest decimal, %8 hexadecimal form
  kFloatNoFormat,
  kBinary16,
  kBinary32,
  kBinary64,
  kFloatZero,
  kFloatSubnormal,
  kFloatNormal,
  kFloatInfinity,
  kFloatQuietNan,
  kFloatSignallingNan,
  kFloatNanPayload,  // %1 the NaN's class, %2 its payload
  // Character view
  kCharAscii,   // %1 what the byte shows
  kCharLatin1,  // %1 what the byte shows
  kCharUtf16,   // %1 the code unit and what it shows
  kCharNoCodePoint,
  kCharUtf8,      // %1 the bytes, %2 what they encode
  kCharOverlong,  // %1 the code point encoded
  kCharEncodedSurrogate,
  kCharOutOfRange,
  kCharBoth,     // %1 the code point reading, %2 the UTF-8 reading
  kCharNamed,    // %1 short name, %2 class
  kCharUnnamed,  // %1 class
  kCharControl,
  kCharFormat,
  kCharBidiControl,
  kCharSpace,
  kCharLineSeparator,
  kCharParagraphSeparator,
  kCharCombining,
  kCharIgnorable,
  kCharUnassigned,
  kCharPrivateUse,
  kCharNoncharacter,
  kCharSurrogate,
  kCharLoneSurrogate,
  kCount
};

inline constexpr std::size_t kViewTextCount = static_cast<std::size_t>(ViewText::kCount);

/// Where a view text lives in String.dat, and its English text.
struct ViewTextKey {
  const char* section;
  const char* key;
  const char* english;
};

/// By ViewText value.
extern const std::array<ViewTextKey, kViewTextCount> kViewTextKeys;

/// A full set of view texts, English until Set replaces one.
class ViewTexts {
 public:
  ViewTexts();
  const std::string& Get(ViewText id) const { return texts_[static_cast<std::size_t>(id)]; }
  void Set(ViewText id, std::string_view text) { texts_[static_cast<std::size_t>(id)] = text; }
  /// One shared English set.
  static const ViewTexts& English();

 private:
  std::array<std::string, kViewTextCount> texts_;
};

/// The template with %1 to %9 replaced by the arguments in one pass (an
/// argument's own % signs stay as they are); a %n without an argument stays.
std::string FillTemplate(std::string_view pattern, std::initializer_list<std::string_view> args);

}  // namespace radixpad
