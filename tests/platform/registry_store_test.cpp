#include "registry_store.h"

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "registry_test_support.h"
#include "test_environment.h"

extern char** environ;

namespace radixpad::test {
namespace {

using test::FileSizeLimit;

using StoreTest = RegistryFixture;

std::string AllBytes() {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  return bytes;
}

struct ValueCase {
  const char* label;
  std::string name;
  DWORD type;
  std::string data;
};

TEST_F(StoreTest, EveryValueTypeAndAnyBytesSurviveTheFile) {
  using namespace std::string_literals;
  const std::vector<ValueCase> cases = {
      {"default value", "", REG_SZ, "default\0"s},
      {"escapes in text", "escapes", REG_SZ, "q\"b\\n\nr\rt\tnul\0del\x7f\x01 end\0"s},
      {"utf-8 text", "utf8", REG_SZ, "\xc3\xa9 \xe2\x82\xac \xf0\x9d\x84\x9e\0"s},
      {"bytes that are not utf-8", "notutf8", REG_SZ, "\xff\xc0\x80 \xe2\x82 \xed\xa0\x80\0"s},
      {"text without its nul", "nonul", REG_SZ, "abc"s},
      {"expandable text", "expand", REG_EXPAND_SZ, "%HOME%\\bin\0"s},
      {"string list", "multi", REG_MULTI_SZ, "one\0two\0\0"s},
      {"dword", "dword", REG_DWORD, "\x2a\x00\x00\x80"s},
      {"dword of three bytes", "shortdword", REG_DWORD, "\x01\x02\x03"s},
      {"big-endian dword", "be", REG_DWORD_BIG_ENDIAN, "\x00\x00\x00\x2a"s},
      {"qword", "qword", REG_QWORD, "\xef\xcd\xab\x89\x67\x45\x23\x01"s},
      {"every byte", "binary", REG_BINARY, AllBytes()},
      {"empty binary", "emptybinary", REG_BINARY, ""s},
      {"none with data", "none", REG_NONE, "\x00\x01"s},
      {"none empty", "emptynone", REG_NONE, ""s},
      {"link", "link", REG_LINK, "target"s},
      {"type without a name", "odd", 1234, "\x10\x20"s},
      {"name with quote, backslash and utf-8", "a \"b\" \\c\\ \xc3\xa9", REG_SZ, "x\0"s},
  };
  HKEY key = Create(HKEY_CURRENT_USER, "RoundTrip");
  for (const ValueCase& c : cases) SetBytes(key, c.name.c_str(), c.type, c.data);
  ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);

  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "RoundTrip", 0, KEY_READ, &key), ERROR_SUCCESS);
  for (const ValueCase& c : cases) {
    SCOPED_TRACE(c.label);
    DWORD type = 0;
    std::string data(5000, '?');
    DWORD size = static_cast<DWORD>(data.size());
    ASSERT_EQ(RegQueryValueEx(key, c.name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, c.type);
    EXPECT_EQ(data.substr(0, size), c.data);
  }
  RegCloseKey(key);
}

TEST_F(StoreTest, FileIsReadableLineBasedText) {
  using namespace std::string_literals;
  HKEY key = Create(HKEY_CURRENT_USER, "Software\\Quillory", "cls");
  SetBytes(key, "", REG_SZ, "default\0"s);
  SetBytes(key, "Count", REG_DWORD, "\x2a\0\0\0"s);
  SetBytes(key, "Blob", REG_BINARY, "\x00\xff"s);
  SetBytes(key, "List", REG_MULTI_SZ, "a\0b\0\0"s);
  SetBytes(key, "Big", REG_QWORD, "\x01\0\0\0\0\0\0\x80"s);
  RegCloseKey(key);
  RegCloseKey(Create(HKEY_CURRENT_USER, "50% [x]"));

  std::string text = ReadText(FileOf("HKEY_CURRENT_USER"));
  // The modification times are now; take them out before comparing.
  std::string withoutTimes;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("@modified 20", 0) != 0) withoutTimes += line + "\n";
  }
  EXPECT_EQ(withoutTimes,
            "Radixpad registry 1\n"
            "\n"
            "[50%25 [x]]\n"
            "\n"
            "[Software]\n"
            "\n"
            "[Software\\Quillory]\n"
            "@class \"cls\"\n"
            "\"\" = sz \"default\\0\"\n"
            "\"Count\" = dword 0x0000002a\n"
            "\"Blob\" = binary hex 00 ff\n"
            "\"List\" = multi_sz \"a\\0b\\0\\0\"\n"
            "\"Big\" = qword 0x8000000000000001\n");
}

TEST_F(StoreTest, HandWrittenFileIsRead) {
  // Comments, indentation, CRLF line ends, a key before its parent, upper-case hex.
  WriteText(FileOf("HKEY_LOCAL_MACHINE"),
            "Radixpad registry 1\r\n"
            "# written by hand\r\n"
            "\"RootValue\" = sz \"at the top\"\r\n"
            "[Software\\App Paths\\browser]\r\n"
            "   \"\" = sz \"/usr/bin/browser\"\r\n"
            "   \"Flags\" = dword 0x0000000A\r\n"
            "[Software]\r\n"
            "@modified 2024-02-29T23:59:59Z\r\n");
  HKEY key{};
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "software\\APP PATHS\\Browser", 0, KEY_READ, &key), ERROR_SUCCESS);
  char text[64] = {};
  DWORD size = sizeof text;
  ASSERT_EQ(RegQueryValueEx(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size), ERROR_SUCCESS);
  EXPECT_STREQ(text, "/usr/bin/browser");
  DWORD flags = 0;
  size = sizeof flags;
  ASSERT_EQ(RegQueryValueEx(key, "flags", nullptr, nullptr, reinterpret_cast<BYTE*>(&flags), &size), ERROR_SUCCESS);
  EXPECT_EQ(flags, 10u);
  RegCloseKey(key);

  char rootText[64] = {};
  size = sizeof rootText;
  EXPECT_EQ(
      RegQueryValueEx(HKEY_LOCAL_MACHINE, "RootValue", nullptr, nullptr, reinterpret_cast<BYTE*>(rootText), &size),
      ERROR_SUCCESS);
  EXPECT_STREQ(rootText, "at the top");

  FILETIME written{};
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ, &key), ERROR_SUCCESS);
  ASSERT_EQ(RegQueryInfoKey(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, &written),
            ERROR_SUCCESS);
  // 2024-02-29T23:59:59Z in 100 ns ticks since 1601.
  const std::uint64_t ticks = (std::uint64_t{written.dwHighDateTime} << 32) | written.dwLowDateTime;
  EXPECT_EQ(ticks, (1709251199ULL + 11644473600ULL) * 10000000ULL);
  RegCloseKey(key);
}

TEST_F(StoreTest, DamagedFileIsAnErrorAndIsNeverRewritten) {
  const std::string header = "Radixpad registry 1\n";
  const std::vector<std::pair<const char*, std::string>> damaged = {
      {"empty file", ""},
      {"no header", "[Software]\n"},
      {"another version", "Radixpad registry 2\n"},
      {"unknown line", header + "hello\n"},
      {"unterminated string", header + "\"a\" = sz \"abc\n"},
      {"unknown escape", header + "\"a\" = sz \"\\q\"\n"},
      {"raw control character", header + "\"a\" = sz \"a\x01\"\n"},
      {"unknown type", header + "\"a\" = word 0x00000001\n"},
      {"dword with too few digits", header + "\"a\" = dword 0x2a\n"},
      {"number form on a binary", header + "\"a\" = binary 0x0000002a\n"},
      {"half a hex byte", header + "\"a\" = binary hex 0\n"},
      {"not a hex byte", header + "\"a\" = binary hex zz\n"},
      {"no equals sign", header + "\"a\" sz \"x\"\n"},
      {"text after the data", header + "\"a\" = sz \"x\" y\n"},
      {"same value twice", header + "\"a\" = sz \"x\"\n\"A\" = sz \"y\"\n"},
      {"same key twice", header + "[k]\n[K]\n"},
      {"empty name in a path", header + "[a\\\\b]\n"},
      {"unclosed key header", header + "[abc\n"},
      {"bad percent escape", header + "[a%G1]\n"},
      {"impossible date", header + "[k]\n@modified 2023-02-29T00:00:00Z\n"},
      {"unknown attribute", header + "[k]\n@owner \"x\"\n"},
      {"binary garbage", std::string("\x00\x01\x02\xff", 4)},
  };
  for (const auto& [label, text] : damaged) {
    SCOPED_TRACE(label);
    WriteText(FileOf("HKEY_CURRENT_USER"), text);
    HKEY key{};
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, nullptr, 0, KEY_READ, &key), ERROR_REGISTRY_CORRUPT);
    EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "New", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_REGISTRY_CORRUPT);
    const DWORD one = 1;
    EXPECT_EQ(RegSetValueEx(HKEY_CURRENT_USER, "v", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4),
              ERROR_REGISTRY_CORRUPT);
    EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, "k"), ERROR_REGISTRY_CORRUPT);
    EXPECT_EQ(ReadText(FileOf("HKEY_CURRENT_USER")), text);
  }
  // Another root is not affected.
  RegCloseKey(Create(HKEY_LOCAL_MACHINE, "Fine"));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "Fine"));
}

TEST_F(StoreTest, TwoProcessesWritingOneRootLoseNothing) {
  constexpr int kCount = 60;
  const std::string count = std::to_string(kCount);
  std::vector<pid_t> writers;
  for (const char* prefix : {"A", "B"}) {
    std::vector<char*> argv = {const_cast<char*>(RADIXPAD_REGISTRY_WRITER), const_cast<char*>(prefix),
                               const_cast<char*>(count.c_str()), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, RADIXPAD_REGISTRY_WRITER, nullptr, nullptr, argv.data(), environ), 0);
    writers.push_back(pid);
  }
  for (pid_t pid : writers) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  HKEY shared{};
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Concurrent", 0, KEY_READ, &shared), ERROR_SUCCESS);
  DWORD subKeys = 0, values = 0;
  ASSERT_EQ(RegQueryInfoKey(shared, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr, nullptr,
                            nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(subKeys, 2u * kCount);
  EXPECT_EQ(values, 2u * kCount);
  for (const char* prefix : {"A", "B"}) {
    for (int i = 0; i < kCount; ++i) {
      const std::string name = prefix + std::to_string(i);
      DWORD number = 0, size = 4;
      EXPECT_EQ(RegQueryValueEx(shared, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&number), &size),
                ERROR_SUCCESS)
          << name;
      EXPECT_EQ(number, static_cast<DWORD>(i)) << name;
    }
  }
  RegCloseKey(shared);
}

TEST_F(StoreTest, HandlesKeepTheirAccessAndNoticeDeletedKeys) {
  RegCloseKey(Create(HKEY_CURRENT_USER, "Box\\Inner"));
  HKEY reader{}, writer{}, inner{};
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Box", 0, KEY_READ, &reader), ERROR_SUCCESS);
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Box", 0, KEY_WRITE, &writer), ERROR_SUCCESS);
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Box\\Inner", 0, KEY_ALL_ACCESS, &inner), ERROR_SUCCESS);
  const DWORD one = 1;
  const BYTE* data = reinterpret_cast<const BYTE*>(&one);
  EXPECT_EQ(RegSetValueEx(reader, "v", 0, REG_DWORD, data, 4), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegSetValueEx(writer, "v", 0, REG_DWORD, data, 4), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueEx(writer, "v", nullptr, nullptr, nullptr, nullptr), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteValue(reader, "v"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegQueryValueEx(reader, "v", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);

  EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, "Box"), ERROR_ACCESS_DENIED) << "a key with subkeys stays";
  EXPECT_EQ(RegDeleteKey(reader, "Inner"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKey(reader, "Inner"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegSetValueEx(inner, "v", 0, REG_DWORD, data, 4), ERROR_KEY_DELETED);
  EXPECT_EQ(RegQueryInfoKey(inner, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr),
            ERROR_KEY_DELETED);

  EXPECT_EQ(RegCloseKey(inner), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(inner), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegSetValueEx(inner, "v", 0, REG_DWORD, data, 4), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(HKEY{0x12345}), ERROR_INVALID_HANDLE);
  RegCloseKey(reader);
  RegCloseKey(writer);
}

TEST_F(StoreTest, KeyNamesAreCaseBlindAndNeverPaths) {
  RegCloseKey(Create(HKEY_CURRENT_USER, "Software\\MixedCase"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "SOFTWARE\\mixedcase"));
  char name[64];
  HKEY software{};
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "software", 0, KEY_READ, &software), ERROR_SUCCESS);
  ASSERT_EQ(RegEnumKey(software, 0, name, sizeof name), ERROR_SUCCESS);
  EXPECT_STREQ(name, "MixedCase");
  RegCloseKey(software);

  for (const char* awkward : {"..", "..\\..\\..\\etc", "/etc/passwd", "a/b/../c", "~"})
    RegCloseKey(Create(HKEY_CURRENT_USER, awkward));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "..\\..\\..\\etc"));
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(Store()))
    files.push_back(entry.path().filename().string());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"HKEY_CURRENT_USER.lock", "HKEY_CURRENT_USER.txt"}));

  HKEY key{};
  const struct {
    const char* path;
    LONG code;
  } badPaths[] = {{"\\leading", ERROR_BAD_PATHNAME},
                  {"double\\\\backslash", ERROR_BAD_PATHNAME},
                  {"trailing\\", ERROR_BAD_PATHNAME},
                  {nullptr, ERROR_INVALID_PARAMETER}};
  const std::string longName(256, 'n');
  for (const auto& bad : badPaths) {
    const char* path = bad.code == ERROR_INVALID_PARAMETER ? longName.c_str() : bad.path;
    EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), bad.code)
        << path;
  }
}

TEST_F(StoreTest, NamesHoldingABackslashStayWholeThroughAnUnrelatedWrite) {
  WriteText(FileOf("HKEY_CURRENT_USER"),
            "Radixpad registry 1\n"
            "[Software]\n"
            "[Software\\a%5cb]\n"
            "\"v\" = sz \"kept\"\n");
  RegCloseKey(Create(HKEY_CURRENT_USER, "Other"));
  const std::string text = ReadText(FileOf("HKEY_CURRENT_USER"));
  EXPECT_NE(text.find("[Software\\a%5cb]\n"), std::string::npos) << text;
  HKEY software{};
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &software), ERROR_SUCCESS);
  char name[64];
  ASSERT_EQ(RegEnumKey(software, 0, name, sizeof name), ERROR_SUCCESS);
  EXPECT_STREQ(name, "a\\b");
  EXPECT_EQ(RegEnumKey(software, 1, name, sizeof name), ERROR_NO_MORE_ITEMS);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\a"));
  RegCloseKey(software);
}

TEST_F(StoreTest, AWriteOnAFullDiskFailsAndKeepsTheFile) {
  HKEY key = Create(HKEY_CURRENT_USER, "Software");
  SetBytes(key, "small", REG_SZ, "before");
  const std::string before = ReadText(FileOf("HKEY_CURRENT_USER"));
  {
    const FileSizeLimit full(before.size() + 100);
    const std::string big(4096, 'x');
    EXPECT_NE(
        RegSetValueEx(key, "big", 0, REG_SZ, reinterpret_cast<const BYTE*>(big.data()), static_cast<DWORD>(big.size())),
        ERROR_SUCCESS);
  }
  EXPECT_EQ(ReadText(FileOf("HKEY_CURRENT_USER")), before);
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(Store()))
    files.push_back(entry.path().filename().string());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"HKEY_CURRENT_USER.lock", "HKEY_CURRENT_USER.txt"}))
      << "no temporary copy is left";
  RegCloseKey(key);
}

TEST_F(StoreTest, AWriteKilledHalfWayIsCleanedUpByTheNextCallThatLocksTheRoot) {
  const auto storeFiles = [&] {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(Store()))
      files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    return files;
  };
  HKEY key = Create(HKEY_CURRENT_USER, "Software");
  SetBytes(key, "big", REG_BINARY, std::string(5000, 'x'));
  const std::string before = ReadText(FileOf("HKEY_CURRENT_USER"));
  // Files beside the store's own that it did not make: an editor's swap file and backup.
  for (const char* name : {"notes.txt", ".HKEY_CURRENT_USER.txt.swp", "HKEY_CURRENT_USER.txt~"})
    WriteText(Store() + "/" + name, "not the store's");
  const std::vector<std::string> others = storeFiles();

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The file size limit kills the writer part way through its new copy.
    std::signal(SIGXFSZ, SIG_DFL);
    const rlimit limit{1000, RLIM_INFINITY};
    setrlimit(RLIMIT_FSIZE, &limit);
    const DWORD one = 1;
    RegSetValueEx(key, "more", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "the writer was not killed: " << status;
  EXPECT_EQ(ReadText(FileOf("HKEY_CURRENT_USER")), before);
  ASSERT_EQ(storeFiles().size(), others.size() + 1) << "the killed write left a copy";

  // Opening an existing key through RegCreateKeyEx writes nothing, yet takes the lock.
  RegCloseKey(Create(HKEY_CURRENT_USER, "Software"));
  EXPECT_EQ(storeFiles(), others);
  EXPECT_EQ(ReadText(FileOf("HKEY_CURRENT_USER")), before);
  RegCloseKey(key);
}

TEST_F(StoreTest, EnumerationAndQueriesFollowTheBufferProtocol) {
  HKEY key = Create(HKEY_CURRENT_USER, "Enum");
  for (const char* child : {"beta", "Alpha", "gamma"}) RegCloseKey(Create(key, child));
  SetBytes(key, "second", REG_BINARY, "12345");
  SetBytes(key, "first", REG_BINARY, "1");

  std::vector<std::string> names;
  char name[16];
  DWORD index = 0;
  for (; RegEnumKey(key, index, name, sizeof name) == ERROR_SUCCESS; ++index) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "beta", "gamma"}));
  EXPECT_EQ(RegEnumKey(key, index, name, sizeof name), ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(RegEnumKey(key, 0, name, 5), ERROR_MORE_DATA) << "\"Alpha\" needs six characters";

  DWORD nameSize = sizeof name, type = 0, size = 0;
  ASSERT_EQ(RegEnumValue(key, 0, name, &nameSize, nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_STREQ(name, "second") << "values keep the order they were set in";
  EXPECT_EQ(size, 5u);

  BYTE data[8];
  size = 2;
  EXPECT_EQ(RegQueryValueEx(key, "second", nullptr, nullptr, data, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(RegQueryValueEx(key, "second", nullptr, nullptr, data, &size), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueEx(key, "missing", nullptr, nullptr, data, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegQueryValueEx(key, "second", nullptr, nullptr, data, nullptr), ERROR_INVALID_PARAMETER);
  RegCloseKey(key);
}

TEST_F(StoreTest, ConnectIsLocalOnly) {
  HKEY root{};
  EXPECT_EQ(RegConnectRegistry(nullptr, HKEY_LOCAL_MACHINE, &root), ERROR_SUCCESS);
  EXPECT_EQ(root, HKEY_LOCAL_MACHINE);
  EXPECT_EQ(RegConnectRegistry(("\\\\" + LocalComputerName()).c_str(), HKEY_USERS, &root), ERROR_SUCCESS);
  EXPECT_EQ(root, HKEY_USERS);
  EXPECT_EQ(RegConnectRegistry("far-away-host", HKEY_LOCAL_MACHINE, &root), ERROR_BAD_NETPATH);
  EXPECT_EQ(RegConnectRegistry(nullptr, HKEY_PERFORMANCE_DATA, &root), ERROR_CALL_NOT_IMPLEMENTED);
  EXPECT_EQ(RegConnectRegistry(nullptr, HKEY{0x4444}, &root), ERROR_INVALID_HANDLE);
}

TEST_F(StoreTest, CallsWithoutMeaningHereSaySo) {
  HKEY key = Create(HKEY_CURRENT_USER, "Plain");
  HKEY out{};
  char descriptor[64] = {};
  DWORD size = sizeof descriptor;
  SECURITY_ATTRIBUTES withDescriptor;
  withDescriptor.lpSecurityDescriptor = descriptor;
  const std::vector<std::pair<const char*, std::function<LONG()>>> calls = {
      {"replace", [&] { return RegReplaceKey(key, "x", "new", "old"); }},
      {"notify", [&] { return RegNotifyChangeKeyValue(key, 1, REG_NOTIFY_CHANGE_NAME, nullptr, 0); }},
      {"get security", [&] { return RegGetKeySecurity(key, 4, descriptor, &size); }},
      {"set security", [&] { return RegSetKeySecurity(key, 4, descriptor); }},
      {"volatile key",
       [&] {
         return RegCreateKeyEx(key, "v", 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &out, nullptr);
       }},
      {"key with a security descriptor",
       [&] { return RegCreateKeyEx(key, "s", 0, nullptr, 0, KEY_ALL_ACCESS, &withDescriptor, &out, nullptr); }},
      {"open a link", [&] { return RegOpenKeyEx(key, nullptr, REG_OPTION_OPEN_LINK, KEY_READ, &out); }},
      {"dynamic data root", [&] { return RegOpenKeyEx(HKEY_DYN_DATA, nullptr, 0, KEY_READ, &out); }},
      {"volatile restore", [&] { return RegRestoreKey(key, "/nonexistent", REG_WHOLE_HIVE_VOLATILE); }},
  };
  for (const auto& [label, call] : calls) EXPECT_EQ(call(), ERROR_CALL_NOT_IMPLEMENTED) << label;
  EXPECT_FALSE(KeyExists(key, "v"));
  RegCloseKey(key);
}

TEST_F(StoreTest, SaveRestoreLoadAndUnload) {
  using namespace std::string_literals;
  HKEY source = Create(HKEY_CURRENT_USER, "Source", "src-class");
  SetBytes(source, "top", REG_SZ, "top value\0"s);
  HKEY deep = Create(source, "One\\Two\\Three");
  SetBytes(deep, "bytes", REG_BINARY, AllBytes());
  RegCloseKey(deep);
  RegCloseKey(Create(source, "Sibling"));
  const std::string before = Dump(source);

  const std::string file = Scratch("source.saved");
  ASSERT_EQ(RegSaveKey(source, file.c_str(), nullptr), ERROR_SUCCESS);
  const std::string saved = ReadText(file);
  EXPECT_EQ(saved.rfind("Radixpad registry 1\n@class \"src-class\"\n", 0), 0u) << saved;
  EXPECT_EQ(RegSaveKey(source, file.c_str(), nullptr), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(ReadText(file), saved);

  // Change everything, then restore.
  SetBytes(source, "top", REG_SZ, "changed\0"s);
  SetBytes(source, "extra", REG_DWORD, "\1\0\0\0"s);
  ASSERT_EQ(RegDeleteKey(source, "Sibling"), ERROR_SUCCESS);
  RegCloseKey(Create(source, "Intruder"));
  ASSERT_EQ(RegRestoreKey(source, file.c_str(), 0), ERROR_SUCCESS);
  EXPECT_EQ(Dump(source), before);

  // A damaged or missing file changes nothing.
  const std::string broken = Scratch("broken.saved");
  WriteText(broken, "Radixpad registry 1\nnonsense\n");
  EXPECT_EQ(RegRestoreKey(source, broken.c_str(), 0), ERROR_REGISTRY_CORRUPT);
  EXPECT_EQ(RegRestoreKey(source, Scratch("missing").c_str(), 0), ERROR_FILE_NOT_FOUND);
  // A named pipe is not waited on.
  ASSERT_EQ(::mkfifo(Scratch("pipe").c_str(), 0600), 0);
  EXPECT_EQ(RegRestoreKey(source, Scratch("pipe").c_str(), 0), ERROR_CANTREAD);
  EXPECT_EQ(Dump(source), before);

  // Load mounts the file; the mounted key cannot be deleted, only unloaded, and
  // unloading writes changes back to the file.
  EXPECT_EQ(RegLoadKey(HKEY_CURRENT_USER, "Mounted", file.c_str()), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegLoadKey(HKEY_LOCAL_MACHINE, "A\\B", file.c_str()), ERROR_INVALID_PARAMETER);
  ASSERT_EQ(RegLoadKey(HKEY_USERS, "Mounted", file.c_str()), ERROR_SUCCESS);
  EXPECT_EQ(RegLoadKey(HKEY_USERS, "Mounted", file.c_str()), ERROR_ALREADY_EXISTS);
  HKEY mounted{};
  ASSERT_EQ(RegOpenKeyEx(HKEY_USERS, "Mounted", 0, KEY_ALL_ACCESS, &mounted), ERROR_SUCCESS);
  EXPECT_EQ(Dump(mounted), before);
  EXPECT_EQ(RegDeleteKey(HKEY_USERS, "Mounted"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegUnLoadKey(HKEY_CURRENT_USER, "Source"), ERROR_INVALID_PARAMETER) << "not a mounted key";
  SetBytes(mounted, "added while mounted", REG_SZ, "yes\0"s);
  const std::string changed = Dump(mounted);
  RegCloseKey(mounted);
  ASSERT_EQ(RegUnLoadKey(HKEY_USERS, "Mounted"), ERROR_SUCCESS);
  EXPECT_FALSE(KeyExists(HKEY_USERS, "Mounted"));
  ASSERT_EQ(RegRestoreKey(source, file.c_str(), 0), ERROR_SUCCESS);
  EXPECT_EQ(Dump(source), changed);
  RegCloseKey(source);
}

TEST_F(StoreTest, FolderComesFromTheEnvironment) {
  unsetenv("RADIXPAD_REGISTRY_DIR");
  const std::string data = Scratch("data");
  EXPECT_EQ(RegistryStoreFolder(), data + "/Quillory/Radixpad/registry");
  RegCloseKey(Create(HKEY_CURRENT_USER, "Here"));
  EXPECT_TRUE(std::filesystem::exists(data + "/Quillory/Radixpad/registry/HKEY_CURRENT_USER.txt"));

  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(RegistryStoreFolder(), Scratch("home") + "/.local/share/Quillory/Radixpad/registry");
  setenv("XDG_DATA_HOME", "relative/path", 1);
  EXPECT_EQ(RegistryStoreFolder(), Scratch("home") + "/.local/share/Quillory/Radixpad/registry")
      << "a relative XDG_DATA_HOME is ignored";
}

}  // namespace
}  // namespace radixpad::test
