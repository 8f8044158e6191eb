#include "view_texts.h"

#include <gtest/gtest.h>

#include <string>

#include "char_view.h"
#include "float_view.h"

namespace radixpad {
namespace {

TEST(ViewTexts, FillTemplateReplacesEachPlaceholderOnce) {
  const struct {
    const char* pattern;
    const char* expected;
  } cases[] = {
      {"%1 and %2", "a and b%2"},  // an argument's own %2 is not filled again
      {"%2 before %1", "b%2 before a"},
      {"%3 stays, %0 too, 100%", "%3 stays, %0 too, 100%"},
      {"%1%1", "aa"},
  };
  for (const auto& c : cases) EXPECT_EQ(FillTemplate(c.pattern, {"a", "b%2"}), c.expected) << c.pattern;
}

// With every text replaced, no English word is left in a line: each text is
// "#Key(" followed by its placeholders in order.
TEST(ViewTexts, EveryWordOfTheLinesComesFromTheTexts) {
  ViewTexts texts;
  for (std::size_t i = 0; i < kViewTextCount; ++i) {
    std::string marked = std::string("#") + kViewTextKeys[i].key + "(";
    const std::string english = kViewTextKeys[i].english;
    for (char n = '1'; n <= '9'; ++n) {
      if (english.find(std::string("%") + n) != std::string::npos) marked += std::string(n > '1' ? "|%" : "%") + n;
    }
    texts.Set(static_cast<ViewText>(i), marked + ")");
  }
  const struct {
    std::string line;
    const char* expected;
  } cases[] = {
      {FormatFloatLine(DescribeFloat(0x7FC00001, 32), texts),
       "#Line(#Binary32()|#NaNPayload(#QuietNaN()|0x1)|0|11111111|128|10000000000000000000001|nan|nan)"},
      {FormatFloatLine(DescribeFloat(0x3C00, 16), texts), "#Line(#Binary16()|#Normal()|0|01111|0|0000000000|1|0x1p+0)"},
      {FormatFloatLine(DescribeFloat(0, 8), texts), "#NoFormat()"},
      {FormatCharLine(DescribeChar(0x0A, 8), texts), "#Ascii(#Named(LF|#Control()))"},
      {FormatCharLine(DescribeChar(0xE9, 8), texts), "#Latin1(\u00e9)"},
      {FormatCharLine(DescribeChar(0xD800, 16), texts), "#Utf16(U+D800 #Unnamed(#LoneSurrogate()))"},
      {FormatCharLine(DescribeChar(0xE282AC, 32), texts), "#Both(#NoCodePoint()|#Utf8(E2 82 AC|U+20AC \u20ac))"},
      {FormatCharLine(DescribeChar(0xC080, 32), texts), "#Both(U+C080 \uc080|#Utf8(C0 80|#Overlong(U+0000)))"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.line, c.expected);
}

}  // namespace
}  // namespace radixpad
