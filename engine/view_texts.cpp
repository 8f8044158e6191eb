#include "view_texts.h"

namespace radixpad {

namespace {

constexpr ViewTextKey kKeys[] = {
    {"FloatView", "Line", "%1 %2, sign %3, exponent %4 (%5), fraction %6, decimal %7, hex %8"},
    {"FloatView", "NoFormat", "no IEEE format at this width"},
    {"FloatView", "Binary16", "binary16"},
    {"FloatView", "Binary32", "binary32"},
    {"FloatView", "Binary64", "binary64"},
    {"FloatView", "Zero", "zero"},
    {"FloatView", "Subnormal", "subnormal"},
    {"FloatView", "Normal", "normal"},
    {"FloatView", "Infinity", "infinity"},
    {"FloatView", "QuietNaN", "quiet NaN"},
    {"FloatView", "SignallingNaN", "signalling NaN"},
    {"FloatView", "NaNPayload", "%1, payload %2"},
    {"CharView", "Ascii", "ASCII %1"},
    {"CharView", "Latin1", "Latin-1 %1"},
    {"CharView", "Utf16", "UTF-16 %1"},
    {"CharView", "NoCodePoint", "not a code point"},
    {"CharView", "Utf8", "UTF-8 %1: %2"},
    {"CharView", "Overlong", "overlong form of %1"},
    {"CharView", "EncodedSurrogate", "encoded surrogate %1"},
    {"CharView", "OutOfRange", "out of range (%1)"},
    {"CharView", "Both", "%1; %2"},
    {"CharView", "Named", "%1 (%2)"},
    {"CharView", "Unnamed", "(%1)"},
    {"CharView", "Control", "control"},
    {"CharView", "Format", "format character"},
    {"CharView", "BidiControl", "bidi control"},
    {"CharView", "Space", "space"},
    {"CharView", "LineSeparator", "line separator"},
    {"CharView", "ParagraphSeparator", "paragraph separator"},
    {"CharView", "Combining", "combining mark"},
    {"CharView", "Ignorable", "invisible"},
    {"CharView", "Unassigned", "unassigned"},
    {"CharView", "PrivateUse", "private use"},
    {"CharView", "Noncharacter", "noncharacter"},
    {"CharView", "Surrogate", "surrogate"},
    {"CharView", "LoneSurrogate", "lone surrogate"},
};
static_assert(std::size(kKeys) == kViewTextCount, "one key for every ViewText");

}  // namespace

const std::array<ViewTextKey, kViewTextCount> kViewTextKeys = std::to_array(kKeys);

ViewTexts::ViewTexts() {
  for (std::size_t i = 0; i < kViewTextCount; ++i) texts_[i] = kViewTextKeys[i].english;
}

const ViewTexts& ViewTexts::English() {
  static const ViewTexts english;
  return english;
}

std::string FillTemplate(std::string_view pattern, std::initializer_list<std::string_view> args) {
  std::string out;
  std::size_t size = pattern.size();
  for (std::string_view arg : args) size += arg.size();
  out.reserve(size);
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
      const auto n = static_cast<std::size_t>(pattern[i + 1] - '1');
      if (n < args.size()) {
        out += args.begin()[n];
        ++i;
        continue;
      }
    }
    out.push_back(c);
  }
  return out;
}

}  // namespace radixpad
