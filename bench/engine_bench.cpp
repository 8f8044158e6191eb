// One parse-and-cross-update at 64 bits, from rows of different lengths.
#include <benchmark/benchmark.h>

#include <string>

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

}  // namespace
}  // namespace radixpad

BENCHMARK_MAIN();
