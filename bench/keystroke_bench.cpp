// One keystroke in the Decimal row of a real (offscreen) main window at
// 64 bits, until the other three rows are rewritten; with the bit grid and the
// float and character views hidden, and shown.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include "bit_grid_panel.h"
#include "converter_dlg.h"
#include "digit_edit.h"
#include "radix_rules.h"

namespace radixpad {
namespace {

// Shows the window, lets its start-up tick run and chooses 64 bits.
void ShowAt64Bits(CConverterDlg& window) {
  window.show();
  while (window.StartupTimerActive()) QApplication::processEvents();
  window.Converter().SetWidth(3);
}

void BM_DecimalKeystroke(benchmark::State& state) {
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  CConverterDlg window(QStringLiteral(RADIXPAD_BENCH_PROGRAM_DIR));
  ShowAt64Bits(window);
  CDigitEdit* decimal = window.FieldOfBase(kDecimal);
  CDigitEdit* hex = window.FieldOfBase(kHexadecimal);
  QTest::keyClicks(decimal, "1234567890123456");
  for (auto _ : state) {
    const QString before = hex->text();
    QTest::keyClick(decimal, Qt::Key_7);
    while (hex->text() == before) QApplication::processEvents();
    state.PauseTiming();
    QTest::keyClick(decimal, Qt::Key_Backspace);
    state.ResumeTiming();
  }
  if (decimal->text() != "1234567890123456") state.SkipWithError("the Decimal row lost its text");
}
BENCHMARK(BM_DecimalKeystroke)->Unit(benchmark::kMicrosecond);

// The same keystroke at 64 bits with the panels under the rows (first
// argument: 0 none, 1 the bit grid, 2 the bit grid and the float and character
// views), until the rows are rewritten and every shown panel shows the new
// pattern (they follow a typed change before the keystroke returns). Every
// event the keystroke leaves behind, the repainting of the window among them,
// is handled untimed (second argument 0) or timed (1). Unlike the benchmark
// above, each keystroke starts from a painted window.
void BM_DecimalKeystrokeWithPanels(benchmark::State& state) {
  const bool grid = state.range(0) >= 1;
  const bool views = state.range(0) == 2;
  const bool timePainting = state.range(1) == 1;
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  CConverterDlg window(QStringLiteral(RADIXPAD_BENCH_PROGRAM_DIR));
  ShowAt64Bits(window);
  window.SetBitGridShown(grid);
  window.SetFloatViewShown(views);
  window.SetCharViewShown(views);
  CDigitEdit* decimal = window.FieldOfBase(kDecimal);
  CDigitEdit* hex = window.FieldOfBase(kHexadecimal);
  QTest::keyClicks(decimal, "1234567890123456");
  QApplication::processEvents();
  for (auto _ : state) {
    const QString before = hex->text();
    const QString floatBefore = views ? window.FloatLine()->text() : QString();
    QTest::keyClick(decimal, Qt::Key_7);
    while (hex->text() == before) QApplication::processEvents();
    if (timePainting) QApplication::processEvents();
    state.PauseTiming();
    // (Above U+10FFFF the character view's line stays "not a code point".)
    if ((grid && !window.BitGrid()->BitButton(0)->isChecked()) ||
        (views && window.FloatLine()->text() == floatBefore)) {
      state.SkipWithError("a panel did not follow");
      break;
    }
    QApplication::processEvents();
    QTest::keyClick(decimal, Qt::Key_Backspace);
    QApplication::processEvents();
    state.ResumeTiming();
  }
  if (decimal->text() != "1234567890123456") state.SkipWithError("the Decimal row lost its text");
  if (grid && (window.BitGrid() == nullptr || window.BitGrid()->Bits() != 64))
    state.SkipWithError("no grid at 64 bits");
}
BENCHMARK(BM_DecimalKeystrokeWithPanels)
    ->ArgNames({"panels", "painting"})
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

// What showing the bit grid costs the first time, at 64 bits: building its
// 64 bits, laying them out and painting the grown window once.
void BM_FirstShowOfTheBitGrid(benchmark::State& state) {
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  for (auto _ : state) {
    state.PauseTiming();
    {
      CConverterDlg window(QStringLiteral(RADIXPAD_BENCH_PROGRAM_DIR));
      window.show();
      while (window.StartupTimerActive()) QApplication::processEvents();
      window.Converter().SetWidth(3);
      QApplication::processEvents();
      state.ResumeTiming();
      window.SetBitGridShown(true);
      QApplication::processEvents();
      state.PauseTiming();
      window.SetBitGridShown(false);
    }
    QApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_FirstShowOfTheBitGrid)->Unit(benchmark::kMicrosecond)->Iterations(30);

}  // namespace
}  // namespace radixpad

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir runtime;
  qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
