#include "ini_store.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "program_settings.h"
#include "test_environment.h"
#include "unix_socket.h"

namespace radixpad {
namespace {

using test::FileSizeLimit;
// Runs inside rename(2), before the real one, for the test that has the file's place
// taken while a write is under way.
std::function<void()> g_beforeRename;
// Runs inside fsync(2), before the real one: a non-zero answer is the call's errno and the
// real call is skipped.
std::function<int(int fd)> g_onFsync;
}  // namespace
}  // namespace radixpad

// The store replaces a file with rename(2) and syncs with fsync(2); these definitions in
// the test program come first, so a test can watch those steps or make them fail the way
// real ones would.
extern "C" int rename(const char* from, const char* to) noexcept {
  if (radixpad::g_beforeRename) radixpad::g_beforeRename();
  using Rename = int (*)(const char*, const char*);
  static const auto real = reinterpret_cast<Rename>(dlsym(RTLD_NEXT, "rename"));
  return real(from, to);
}

extern "C" int fsync(int fd) {
  if (radixpad::g_onFsync) {
    if (const int error = radixpad::g_onFsync(fd)) {
      errno = error;
      return -1;
    }
  }
  using Fsync = int (*)(int);
  static const auto real = reinterpret_cast<Fsync>(dlsym(RTLD_NEXT, "fsync"));
  return real(fd);
}

namespace radixpad {
namespace {

using test::ReadBytes;
using test::WriteBytes;

class IniStoreTest : public testing::Test {
 protected:
  QString File(const QString& name = QStringLiteral("test.ini")) const { return m_dir.path() + u'/' + name; }
  QString WithContent(const QByteArray& bytes) {
    WriteBytes(File(), bytes);
    return File();
  }
  QTemporaryDir m_dir;
};

struct ReadCase {
  const char* name;
  QByteArray content;
  const char* section;
  const char* key;
  const char* expected;  // the default is "<default>"
};

const QString kDefault = QStringLiteral("<default>");

const ReadCase kReadCases[] = {
    {"Plain", "[General]\nBits=3\n", "General", "Bits", "3"},
    {"NamesIgnoreCase", "[general]\nbits=3\n", "GENERAL", "bItS", "3"},
    {"BlanksAroundNamesAndValue", "  [ General ]  \n \t Bits \t=  a b  \t\n", "General", "Bits", "a b"},
    {"BlanksInRequestedNames", "[General]\nBits=3\n", " General ", " Bits\t", "3"},
    {"DoubleQuotes", "[S]\nK=\"  quoted  \"\n", "S", "K", "  quoted  "},
    {"SingleQuotes", "[S]\nK='q'\n", "S", "K", "q"},
    {"MismatchedQuotesStay", "[S]\nK=\"q'\n", "S", "K", "\"q'"},
    {"LoneQuoteStays", "[S]\nK=\"\n", "S", "K", "\""},
    {"InnerQuotesStay", "[S]\nK=a\"b\"\n", "S", "K", "a\"b\""},
    {"EmptyValue", "[S]\nK=\n", "S", "K", ""},
    {"ValueWithEquals", "[S]\nK=a=b=c\n", "S", "K", "a=b=c"},
    {"MissingKey", "[S]\nK=1\n", "S", "Other", "<default>"},
    {"MissingSection", "[S]\nK=1\n", "T", "K", "<default>"},
    {"KeyOfOtherSection", "[S]\nA=1\n[T]\nK=2\n", "S", "K", "<default>"},
    {"KeyBeforeAnySection", "K=1\n[S]\nA=2\n", "S", "K", "<default>"},
    {"EmptyFile", "", "S", "K", "<default>"},
    {"SemicolonComment", "[S]\n;K=1\nK=2\n", "S", "K", "2"},
    {"HashComment", "[S]\n# K=1\n", "S", "K", "<default>"},
    {"CommentedSection", "[S]\nK=1\n;[T]\nJ=2\n", "S", "J", "2"},
    {"BlankLines", "\n\n[S]\n\n\nK=1\n\n", "S", "K", "1"},
    {"CrLf", "[S]\r\nA=1\r\nK=2\r\n", "S", "K", "2"},
    {"LoneCarriageReturnIsText", "[S]\nK=a\rb\n", "S", "K", "a\rb"},
    {"NoFinalLineEnd", "[S]\nK=last", "S", "K", "last"},
    {"ByteOrderMark", "\xEF\xBB\xBF[S]\nK=1\n", "S", "K", "1"},
    {"DuplicateKeyFirstWins", "[S]\nK=first\nK=second\n", "S", "K", "first"},
    {"DuplicateSectionsMerge", "[S]\nA=1\n[T]\n[S]\nK=2\n", "S", "K", "2"},
    {"LineWithoutEqualsIgnored", "[S]\nK\nK=1\n", "S", "K", "1"},
    {"SectionWithoutClosingBracket", "[S\nK=1\n", "S", "K", "1"},
    {"TextAfterClosingBracket", "[S] trailing\nK=1\n", "S", "K", "1"},
    {"Utf8Value", "[S]\nK=Grüße\n", "S", "K", "Grüße"},
    {"Utf8NamesIgnoreCase", "[ÄRGER]\nÖL=1\n", "ärger", "öl", "1"},
    {"EscapesNotExpanded", "[S]\nK=x\\ny\n", "S", "K", "x\\ny"},
};

class IniReadTest : public IniStoreTest, public testing::WithParamInterface<ReadCase> {};

TEST_P(IniReadTest, ReadsAsTheProfileFunctions) {
  const ReadCase& c = GetParam();
  const QString file = WithContent(c.content);
  EXPECT_EQ(GetIniString(QString::fromUtf8(c.section), QString::fromUtf8(c.key), kDefault, file),
            QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, IniReadTest, testing::ValuesIn(kReadCases),
                         [](const testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

TEST_F(IniStoreTest, LongValuesAreCutTo259Characters) {
  const QByteArray value(300, 'v');
  const QString file = WithContent("[S]\nK=" + value + "\nQ=\"" + value + "\"\n");
  EXPECT_EQ(GetIniString("S", "K", {}, file), QString(259, u'v'));
  EXPECT_EQ(GetIniString("S", "Q", {}, file), QString(259, u'v'));
  WithContent("[S]\nK=" + QByteArray(259, 'v') + "\n");
  EXPECT_EQ(GetIniString("S", "K", {}, file).size(), 259);
}

TEST_F(IniStoreTest, MissingFileGivesDefaultsAndCreatesNothing) {
  const QString file = File(QStringLiteral("missing/none.ini"));
  EXPECT_EQ(GetIniString("S", "K", kDefault, file), kDefault);
  EXPECT_EQ(GetIniText("S", "K", QStringLiteral("a\\nb"), file), QStringLiteral("a\nb"));
  EXPECT_EQ(GetIniInt("S", "K", 42, file), 42);
  EXPECT_EQ(GetIniInt("S", "K", -7, File()), -7);
  EXPECT_FALSE(QFileInfo::exists(File()));
  EXPECT_FALSE(QFileInfo::exists(File(QStringLiteral("missing"))));
}

TEST_F(IniStoreTest, IntegerReads) {
  struct Case {
    QByteArray stored;
    int expected;
  };
  const Case cases[] = {
      {"3", 3},
      {"-1", -1},
      {"+7", 7},
      {"12abc", 12},
      {"abc", 0},
      {"-", 0},
      {"-x5", 0},
      {"  42  ", 42},
      {"\"5\"", 5},
      {"0x10", 0},
      {"007", 7},
      {"1 2", 1},
      {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},
      {"99999999999", INT_MAX},
      {"-99999999999", INT_MIN},
      {"16777215", 0xFFFFFF},
  };
  for (const Case& c : cases) {
    const QString file = WithContent("[S]\nK=" + c.stored + "\n");
    EXPECT_EQ(GetIniInt("S", "K", 99, file), c.expected) << "stored: " << c.stored.constData();
  }
  // An empty value reads as missing.
  EXPECT_EQ(GetIniInt("S", "K", 99, WithContent("[S]\nK=\n")), 99);
  EXPECT_EQ(GetIniInt("S", "K", 99, WithContent("[S]\nK=\"\"\n")), 99);
  EXPECT_EQ(GetIniInt("general", "bits", 2, WithContent("[general]\nbits=3\n")), 3);
}

TEST_F(IniStoreTest, TextEscapes) {
  struct Case {
    const char* stored;
    const char* expected;
  };
  const Case cases[] = {
      {"x\\ny\\tz", "x\ny\tz"},   {"\\n\\n", "\n\n"},     {"a\\\\nb", "a\\\nb"},  // no escape for the backslash itself
      {"a\\Nb\\Tc", "a\\Nb\\Tc"}, {"a\\rb\\", "a\\rb\\"}, {"\\t\\n", "\t\n"},
  };
  for (const Case& c : cases) {
    const QString file = WithContent(QByteArray("[String]\nK=") + c.stored + "\n");
    EXPECT_EQ(GetIniText("String", "K", {}, file), QString::fromUtf8(c.expected)) << c.stored;
    EXPECT_EQ(GetIniString("String", "K", {}, file), QString::fromUtf8(c.stored)) << c.stored;
  }
  EXPECT_EQ(GetLocalizedText("K", WithContent("[String]\nK=a\\tb\n")), QStringLiteral("a\tb"));
  EXPECT_EQ(GetLocalizedText("Missing", File()), QString());
}

TEST_F(IniStoreTest, WindowBehaviourUserValueElseFactoryValue) {
  const QString defaults = File(QStringLiteral("Default.dat"));
  WriteBytes(defaults, "[Quillory Radixpad]\nSnapToDesktopSide=1\n");
  const QString user = File(QStringLiteral("QyRadixpad.ini"));

  EXPECT_EQ(ReadWindowBehaviour("SnapToDesktopSide", user, defaults), 1);
  EXPECT_EQ(ReadWindowBehaviour("AlwaysOnTop", user, defaults), 0);
  WriteIniInt("Quillory Radixpad", "SnapToDesktopSide", 0, user);
  EXPECT_EQ(ReadWindowBehaviour("SnapToDesktopSide", user, defaults), 0);
  WriteIniInt("Quillory Radixpad", "SnapToDesktopSide", -1, user);  // -1: not set
  EXPECT_EQ(ReadWindowBehaviour("SnapToDesktopSide", user, defaults), 1);
  WriteIniInt("Quillory Radixpad", "AlwaysOnTop", 1, user);
  EXPECT_EQ(ReadWindowBehaviour("AlwaysOnTop", user, File(QStringLiteral("none.dat"))), 1);
}

// Writes --------------------------------------------------------------------------

TEST_F(IniStoreTest, WriteCreatesFileSectionAndKey) {
  WriteIniInt("General", "Bits", -5, File());
  EXPECT_EQ(ReadBytes(File()), QByteArray("[General]\nBits=-5\n"));
  WriteIniInt("General", "Signed", 0, File());
  WriteIniInt("Quillory Radixpad", "AlwaysOnTop", 1, File());
  EXPECT_EQ(ReadBytes(File()), QByteArray("[General]\nBits=-5\nSigned=0\n[Quillory Radixpad]\nAlwaysOnTop=1\n"));
  EXPECT_EQ(GetIniInt("General", "Bits", 0, File()), -5);
}

struct WriteCase {
  const char* name;
  QByteArray before;
  const char* section;
  const char* key;
  const char* value;
  QByteArray after;
};

const WriteCase kWriteCases[] = {
    {"ReplaceKeepsEverythingElse", "; settings\n[A]\nx=1\n\n[General]\n# note\n  Bits = 2  \nC1=0\n[B]\ny=2\n",
     "General", "Bits", "3", "; settings\n[A]\nx=1\n\n[General]\n# note\nBits=3\nC1=0\n[B]\ny=2\n"},
    {"ReplaceKeepsTheStoredNameSpelling", "[general]\nbits=1\n", "General", "Bits", "3", "[general]\nbits=3\n"},
    {"ReplaceOnlyTheFirstDuplicate", "[S]\nK=1\nK=2\n", "S", "K", "9", "[S]\nK=9\nK=2\n"},
    {"ReplaceQuotedValue", "[S]\nK=\"a\"\n", "S", "K", "b", "[S]\nK=b\n"},
    {"AppendAfterLastLineOfSection", "[S]\nA=1\n\n\n[T]\nB=2\n", "S", "K", "7", "[S]\nA=1\nK=7\n\n\n[T]\nB=2\n"},
    {"NewKeyGoesIntoTheFirstOfTwoSameNamedSections", "[S]\nA=1\n[T]\nB=2\n[S]\nC=3\n", "S", "K", "7",
     "[S]\nA=1\nK=7\n[T]\nB=2\n[S]\nC=3\n"},
    {"AppendToSectionWithOnlyHeader", "[S]\n[T]\n", "S", "K", "7", "[S]\nK=7\n[T]\n"},
    {"AppendToSectionEndingTheFileWithoutLineEnd", "[S]\nA=1", "S", "K", "7", "[S]\nA=1\nK=7\n"},
    {"AppendSectionToFileWithoutLineEnd", "[S]\nA=1", "T", "K", "7", "[S]\nA=1\n[T]\nK=7\n"},
    {"AppendKeepsTrailingComment", "[S]\nA=1\n; end of S\n\n[T]\n", "S", "K", "7",
     "[S]\nA=1\n; end of S\nK=7\n\n[T]\n"},
    {"CrLfFileGetsCrLfLines", "[S]\r\nA=1\r\n", "S", "K", "7", "[S]\r\nA=1\r\nK=7\r\n"},
    {"CrLfFileNewSection", "[S]\r\nA=1\r\n", "T", "K", "7", "[S]\r\nA=1\r\n[T]\r\nK=7\r\n"},
    {"CrLfReplace", "[S]\r\nK=1\r\nB=2\r\n", "S", "K", "7", "[S]\r\nK=7\r\nB=2\r\n"},
    {"ByteOrderMarkKept", "\xEF\xBB\xBF[S]\nA=1\n", "S", "K", "7", "\xEF\xBB\xBF[S]\nA=1\nK=7\n"},
    {"ByteOrderMarkOnlyFile", "\xEF\xBB\xBF", "S", "K", "7", "\xEF\xBB\xBF[S]\nK=7\n"},
    {"LinesWithoutEqualsSurvive", "[S]\njunk line\nK=1\n", "S", "K", "2", "[S]\njunk line\nK=2\n"},
    {"CommentedKeyIsNotReplaced", "[S]\n;K=1\n", "S", "K", "2", "[S]\n;K=1\nK=2\n"},
    {"NamesAreTrimmedOnWrite", "", " S ", " K ", "1", "[S]\nK=1\n"},
    {"SurrogatePairsAreWhole", "", "S", "K\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80",
     "[S]\nK\xF0\x9F\x98\x80=\xF0\x9F\x98\x80\n"},
    {"ByteOrderMarkInsideAName", "", "S", "K\xEF\xBB\xBF", "1", "[S]\nK\xEF\xBB\xBF=1\n"},
    // What a read would change goes into quotes, which the read takes off.
    {"BlanksAroundAValueAreKept", "[S]\nK=1\n", "S", "K", " a b ", "[S]\nK=\" a b \"\n"},
    {"APathEndingInABlankIsKept", "", "S", "K", "/images/sea.png ", "[S]\nK=\"/images/sea.png \"\n"},
    {"ATabAtTheEndIsKept", "", "S", "K", "x\t", "[S]\nK=\"x\t\"\n"},
    {"DoubleQuotesAroundAValueAreKept", "", "S", "K", "\"q\"", "[S]\nK=\"\"q\"\"\n"},
    {"SingleQuotesAroundAValueAreKept", "", "S", "K", "'q'", "[S]\nK=\"'q'\"\n"},
    {"TwoQuotesAreKept", "", "S", "K", "\"\"", "[S]\nK=\"\"\"\"\n"},
    {"InnerQuotesNeedNone", "", "S", "K", "a \"b\" c", "[S]\nK=a \"b\" c\n"},
    {"ALoneQuoteNeedsNone", "", "S", "K", "\"", "[S]\nK=\"\n"},
};

class IniWriteTest : public IniStoreTest, public testing::WithParamInterface<WriteCase> {};

TEST_P(IniWriteTest, ChangesOnlyThatKey) {
  const WriteCase& c = GetParam();
  const QString file = WithContent(c.before);
  EXPECT_TRUE(WriteIniString(QString::fromUtf8(c.section), QString::fromUtf8(c.key), QString::fromUtf8(c.value), file));
  EXPECT_EQ(ReadBytes(file), c.after);
  EXPECT_EQ(GetIniString(QString::fromUtf8(c.section), QString::fromUtf8(c.key), {}, file), QString::fromUtf8(c.value));
}

INSTANTIATE_TEST_SUITE_P(Cases, IniWriteTest, testing::ValuesIn(kWriteCases),
                         [](const testing::TestParamInfo<WriteCase>& info) { return info.param.name; });

TEST_F(IniStoreTest, RefusedWritesLeaveTheFileAsItWas) {
  const QByteArray before = "[S]\nK=1\n";
  const QString file = WithContent(before);
  struct Case {
    const char* section;
    const char* key;
    const char* value;
  };
  const Case cases[] = {
      {"S", "K", "two\nlines"}, {"S", "K", "cr\rhere"}, {"S", "K=J", "1"}, {"S]", "K", "1"}, {"S\nT", "K", "1"},
      {"", "K", "1"},           {"S", " ", "1"},        {"S", "[K]", "1"}, {"S", ";K", "1"}, {"S", "#K", "1"},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(
        WriteIniString(QString::fromUtf8(c.section), QString::fromUtf8(c.key), QString::fromUtf8(c.value), file))
        << c.section << " / " << c.key << " / " << c.value;
    EXPECT_EQ(ReadBytes(file), before);
  }
  // What would not read back as written.
  const QString nul(QChar(u'\0'));
  const QString high(QChar(0xD83D));
  const QString low(QChar(0xDE00));
  const QString bom(QChar(0xFEFF));
  const QString tooLong(kMaxIniValueLength + 1, u'v');  // a read gives 259 characters
  const QString unreadable[][3] = {
      {"S", "K", "a" + nul + "b"}, {"S", "K" + nul, "1"}, {"S" + nul, "K", "1"},
      {"S", "K", "a" + high},      {"S", "K", low + "a"}, {"S", high, "1"},
      {"S" + low, "K", "1"},       {"S", bom + "K", "1"}, {bom + "S", "K", "1"},
      {"S", " " + bom + "K", "1"}, {"S", "K", tooLong},
  };
  for (const auto& c : unreadable) {
    EXPECT_FALSE(WriteIniString(c[0], c[1], c[2], file)) << (c[0] + " / " + c[1] + " / " + c[2]).toStdString();
    EXPECT_EQ(ReadBytes(file), before);
  }
}

TEST_F(IniStoreTest, AWriteOnAFullDiskFailsAndKeepsTheFile) {
  struct Case {
    const char* name;
    int fileSize;  // of the file before the write
    long room;     // what the disk takes of the new copy; -1: all but its last byte
  };
  const Case cases[] = {
      {"the new copy does not fit at all", 200, 0},
      {"a small file cut short", 200, 100},
      {"a large file cut at a buffer's size", 20000, 4096},
      {"one byte too few", 200, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QByteArray before = "[S]\nK=1\n; ";
    before += QByteArray(c.fileSize - before.size() - 1, 'x') + '\n';
    const QString file = WithContent(before);
    const QString value = QStringLiteral("changed");
    const qsizetype newSize = before.size() - 1 + value.size();
    const rlim_t room = static_cast<rlim_t>(c.room < 0 ? newSize - 1 : c.room);
    bool written = true;
    {
      const FileSizeLimit full(room);
      written = WriteIniString("S", "K", value, file);
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({QStringLiteral("test.ini"), QStringLiteral("test.ini.lock")}));
  }
}

TEST_F(IniStoreTest, AFailedReplacementFailsAndLeavesNoCopy) {
  const QString file = WithContent("[S]\nK=1\n");
  // The file is replaced by a folder just before the new copy would take its place.
  g_beforeRename = [&] {
    g_beforeRename = nullptr;
    QFile::remove(file);
    QDir().mkpath(file + QStringLiteral("/inside"));
  };
  const bool written = WriteIniString("S", "K", "2", file);
  g_beforeRename = nullptr;
  EXPECT_FALSE(written);
  EXPECT_TRUE(QFileInfo(file).isDir());
  EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({QStringLiteral("test.ini.lock")}));
}

TEST_F(IniStoreTest, AWriteKilledHalfWayIsCleanedUpByTheNext) {
  const QByteArray before = "[S]\nK=1\n" + QByteArray(5000, ';') + '\n';
  const QString file = WithContent(before);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The file size limit kills the writer part way through its new copy.
    std::signal(SIGXFSZ, SIG_DFL);
    const rlimit limit{1000, RLIM_INFINITY};
    setrlimit(RLIMIT_FSIZE, &limit);
    WriteIniString("S", "K", "2", file);
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "the writer was not killed: " << status;
  EXPECT_EQ(ReadBytes(file), before);
  ASSERT_GT(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "the killed write left a copy";

  EXPECT_TRUE(WriteIniString("S", "K", "3", file));
  EXPECT_EQ(GetIniInt("S", "K", 0, file), 3);
  EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList({QStringLiteral("test.ini"), QStringLiteral("test.ini.lock")}));
}

TEST_F(IniStoreTest, NewFilesArePrivateWhateverTheUmask) {
  const mode_t saved = umask(0);
  const bool written = WriteIniString("S", "K", "1", File());
  umask(saved);
  ASSERT_TRUE(written);
  for (const QString& path : {File(), File(QStringLiteral("test.ini.lock"))}) {
    struct stat info {};
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u) << path.toStdString();
  }
}

TEST_F(IniStoreTest, WriteIntoMissingFolderFailsQuietly) {
  const QString file = File(QStringLiteral("missing/QyRadixpad.ini"));
  EXPECT_FALSE(WriteIniString("S", "K", "1", file));
  WriteIniInt("S", "K", 1, file);
  EXPECT_FALSE(QFileInfo::exists(File(QStringLiteral("missing"))));
}

TEST_F(IniStoreTest, WriteIntoReadOnlyFileFailsQuietly) {
  const QByteArray before = "[S]\nK=1\n";
  const QString file = WithContent(before);
  ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
  EXPECT_FALSE(WriteIniString("S", "K", "2", file));
  WriteIniInt("S", "New", 2, file);
  EXPECT_EQ(ReadBytes(file), before);
  EXPECT_FALSE(QFileInfo(file).permissions() & QFileDevice::WriteOwner);
}

TEST_F(IniStoreTest, WriteLeavesNoTemporaryFilesAndKeepsPermissions) {
  const QString file = WithContent("[S]\nK=1\n");
  const auto permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
  ASSERT_TRUE(QFile::setPermissions(file, permissions));
  for (int i = 0; i < 5; ++i) WriteIniInt("S", "K", i, file);
  const QStringList entries = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);
  EXPECT_EQ(entries, QStringList({QStringLiteral("test.ini"), QStringLiteral("test.ini.lock")}));
  const QFileDevice::Permissions classBits = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                             QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                             QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
  EXPECT_EQ((QFileInfo(file).permissions() & classBits).toInt(), (permissions & classBits).toInt());
}

// A named pipe (whose opening would wait for a writer), a device or a socket in the
// settings file's place is never opened: a read gives the default, a write says why.
TEST_F(IniStoreTest, WhatIsNoRegularFileIsNeverOpened) {
  const QString pipe = File(QStringLiteral("pipe.ini"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  // A writer of the pipe waits until somebody opens it for reading.
  std::atomic<bool> opened{false};
  std::thread writer([&] {
    const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_CLOEXEC);
    opened = true;
    if (fd >= 0) ::close(fd);
  });
  const QString socketPath = File(QStringLiteral("socket.ini"));
  const int listener = test::BindUnixSocket(socketPath);
  ASSERT_GE(listener, 0);
  const QString zeros = File(QStringLiteral("zeros.ini"));
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zeros));  // endless, were it read
  const QString folder = File(QStringLiteral("folder.ini"));
  ASSERT_TRUE(QDir().mkpath(folder));

  struct Case {
    const char* what;
    QString file;
    IniWriteResult written;
  };
  const Case cases[] = {
      {"named pipe", pipe, IniWriteResult::kNotRegular},
      {"socket", socketPath, IniWriteResult::kNotRegular},
      {"link to a device", zeros, IniWriteResult::kNotRegular},
      {"folder", folder, IniWriteResult::kNotAFile},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(GetIniString("S", "K", kDefault, c.file), kDefault);
    EXPECT_EQ(WriteIniStrings({{"S", "K", "1"}}, c.file), c.written);
  }
  EXPECT_FALSE(opened) << "the pipe was opened";
  EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
            QStringList({"pipe.ini", "socket.ini", "zeros.ini"}))
      << "nothing was made beside them";
  // Let the pipe's writer go.
  const int reader = ::open(QFile::encodeName(pipe).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  writer.join();
  ::close(reader);
  ::close(listener);
}

// Every write that cannot be made leaves the file as it was and says why; one that waits
// for another writer gives up after about two seconds in all.
TEST_F(IniStoreTest, AWriteThatCannotBeMadeSaysWhy) {
  const QByteArray before = "[S]\nK=1\n";
  struct Case {
    const char* what;
    std::function<QString()> setUp;  // the file to write
    QList<IniEntry> entries;
    IniWriteResult expected;
  };
  std::unique_ptr<test::HeldSettingsLock> held;
  const QList<IniEntry> one = {{"S", "K", "2"}};
  const Case cases[] = {
      {"missing folder", [&] { return File(QStringLiteral("missing/QyRadixpad.ini")); }, one,
       IniWriteResult::kNoFolder},
      {"read-only file",
       [&] {
         const QString file = WithContent(before);
         QFile::setPermissions(file, QFileDevice::ReadOwner);
         return file;
       },
       one, IniWriteResult::kReadOnly},
      {"a value that would not read back",
       [&] { return WithContent(before); },
       {{"S", "K", "2"}, {"S", "L", "two\nlines"}},
       IniWriteResult::kUnstorable},
      {"another writer keeps the lock",
       [&] {
         const QString file = WithContent(before);
         held = std::make_unique<test::HeldSettingsLock>(file);
         return held->Held() ? file : QString();
       },
       {{"S", "K", "2"}, {"S", "L", "3"}, {"T", "M", "4"}},
       IniWriteResult::kBusy},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const QString file = c.setUp();
    ASSERT_FALSE(file.isEmpty());
    const QByteArray was = ReadBytes(file);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(WriteIniStrings(c.entries, file), c.expected);
    EXPECT_LT(timer.elapsed(), kIniWriteWaitMs + 1500);
    EXPECT_EQ(ReadBytes(file), was);
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  }
  held.reset();
}

// Several keys in one write; a waiting writer keeps calling back while it waits.
TEST_F(IniStoreTest, ManyKeysInOneWrite) {
  const QString file = WithContent("[S]\nA=1\n; note\n");
  test::HeldSettingsLock* held = new test::HeldSettingsLock(file);
  ASSERT_TRUE(held->Held());
  int calls = 0;
  const IniWriteResult result =
      WriteIniStrings({{"S", "A", "2"}, {"T", "B", "3"}, {"S", "C", "4"}, {"S", "A", "5"}}, file, [&] {
        // The other writer finishes part-way through the wait.
        if (++calls == 50) delete std::exchange(held, nullptr);
      });
  delete held;
  EXPECT_EQ(result, IniWriteResult::kWritten);
  EXPECT_GE(calls, 50);
  EXPECT_EQ(ReadBytes(file), "[S]\nA=5\n; note\nC=4\n[T]\nB=3\n");
  EXPECT_EQ(WriteIniStrings({}, File(QStringLiteral("untouched.ini"))), IniWriteResult::kWritten);
  EXPECT_FALSE(QFileInfo::exists(File(QStringLiteral("untouched.ini"))));
}

// Once a write says it is done, a power cut cannot bring the old file back: the new
// copy is synced before the rename, the folder after it.
TEST_F(IniStoreTest, AWriteIsDoneOnlyOnceItsFolderIsSynced) {
  const QString file = WithContent("[S]\nK=1\n");
  struct stat folder {};
  ASSERT_EQ(::stat(QFile::encodeName(m_dir.path()).constData(), &folder), 0);
  std::vector<std::string> steps;
  const auto step = [&](int fd) {
    struct stat info {};
    ::fstat(fd, &info);
    return S_ISDIR(info.st_mode) ? (info.st_ino == folder.st_ino ? "folder" : "another folder") : "file";
  };
  g_beforeRename = [&] { steps.emplace_back("rename"); };
  int folderError = 0;
  g_onFsync = [&](int fd) {
    steps.emplace_back(step(fd));
    return steps.back() == "folder" ? folderError : 0;
  };
  const bool written = WriteIniString("S", "K", "2", file);
  const std::vector<std::string> done = steps;
  folderError = EIO;
  const bool writtenWithFailingFolder = WriteIniString("S", "K", "3", file);
  folderError = EINVAL;  // a file system that has nothing to sync for folders
  const bool writtenWithoutFolderSync = WriteIniString("S", "K", "4", file);
  g_beforeRename = nullptr;
  g_onFsync = nullptr;
  EXPECT_TRUE(written);
  EXPECT_EQ(done, (std::vector<std::string>{"file", "rename", "folder"}));
  EXPECT_FALSE(writtenWithFailingFolder) << "a failed folder sync is a failed write";
  EXPECT_TRUE(writtenWithoutFolderSync);
}

// A copy beside the file is removed by the next writer only when the process that wrote
// it is gone; another file's copies and other names are never touched.
TEST_F(IniStoreTest, ACopyIsRemovedOnlyWhenItsWriterIsGone) {
  const QString file = WithContent("[S]\nK=1\n");
  const pid_t gone = fork();
  ASSERT_GE(gone, 0);
  if (gone == 0) _exit(0);
  ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
  const pid_t live = fork();
  ASSERT_GE(live, 0);
  if (live == 0) {
    pause();
    _exit(0);
  }
  const QString goneCopy = QStringLiteral("test.ini.new~%1-1a2b").arg(gone);
  const QStringList kept = {QStringLiteral("test.ini.new~%1-3c4d").arg(live), QStringLiteral("test.ini.new~x"),
                            QStringLiteral("other.ini.new~%1-5e6f").arg(gone)};
  for (const QString& name : kept + QStringList{goneCopy}) WriteBytes(File(name), "[S]\nK=9\n");
  EXPECT_TRUE(WriteIniString("S", "K", "2", file));
  kill(live, SIGKILL);
  waitpid(live, nullptr, 0);
  EXPECT_FALSE(QFileInfo::exists(File(goneCopy)));
  for (const QString& name : kept) EXPECT_TRUE(QFileInfo::exists(File(name))) << name.toStdString();
}

TEST_F(IniStoreTest, NothingIsCachedBetweenCalls) {
  const QString file = WithContent("[S]\nK=1\n");
  EXPECT_EQ(GetIniInt("S", "K", 0, file), 1);
  WriteBytes(file, "[S]\nK=2\n");
  EXPECT_EQ(GetIniInt("S", "K", 0, file), 2);
  QFile::remove(file);
  EXPECT_EQ(GetIniInt("S", "K", 0, file), 0);
}

// A batch reads each file once; its own writes and its end show the file as it is.
TEST_F(IniStoreTest, ABatchReadsEachFileOnce) {
  const QString file = WithContent("[S]\nK=1\n");
  const QString missing = File("missing.ini");
  {
    const CIniReadBatch batch;
    EXPECT_EQ(GetIniInt("S", "K", 0, file), 1);
    EXPECT_EQ(GetIniInt("S", "K", 0, missing), 0);
    WriteBytes(file, "[S]\nK=2\nL=3\n");
    WriteBytes(missing, "[S]\nK=4\n");
    EXPECT_EQ(GetIniInt("S", "K", 0, file), 1) << "the first read serves";
    EXPECT_EQ(GetIniInt("S", "L", 0, file), 0);
    EXPECT_EQ(GetIniInt("S", "K", 0, missing), 0) << "so does a failed one";
    {
      const CIniReadBatch inner;
      EXPECT_EQ(GetIniInt("S", "K", 0, file), 2) << "a new batch reads afresh";
    }
    EXPECT_TRUE(WriteIniString("S", "M", "5", file));
    EXPECT_EQ(GetIniInt("S", "K", 0, file), 2) << "a write drops the file from the batch";
    EXPECT_EQ(GetIniInt("S", "M", 0, file), 5);
  }
  WriteBytes(file, "[S]\nK=6\n");
  EXPECT_EQ(GetIniInt("S", "K", 0, file), 6);
  EXPECT_EQ(GetIniInt("S", "K", 0, missing), 4);
}

TEST_F(IniStoreTest, BinaryGarbageSurvivesAndDoesNotHideKeys) {
  QByteArray garbage;
  QRandomGenerator random(1234);
  while (garbage.size() < 4096) {
    const char byte = static_cast<char>(random.bounded(256));
    if (byte != '\n' && byte != '\r' && byte != '[' && byte != '=') garbage += byte;
  }
  ASSERT_TRUE(garbage.contains('\0'));
  const QByteArray before = "[S]\nA=1\n" + garbage + "\nB=2\n[T]\n" + garbage + "\n";
  const QString file = WithContent(before);
  EXPECT_EQ(GetIniInt("S", "B", 0, file), 2);
  WriteIniInt("S", "A", 5, file);
  WriteIniInt("T", "K", 6, file);
  EXPECT_EQ(ReadBytes(file), "[S]\nA=5\n" + garbage + "\nB=2\n[T]\n" + garbage + "\nK=6\n");
}

TEST_F(IniStoreTest, TenMegabyteFile) {
  QByteArray content = "; big file\n";
  content.reserve(11 * 1024 * 1024);
  for (int s = 0; content.size() < 10 * 1024 * 1024; ++s) {
    content += "[Section" + QByteArray::number(s) + "]\n";
    for (int k = 0; k < 100; ++k)
      content += "Key" + QByteArray::number(k) + "=value " + QByteArray::number(s * 100 + k) + "\n";
  }
  content += "[Last]\nK=end\n";
  const QString file = WithContent(content);

  QElapsedTimer timer;
  timer.start();
  EXPECT_EQ(GetIniString("last", "k", {}, file), QStringLiteral("end"));
  EXPECT_EQ(GetIniString("Section7", "Key42", {}, file), QStringLiteral("value 742"));
  const qint64 readMs = timer.restart();
  WriteIniString("Section7", "Key42", "changed", file);
  const qint64 writeMs = timer.elapsed();

  QByteArray expected = content;
  expected.replace("Key42=value 742\n", "Key42=changed\n");
  EXPECT_EQ(ReadBytes(file), expected);
  RecordProperty("ReadTwoKeysMs", static_cast<int>(readMs));
  RecordProperty("WriteOneKeyMs", static_cast<int>(writeMs));
  EXPECT_LT(readMs + writeMs, 10000);
}

}  // namespace
}  // namespace radixpad
