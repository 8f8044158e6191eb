#include "char_view.h"

#include <algorithm>

#include "radix_rules.h"

namespace radixpad {

namespace {

constexpr char32_t kLastCodePoint = 0x10FFFF;

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

ViewText TextOfClass(CharClass c) {
  switch (c) {
    case CharClass::kControl:
      return ViewText::kCharControl;
    case CharClass::kFormat:
      return ViewText::kCharFormat;
    case CharClass::kBidiControl:
      return ViewText::kCharBidiControl;
    case CharClass::kSpace:
      return ViewText::kCharSpace;
    case CharClass::kLineSeparator:
      return ViewText::kCharLineSeparator;
    case CharClass::kParagraphSeparator:
      return ViewText::kCharParagraphSeparator;
    case CharClass::kCombining:
      return ViewText::kCharCombining;
    case CharClass::kIgnorable:
      return ViewText::kCharIgnorable;
    case CharClass::kUnassigned:
      return ViewText::kCharUnassigned;
    case CharClass::kPrivateUse:
      return ViewText::kCharPrivateUse;
    case CharClass::kNoncharacter:
      return ViewText::kCharNoncharacter;
    case CharClass::kSurrogate:
    case CharClass::kGraphic:
      break;
  }
  return ViewText::kCharSurrogate;
}

// The character itself when it is visible, otherwise its short name and class
// or its class alone: never a character that could hide or move text.
void AppendShown(std::string& out, char32_t c, CharClass cls, const ViewTexts& texts, bool loneSurrogate = false) {
  if (cls == CharClass::kGraphic) {
    AppendUtf8(out, c);
    return;
  }
  const std::string& className = texts.Get(loneSurrogate ? ViewText::kCharLoneSurrogate : TextOfClass(cls));
  const std::string_view name = ShortNameOf(c);
  out += name.empty() ? FillTemplate(texts.Get(ViewText::kCharUnnamed), {className})
                      : FillTemplate(texts.Get(ViewText::kCharNamed), {name, className});
}

// "U+20AC €", "U+0000 NUL (control)".
std::string CodePointAndShown(char32_t c, CharClass cls, const ViewTexts& texts, bool loneSurrogate = false) {
  std::string out = CodePointName(c);
  out.push_back(' ');
  AppendShown(out, c, cls, texts, loneSurrogate);
  return out;
}

// Reads the bytes as one UTF-8 sequence, with the lead bytes of the old five-
// and six-byte forms, so that their encodings can be named too.
void ReadUtf8(CharDescription& d) {
  const std::uint8_t lead = d.utf8Bytes[0];
  int length = 0;
  if (lead >= 0xC0 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF7) {
    length = 4;
  } else if (lead >= 0xF8 && lead <= 0xFB) {
    length = 5;
  } else if (lead >= 0xFC && lead <= 0xFD) {
    length = 6;
  }
  if (length == 0 || length != d.utf8Length) return;
  char32_t value = lead & (0x7F >> length);
  for (int i = 1; i < length; ++i) {
    const std::uint8_t b = d.utf8Bytes[static_cast<std::size_t>(i)];
    if ((b & 0xC0) != 0x80) return;
    value = (value << 6) | (b & 0x3F);
  }
  d.utf8CodePoint = value;
  const int shortest = value < 0x80        ? 1
                       : value < 0x800     ? 2
                       : value < 0x10000   ? 3
                       : value < 0x200000  ? 4
                       : value < 0x4000000 ? 5
                                           : 6;
  if (length > shortest) {
    d.utf8 = Utf8Reading::kOverlong;
  } else if (value >= 0xD800 && value <= 0xDFFF) {
    d.utf8 = Utf8Reading::kSurrogate;
  } else if (value > kLastCodePoint) {
    d.utf8 = Utf8Reading::kOutOfRange;
  } else {
    d.utf8 = Utf8Reading::kValid;
    d.utf8Class = ClassOfCodePoint(value);
  }
}

}  // namespace

CharClass ClassOfCodePoint(char32_t codePoint) {
  const auto it = std::upper_bound(kHiddenRanges.begin(), kHiddenRanges.end(), codePoint,
                                   [](char32_t c, const CodePointRange& r) { return c < r.first; });
  if (it == kHiddenRanges.begin()) return CharClass::kGraphic;
  const CodePointRange& r = *(it - 1);
  return codePoint <= r.last ? r.charClass : CharClass::kGraphic;
}

std::string_view ShortNameOf(char32_t codePoint) {
  const auto it = std::lower_bound(kShortNames.begin(), kShortNames.end(), codePoint,
                                   [](const ShortName& n, char32_t c) { return n.codePoint < c; });
  return it != kShortNames.end() && it->codePoint == codePoint ? it->name : std::string_view();
}

std::string CodePointName(char32_t codePoint) {
  const std::string digits = FormatHex(codePoint, 32);
  std::string out = "U+";
  if (digits.size() < 4) out.append(4 - digits.size(), '0');
  return out + digits;
}

CharDescription DescribeChar(std::uint64_t pattern, int bits) {
  CharDescription d;
  if (bits != 8 && bits != 16 && bits != 32 && bits != 64) return d;
  d.bits = bits;
  pattern = MaskToWidth(pattern, bits);
  d.hasCodePoint = pattern <= kLastCodePoint;
  if (d.hasCodePoint) {
    d.codePoint = static_cast<char32_t>(pattern);
    d.charClass = ClassOfCodePoint(d.codePoint);
  }
  if (bits >= 32) {
    int length = 0;
    for (std::uint64_t rest = pattern; rest != 0; rest >>= 8) ++length;
    if (length >= 2) {
      d.utf8Length = length;
      for (int i = 0; i < length; ++i) {
        d.utf8Bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(pattern >> (8 * (length - 1 - i)));
      }
      ReadUtf8(d);
    }
  }
  return d;
}

std::string FormatCharLine(const CharDescription& d, const ViewTexts& texts) {
  if (d.bits == 8) {
    std::string shown;
    AppendShown(shown, d.codePoint, d.charClass, texts);
    return FillTemplate(texts.Get(d.codePoint < 0x80 ? ViewText::kCharAscii : ViewText::kCharLatin1), {shown});
  }
  if (d.bits == 16) {
    return FillTemplate(texts.Get(ViewText::kCharUtf16),
                        {CodePointAndShown(d.codePoint, d.charClass, texts, d.charClass == CharClass::kSurrogate)});
  }
  if (d.bits == 0) return {};
  const std::string point =
      d.hasCodePoint ? CodePointAndShown(d.codePoint, d.charClass, texts) : texts.Get(ViewText::kCharNoCodePoint);
  if (d.utf8 == Utf8Reading::kNone) return point;
  std::string bytes;
  for (int i = 0; i < d.utf8Length; ++i) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::uint8_t b = d.utf8Bytes[static_cast<std::size_t>(i)];
    if (i > 0) bytes.push_back(' ');
    bytes.push_back(kHex[b >> 4]);
    bytes.push_back(kHex[b & 0xF]);
  }
  std::string reading;
  switch (d.utf8) {
    case Utf8Reading::kValid:
      reading = CodePointAndShown(d.utf8CodePoint, d.utf8Class, texts);
      break;
    case Utf8Reading::kOverlong:
      reading = FillTemplate(texts.Get(ViewText::kCharOverlong), {CodePointName(d.utf8CodePoint)});
      break;
    case Utf8Reading::kSurrogate:
      reading = FillTemplate(texts.Get(ViewText::kCharEncodedSurrogate), {CodePointName(d.utf8CodePoint)});
      break;
    case Utf8Reading::kOutOfRange:
    case Utf8Reading::kNone:
      reading = FillTemplate(texts.Get(ViewText::kCharOutOfRange), {CodePointName(d.utf8CodePoint)});
      break;
  }
  return FillTemplate(texts.Get(ViewText::kCharBoth),
                      {point, FillTemplate(texts.Get(ViewText::kCharUtf8), {bytes, reading})});
}

}  // namespace radixpad
