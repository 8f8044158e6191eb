// One keystroke in the Decimal row of a real (offscreen) main window at
// 64 bits, until the other three rows are rewritten.
#include <QApplication>
#include <QTest>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "converter_dlg.h"
#include "digit_edit.h"
#include "radix_rules.h"

namespace radixpad {
namespace {

void BM_DecimalKeystroke(benchmark::State& state) {
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  CConverterDlg window(QStringLiteral(RADIXPAD_BENCH_PROGRAM_DIR));
  window.show();
  while (window.StartupTimerActive()) QApplication::processEvents();
  window.Converter().SetWidth(3);
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
