// `radixpad --print`: options, exit statuses and what each value prints.
#include "print_command.h"

#include <gtest/gtest.h>

#include <sstream>

#include "radix_rules.h"

namespace radixpad {
namespace {

struct PrintRun {
  int status;
  std::string out, err;
};

PrintRun Print(const std::vector<std::string>& arguments) {
  std::ostringstream out, err;
  const int status = RunPrintCommand(arguments, out, err, "9.9.9");
  return {status, out.str(), err.str()};
}

TEST(PrintCommand, MarkersPickTheRow) {
  const std::pair<const char*, int> cases[] = {
      {"0b101", kBinary},
      {"0B101", kBinary},
      {"0o17", kOctal},
      {"0x1f", kHexadecimal},
      {"#ff", kHexadecimal},
      {"7Fh", kHexadecimal},
      {" 0xff ", kHexadecimal},
      {"255", kDecimal},
      {"-5", kDecimal},
      {"0", kDecimal},
      {"0b", kBinary},
      {"h", kHexadecimal},
      {"\u00a00x10\u202f", kHexadecimal},
  };
  for (const auto& [value, base] : cases) EXPECT_EQ(BaseOfMarkedValue(value), base) << value;
}

TEST(PrintCommand, StatusOutputAndReasonPerValue) {
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string out;
    std::string errPart;  // what the error output must hold ("" for none)
  };
  const std::string rows255 = "Binary\t11111111\nOctal\t377\nDecimal\t255\nHexadecimal\tFF\n";
  const Case cases[] = {
      {{"255"}, 0, rows255, ""},
      {{"--width", "8", "--unsigned", "0xff"}, 0, rows255, ""},
      {{"--width=8", "--signed", "0xff"}, 0, "Binary\t11111111\nOctal\t377\nDecimal\t-1\nHexadecimal\tFF\n", ""},
      {{"--base", "hex", "00ff"}, 0, "Binary\t11111111\nOctal\t377\nDecimal\t255\nHexadecimal\t00FF\n", ""},
      {{"1", "2"},
       0,
       "Binary\t1\nOctal\t1\nDecimal\t1\nHexadecimal\t1\n\nBinary\t10\nOctal\t2\nDecimal\t2\nHexadecimal\t2\n",
       ""},
      {{"--", "-1", "--width"},
       1,
       "Binary\t11111111111111111111111111111111\nOctal\t37777777777\nDecimal\t-1\n"
       "Hexadecimal\tFFFFFFFF\n",
       "'--width' cannot be read"},
      // Refused values print nothing and say why, naming the value; the others still print.
      {{"--width", "8", "300", "1"}, 1, "Binary\t1\nOctal\t1\nDecimal\t1\nHexadecimal\t1\n", "'300' does not fit"},
      {{"--width", "8", "0x1ff"}, 1, "", "'0x1ff' does not fit"},
      {{"abc"}, 1, "", "'abc' cannot be read"},
      {{"1,000"}, 1, "", "'1,000' cannot be read"},
      {{"--unsigned", "--", "-5"}, 1, "", "'-5' cannot be read"},
      {{"0x"}, 1, "", "'0x' cannot be read"},
      // Bad usage.
      {{}, 2, "", "no VALUE"},
      {{"--width", "7", "1"}, 2, "", "--width takes"},
      {{"--width"}, 2, "", "--width needs a value"},
      {{"--base", "dez", "1"}, 2, "", "--base takes"},
      {{"--colour", "1"}, 2, "", "unknown option"},
      {{"--json=1", "1"}, 2, "", "unknown option"},
      {{"--help"}, 0, "", ""},
      {{"1", "--version"}, 0, "radixpad 9.9.9\n", ""},
  };
  for (const Case& c : cases) {
    std::string trace;
    for (const std::string& a : c.arguments) trace += a + ' ';
    SCOPED_TRACE(trace);
    const PrintRun run = Print(c.arguments);
    EXPECT_EQ(run.status, c.status);
    if (c.arguments == std::vector<std::string>{"--help"}) {
      EXPECT_EQ(run.out, PrintUsage());
      continue;
    }
    EXPECT_EQ(run.out, c.out);
    if (c.errPart.empty()) {
      EXPECT_EQ(run.err, "");
    } else {
      EXPECT_NE(run.err.find(c.errPart), std::string::npos) << run.err;
    }
    if (c.status == 2) {
      EXPECT_NE(run.err.find("Usage:"), std::string::npos);
    }
  }
}

TEST(PrintCommand, JsonIsOneAsciiObjectPerValue) {
  const PrintRun run = Print({"--json", "--width", "16", "0xff",
                              "\xE2\x88\x92"
                              "2",
                              "\"q\""});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out,
            "{\"input\": \"0xff\", \"width\": 16, \"signed\": true, \"binary\": \"11111111\", \"octal\": \"377\", "
            "\"decimal\": \"255\", \"hexadecimal\": \"FF\", \"float\": {\"format\":\"binary16\",\"class\":"
            "\"subnormal\",\"sign\":0,\"exponent\":\"00000\",\"exponentValue\":-14,\"fraction\":\"0011111111\","
            "\"payload\":null,\"decimal\":\"1.52e-05\",\"hex\":\"0x0.3fcp-14\"}, \"char\": \"UTF-16 U+00FF \\u00ff\"}\n"
            "{\"input\": \"\\u22122\", \"width\": 16, \"signed\": true, \"binary\": \"1111111111111110\", "
            "\"octal\": \"177776\", \"decimal\": \"-2\", \"hexadecimal\": \"FFFE\", \"float\": {\"format\":"
            "\"binary16\",\"class\":\"quiet-nan\",\"sign\":1,\"exponent\":\"11111\",\"exponentValue\":16,"
            "\"fraction\":\"1111111110\",\"payload\":\"0x1FE\",\"decimal\":\"-nan\",\"hex\":\"-nan\"}, "
            "\"char\": \"UTF-16 U+FFFE (noncharacter)\"}\n");
  EXPECT_NE(run.err.find("'\"q\"' cannot be read"), std::string::npos);
  // No float at 8 bits; the character view's line escaped to ASCII.
  const PrintRun byte = Print({"--json", "--width", "8", "--unsigned", "233"});
  EXPECT_NE(byte.out.find(", \"float\": null, \"char\": \"Latin-1 \\u00e9\"}\n"), std::string::npos) << byte.out;
}

}  // namespace
}  // namespace radixpad
