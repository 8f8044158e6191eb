#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "ini_store.h"
#include "test_environment.h"

namespace radixpad {
namespace {

std::unique_ptr<QProcess> StartWriter(const QString& file, const QString& section, const QString& prefix, int count) {
  auto process = std::make_unique<QProcess>();
  process->setProcessChannelMode(QProcess::ForwardedChannels);
  process->start(test::TestExecutable(),
                 {QStringLiteral("--ini-writer"), file, section, prefix, QString::number(count)});
  return process;
}

void ExpectFinishedCleanly(QProcess& process) {
  if (process.state() != QProcess::NotRunning) {
    ASSERT_TRUE(process.waitForFinished(120000));
  }
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 0) << "failed writes in the writer process";
}

TEST(IniConcurrency, TwoProcessesWritingDifferentKeysLoseNothing) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("QyRadixpad.ini"));
  constexpr int kKeysPerProcess = 1000;
  auto first = StartWriter(file, QStringLiteral("General"), QStringLiteral("A"), kKeysPerProcess);
  auto second = StartWriter(file, QStringLiteral("General"), QStringLiteral("B"), kKeysPerProcess);
  ASSERT_TRUE(first->waitForStarted());
  ASSERT_TRUE(second->waitForStarted());
  ExpectFinishedCleanly(*first);
  ExpectFinishedCleanly(*second);

  int missing = 0;
  for (int i = 0; i < kKeysPerProcess; ++i) {
    for (const char* prefix : {"A", "B"}) {
      if (GetIniInt("General", QString::fromLatin1(prefix) + QString::number(i), -1, file) != i) ++missing;
    }
  }
  EXPECT_EQ(missing, 0);
  EXPECT_EQ(test::ReadBytes(file).count('\n'), 2 * kKeysPerProcess + 1);
}

TEST(IniConcurrency, ReaderNeverSeesAHalfWrittenFile) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("QyRadixpad.ini"));
  // A large file with its marker at the very end: a reader of a partly written file
  // would miss the marker.
  QByteArray content = "[Writes]\n[Padding]\n";
  for (int i = 0; content.size() < 2 * 1024 * 1024; ++i)
    content += "Pad" + QByteArray::number(i) + "=xxxxxxxxxxxxxxxx\n";
  content += "[End]\nMarker=1\n";
  test::WriteBytes(file, content);

  auto writer = StartWriter(file, QStringLiteral("Writes"), QStringLiteral("K"), 200);
  ASSERT_TRUE(writer->waitForStarted());
  int reads = 0;
  int torn = 0;
  while (writer->state() != QProcess::NotRunning) {
    if (GetIniInt("End", "Marker", 0, file) != 1) ++torn;
    ++reads;
    writer->waitForFinished(0);
  }
  ExpectFinishedCleanly(*writer);
  EXPECT_EQ(torn, 0) << "of " << reads << " reads";
  EXPECT_GT(reads, 10);
  EXPECT_EQ(GetIniInt("Writes", "K199", -1, file), 199);
}

}  // namespace
}  // namespace radixpad
