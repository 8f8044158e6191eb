// One parse-and-cross-update at 64 bits, from rows of different lengths; the
// float and character view lines; and a keystroke's engine work with both views.
#include <benchmark/benchmark.h>

#include <string>

#include "char_view.h"
#include "float_view.h"
#include "radix_rules.h"
#include "simulated_controls.h"

namespace radixpad {
namespace {

void BM_ParseAndCrossUpdate(benchmark::State& state, int base, std::string text) {
  CSimulatedConverter sim;
  sim.SelectWidth(3);
  sim.SelectSigned(false);
  sim.Write(base, text);
  for (auto _ : state) {
    sim.Converter().ParseAndCrossUpdate(base);
    benchmark::DoNotOptimize(sim.fields[0].Text());
  }
}

BENCHMARK_CAPTURE(BM_ParseAndCrossUpdate, Binary64Digits, kBinary, std::string(64, '1'));
BENCHMARK_CAPTURE(BM_ParseAndCrossUpdate, Decimal20Digits, kDecimal, std::string("18446744073709551615"));
BENCHMARK_CAPTURE(BM_ParseAndCrossUpdate, Hexadecimal16Digits, kHexadecimal, std::string("FEDCBA9876543210"));
BENCHMARK_CAPTURE(BM_ParseAndCrossUpdate, Binary1Digit, kBinary, std::string("1"));
BENCHMARK_CAPTURE(BM_ParseAndCrossUpdate, Decimal1Digit, kDecimal, std::string("7"));
BENCHMARK_CAPTURE(BM_ParseAndCrossUpdate, Hexadecimal1Digit, kHexadecimal, std::string("F"));

// The float view's line; binary16's shortest decimal has its own search.
void BM_FloatViewLine(benchmark::State& state, int bits, std::uint64_t pattern) {
  for (auto _ : state) benchmark::DoNotOptimize(FormatFloatLine(DescribeFloat(pattern, bits)));
}

BENCHMARK_CAPTURE(BM_FloatViewLine, Binary16Third, 16, 0x3555);
BENCHMARK_CAPTURE(BM_FloatViewLine, Binary16Subnormal, 16, 0x0001);
BENCHMARK_CAPTURE(BM_FloatViewLine, Binary32Tenth, 32, 0x3DCCCCCD);
BENCHMARK_CAPTURE(BM_FloatViewLine, Binary64Tenth, 64, 0x3FB999999999999A);
BENCHMARK_CAPTURE(BM_FloatViewLine, Binary64QuietNan, 64, 0x7FF8000000000001);

void BM_CharViewLine(benchmark::State& state, int bits, std::uint64_t pattern) {
  for (auto _ : state) benchmark::DoNotOptimize(FormatCharLine(DescribeChar(pattern, bits)));
}

BENCHMARK_CAPTURE(BM_CharViewLine, ByteControl, 8, 0x0A);
BENCHMARK_CAPTURE(BM_CharViewLine, CodePointCombining, 32, 0x0301);
BENCHMARK_CAPTURE(BM_CharViewLine, CodePointAndUtf8, 32, 0xC3A9);

void BM_KeystrokeWithBothViews(benchmark::State& state, int widthIndex, std::string hex) {
  CSimulatedConverter sim;
  sim.SelectWidth(widthIndex);
  sim.Write(kHexadecimal, hex);
  CConverter& conv = sim.Converter();
  for (auto _ : state) {
    conv.ParseAndCrossUpdate(kHexadecimal);
    benchmark::DoNotOptimize(FormatFloatLine(conv.FloatView()));
    benchmark::DoNotOptimize(FormatCharLine(conv.CharView()));
  }
}

BENCHMARK_CAPTURE(BM_KeystrokeWithBothViews, Width16, 1, std::string("3555"));
BENCHMARK_CAPTURE(BM_KeystrokeWithBothViews, Width64, 3, std::string("3FB999999999999A"));

}  // namespace
}  // namespace radixpad

BENCHMARK_MAIN();
