#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

#include "ini_store.h"
#include "test_environment.h"

namespace radixpad {
namespace {

std::unique_ptr<QProcess> StartHelper(const QStringList& arguments) {
  auto process = std::make_unique<QProcess>();
  process->setProcessChannelMode(QProcess::ForwardedChannels);
  process->start(test::TestExecutable(), arguments);
  return process;
}

std::unique_ptr<QProcess> StartWriter(const QString& file, const QString& section, const QString& prefix, int count) {
  return StartHelper({QStringLiteral("--ini-writer"), file, section, prefix, QString::number(count)});
}

std::unique_ptr<QProcess> StartSaver(const QString& file, const QString& tag, int count) {
  return StartHelper({QStringLiteral("--ini-saver"), file, tag, QString::number(count)});
}

// Calls `check` over and over while any of `processes` runs; returns how often, and how
// often it said false.
std::pair<int, int> CheckWhileRunning(const std::vector<QProcess*>& processes, const std::function<bool()>& check) {
  int calls = 0;
  int failed = 0;
  while (std::any_of(processes.begin(), processes.end(),
                     [](QProcess* process) { return process->state() != QProcess::NotRunning; })) {
    failed += !check();
    ++calls;
    for (QProcess* process : processes) process->waitForFinished(0);
  }
  return {calls, failed};
}

void ExpectFinishedCleanly(QProcess& process) {
  if (process.state() != QProcess::NotRunning) {
    ASSERT_TRUE(process.waitForFinished(120000));
  }
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 0) << "failed writes in the writer process";
}

// Two writers of one settings file, each reaching it by its own name. The file lies in
// "dotfiles/"; the names are made by the case's set-up in the same temporary folder.
struct WritersCase {
  const char* name;
  std::function<bool(const QDir& root)> setUp;  // makes the names below
  const char* first;                            // the names the writers use
  const char* second;
};

bool Link(const QDir& root, const char* target, const char* name) {
  return QFile::link(QString::fromLatin1(target), root.filePath(QString::fromLatin1(name)));
}

const WritersCase kWritersCases[] = {
    {"SameName", [](const QDir&) { return true; }, "dotfiles/QyRadixpad.ini", "dotfiles/QyRadixpad.ini"},
    // As a dotfile manager leaves it: the settings folder holds a link to the real file.
    {"ThroughALink",
     [](const QDir& root) {
       return root.mkpath("config") && Link(root, "../dotfiles/QyRadixpad.ini", "config/QyRadixpad.ini");
     },
     "config/QyRadixpad.ini", "dotfiles/QyRadixpad.ini"},
    // Two copies of the program with different XDG_CONFIG_HOME, the second a linked folder.
    {"TwoFoldersOneFile", [](const QDir& root) { return Link(root, "dotfiles", "second"); }, "dotfiles/QyRadixpad.ini",
     "second/QyRadixpad.ini"},
    {"ALinkToALinkInALinkedFolder",
     [](const QDir& root) {
       return root.mkpath("a") && Link(root, "../dotfiles/QyRadixpad.ini", "a/middle.ini") &&
              Link(root, "middle.ini", "a/QyRadixpad.ini") && Link(root, "a", "b");
     },
     "b/QyRadixpad.ini", "dotfiles/QyRadixpad.ini"},
};

class IniWritersTest : public testing::TestWithParam<WritersCase> {};

// Each writer adds its own keys one by one while the other does the same: every key of
// both and every key nobody wrote is there at the end, a link is still a link, and no
// copy is left behind.
TEST_P(IniWritersTest, WritersByAnyNamesLoseNothing) {
  const WritersCase& c = GetParam();
  QTemporaryDir temporary;
  const QDir root(temporary.path());
  ASSERT_TRUE(root.mkpath("dotfiles"));
  ASSERT_TRUE(c.setUp(root));
  const QString real = root.filePath("dotfiles/QyRadixpad.ini");
  QByteArray kept = "[Kept]\n";
  for (int i = 0; i < 20; ++i) kept += "K" + QByteArray::number(i) + "=" + QByteArray::number(i) + "\n";
  test::WriteBytes(real, kept);
  const QString first = root.filePath(QString::fromLatin1(c.first));
  const QString second = root.filePath(QString::fromLatin1(c.second));
  const bool firstIsLink = QFileInfo(first).isSymLink();

  constexpr int kWrites = 200;
  auto a = StartWriter(first, QStringLiteral("General"), QStringLiteral("A"), kWrites);
  auto b = StartWriter(second, QStringLiteral("General"), QStringLiteral("B"), kWrites);
  ASSERT_TRUE(a->waitForStarted() && b->waitForStarted());
  ExpectFinishedCleanly(*a);
  ExpectFinishedCleanly(*b);

  int missing = 0;
  for (int i = 0; i < kWrites; ++i) {
    for (const char* prefix : {"A", "B"}) {
      if (GetIniInt("General", QString::fromLatin1(prefix) + QString::number(i), -1, real) != i) ++missing;
    }
  }
  EXPECT_EQ(missing, 0) << "writes reported done and lost";
  int keptLost = 0;
  for (int i = 0; i < 20; ++i) keptLost += GetIniInt("Kept", "K" + QString::number(i), -1, real) != i;
  EXPECT_EQ(keptLost, 0) << "keys nobody wrote";
  EXPECT_EQ(QFileInfo(first).isSymLink(), firstIsLink);
  EXPECT_EQ(QDir(root.filePath("dotfiles")).entryList(QDir::Files | QDir::Hidden),
            QStringList({"QyRadixpad.ini", "QyRadixpad.ini.lock"}))
      << "the lock lies beside the real file, and copies are gone";
}

INSTANTIATE_TEST_SUITE_P(Names, IniWritersTest, testing::ValuesIn(kWritersCases),
                         [](const testing::TestParamInfo<WritersCase>& info) { return info.param.name; });

// Two copies of the program saving their eleven converter keys into one file (the
// second through a link) never leave a mix of their values, not even for a moment.
TEST(IniConcurrency, TwoSavesNeverMix) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("QyRadixpad.ini"));
  const QString link = dir.filePath(QStringLiteral("link.ini"));
  ASSERT_TRUE(QFile::link(file, link));
  constexpr int kSaves = 150;
  auto a = StartSaver(file, QStringLiteral("a"), kSaves);
  auto b = StartSaver(link, QStringLiteral("b"), kSaves);
  ASSERT_TRUE(a->waitForStarted() && b->waitForStarted());
  const auto [reads, mixed] = CheckWhileRunning({a.get(), b.get()}, [&] {
    const CIniReadBatch once;
    const QString value = GetIniString("General", test::kSaveKeys[0], QString(), file);
    return std::all_of(std::begin(test::kSaveKeys), std::end(test::kSaveKeys), [&](const char* key) {
      return GetIniString("General", QString::fromLatin1(key), QString(), file) == value;
    });
  });
  ExpectFinishedCleanly(*a);
  ExpectFinishedCleanly(*b);
  EXPECT_EQ(mixed, 0) << "of " << reads << " reads";
  const QString last = GetIniString("General", test::kSaveKeys[0], QString(), file);
  EXPECT_TRUE(last == "a" + QString::number(kSaves - 1) || last == "b" + QString::number(kSaves - 1))
      << last.toStdString();
  for (const char* key : test::kSaveKeys) EXPECT_EQ(GetIniString("General", key, QString(), file), last) << key;
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
  const auto [reads, torn] =
      CheckWhileRunning({writer.get()}, [&] { return GetIniInt("End", "Marker", 0, file) == 1; });
  ExpectFinishedCleanly(*writer);
  EXPECT_EQ(torn, 0) << "of " << reads << " reads";
  EXPECT_GT(reads, 10);
  EXPECT_EQ(GetIniInt("Writes", "K199", -1, file), 199);
}

}  // namespace
}  // namespace radixpad
