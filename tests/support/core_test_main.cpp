#include <gtest/gtest.h>

#include <QCoreApplication>

#include "test_environment.h"

int main(int argc, char** argv) {
  // The concurrency tests re-run this executable as a writer process.
  if (const int helperResult = radixpad::test::RunHelperProcess(argc, argv); helperResult >= 0) {
    return helperResult;
  }
  // The texts are String.dat's English ones, whatever language the user running the tests reads.
  qunsetenv("LC_ALL");
  qunsetenv("LC_MESSAGES");
  qputenv("LANG", "C.UTF-8");
  QCoreApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
