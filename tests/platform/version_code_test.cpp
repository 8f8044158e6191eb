#include "version_code.h"

#include <gtest/gtest.h>

#include "common_lib.h"

namespace radixpad {
namespace {

struct VersionCase {
  const char* name;
  uint32_t platformId, major, minor, build;
  int code;
};

const VersionCase kVersionCases[] = {
    // 9x line, minor below 10: build decides.
    {"Win95", 1, 4, 0, 950, 1},
    {"Win95BuildBelow950", 1, 4, 0, 949, 0},
    {"Win95Sp1LowEdge", 1, 4, 0, 951, 2},
    {"Win95Sp1Build1000", 1, 4, 0, 1000, 2},
    {"Win95Sp1HighEdge", 1, 4, 0, 1080, 2},
    {"Win95Osr2Build1081", 1, 4, 0, 1081, 3},
    {"Win95Minor9", 1, 4, 9, 1111, 3},
    {"Win95BuildHighBitsIgnored", 1, 4, 0, 0x040003B6u, 1},  // low word 950
    // 9x line, minor 10.
    {"Win98", 1, 4, 10, 1998, 4},
    {"Win98BuildBelow1998", 1, 4, 10, 1997, 0},
    {"Win98Sp1LowEdge", 1, 4, 10, 1999, 5},
    {"Win98Sp1HighEdge", 1, 4, 10, 2182, 5},
    {"Win98SeLowEdge", 1, 4, 10, 2183, 6},
    {"Win98SeBuild2222", 1, 4, 10, 2222, 6},
    {"Win98SeBuildHighBitsIgnored", 1, 4, 10, 0x0A0A0000u + 2222, 6},
    // 9x line, other minors and majors.
    {"WinMe", 1, 4, 90, 3000, 7},
    {"WinMeAnyBuild", 1, 4, 90, 0, 7},
    {"Win9xMinor11", 1, 4, 11, 2222, 0},
    {"Win9xMinor50", 1, 4, 50, 2222, 0},
    {"Win9xMajor3", 1, 3, 0, 950, 0},
    {"Win9xMajor5", 1, 5, 0, 950, 0},
    // NT line.
    {"Nt351", 2, 3, 51, 1057, 101},
    {"Nt350TakenForXp", 2, 3, 50, 807, 104},
    {"Nt4", 2, 4, 0, 1381, 102},
    {"Nt41TakenForXp", 2, 4, 1, 0, 104},
    {"Win2000", 2, 5, 0, 2195, 103},
    {"WinXp", 2, 5, 1, 2600, 104},
    {"Server2003", 2, 5, 2, 3790, 105},
    {"Nt53TakenForXp", 2, 5, 3, 0, 104},
    {"Vista", 2, 6, 0, 6000, 107},
    {"Win7", 2, 6, 1, 7601, 107},
    {"Win81", 2, 6, 3, 9600, 107},
    {"Nt10TakenForXp", 2, 10, 0, 19045, 104},
    {"Nt7TakenForXp", 2, 7, 0, 0, 104},
    {"NtMajor2TakenForXp", 2, 2, 0, 0, 104},
    {"NtMajor0TakenForXp", 2, 0, 0, 0, 104},
    // Others.
    {"WinCe", 3, 5, 0, 0, 201},
    {"WinCeAnyVersion", 3, 0, 99, 12345, 201},
    {"Win32s", 0, 4, 0, 950, 0},
    {"UnknownPlatform4", 4, 6, 1, 7601, 0},
};

class VersionCodeTest : public testing::TestWithParam<VersionCase> {};

TEST_P(VersionCodeTest, Classifies) {
  const VersionCase& c = GetParam();
  EXPECT_EQ(ClassifyWindowsVersion(c.platformId, c.major, c.minor, c.build), c.code)
      << "platform " << c.platformId << " version " << c.major << "." << c.minor << " build " << c.build;
}

INSTANTIATE_TEST_SUITE_P(Table, VersionCodeTest, testing::ValuesIn(kVersionCases),
                         [](const testing::TestParamInfo<VersionCase>& info) { return info.param.name; });

TEST(VersionCode, NoCode106Anywhere) {
  for (uint32_t platform = 0; platform <= 4; ++platform)
    for (uint32_t major = 0; major <= 11; ++major)
      for (uint32_t minor : {0u, 1u, 2u, 3u, 9u, 10u, 51u, 90u, 91u})
        for (uint32_t build : {0u, 950u, 1080u, 1998u, 2183u, 65535u})
          ASSERT_NE(ClassifyWindowsVersion(platform, major, minor, build), 106);
}

TEST(VersionCode, LinuxReportsNoVersion) {
  EXPECT_EQ(GetWindowsVersionCode(), 0);
  EXPECT_EQ(CCommonLib().WindowsVersionCode(), 0);
}

}  // namespace
}  // namespace radixpad
