#include "registry.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "registry_store.h"
#include "registry_test_support.h"

namespace radixpad::test {
namespace {

using namespace std::string_literals;
using CRegistryTest = RegistryFixture;

constexpr const char* kBrowserKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE";

TEST_F(CRegistryTest, ConnectRules) {
  const std::string local = LocalComputerName();
  const struct {
    const char* label;
    HKEY root;
    const char* computer;
    LONG code;
  } cases[] = {
      {"local machine, no name", HKEY_LOCAL_MACHINE, nullptr, ERROR_SUCCESS},
      {"local machine, empty name", HKEY_LOCAL_MACHINE, "", ERROR_SUCCESS},
      {"local machine by its name", HKEY_LOCAL_MACHINE, local.c_str(), ERROR_SUCCESS},
      {"users", HKEY_USERS, nullptr, ERROR_SUCCESS},
      {"current user", HKEY_CURRENT_USER, nullptr, ERROR_SUCCESS},
      {"classes root", HKEY_CLASSES_ROOT, nullptr, ERROR_SUCCESS},
      {"current user with a name", HKEY_CURRENT_USER, "somehost", ERROR_INVALID_HANDLE},
      {"classes root with the local name", HKEY_CLASSES_ROOT, local.c_str(), ERROR_INVALID_HANDLE},
      {"remote local machine", HKEY_LOCAL_MACHINE, "far-away-host", ERROR_BAD_NETPATH},
      {"remote users", HKEY_USERS, "\\\\far-away-host", ERROR_BAD_NETPATH},
      {"performance data", HKEY_PERFORMANCE_DATA, nullptr, ERROR_CALL_NOT_IMPLEMENTED},
      {"not a root", HKEY{0x1234}, nullptr, ERROR_INVALID_HANDLE},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    CRegistry registry;
    EXPECT_EQ(registry.Connect(c.root, c.computer), c.code == ERROR_SUCCESS);
    EXPECT_EQ(registry.GetError(), c.code);
    std::string rootName = "untouched", computer = "untouched";
    registry.GetRootKeyName(rootName);
    registry.GetComputer(computer);
    if (c.code == ERROR_SUCCESS) {
      EXPECT_EQ(registry.GetRootKey(), c.root);
      EXPECT_EQ(rootName, CRegistry::RootKeyName(c.root));
      EXPECT_EQ(computer, c.computer && *c.computer ? std::string(c.computer) : local);
    } else {
      EXPECT_EQ(registry.GetRootKey(), HKEY{});
      EXPECT_EQ(rootName, "");
    }
  }
}

TEST_F(CRegistryTest, RootNames) {
  const std::pair<HKEY, const char*> names[] = {
      {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},
      {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
      {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},
      {HKEY_USERS, "HKEY_USERS"},
      {HKEY_PERFORMANCE_DATA, "HKEY_PERFORMANCE_DATA"},
      {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG"},
      {HKEY_DYN_DATA, "HKEY_DYN_DATA"},
      {HKEY{0x80000007u}, "Unknown"},
      {HKEY{}, "Unknown"},
  };
  for (const auto& [root, name] : names) EXPECT_STREQ(CRegistry::RootKeyName(root), name);
}

TEST_F(CRegistryTest, BrowserLookupAsTheHelpCommandDoesIt) {
  const auto lookup = [] {
    CRegistry registry;
    std::string browser;
    if (registry.Connect(HKEY_LOCAL_MACHINE, nullptr) && registry.OpenKey(kBrowserKey, KEY_READ))
      registry.GetStringValue("", browser);
    return std::make_pair(browser, registry.GetError());
  };
  EXPECT_EQ(lookup(), std::make_pair(""s, ERROR_FILE_NOT_FOUND));

  {
    CRegistry writer;
    ASSERT_TRUE(writer.Connect(HKEY_LOCAL_MACHINE));
    ASSERT_TRUE(writer.CreateKey(kBrowserKey));
    ASSERT_TRUE(writer.SetStringValue("", "/usr/bin/browser"));
  }
  EXPECT_EQ(lookup(), std::make_pair("/usr/bin/browser"s, ERROR_SUCCESS));

  WriteText(FileOf("HKEY_LOCAL_MACHINE"), "not a store file\n");
  EXPECT_EQ(lookup(), std::make_pair(""s, ERROR_REGISTRY_CORRUPT));
}

TEST_F(CRegistryTest, EveryTypedValueSurvivesCloseAndReopen) {
  const std::vector<BYTE> bytes = {0, 1, 0x7f, 0x80, 0xff, '\n', '"', '\\'};
  const std::vector<std::string> strings = {"one", "two with spaces", "\xc3\xa9t\xc3\xa9"};
  const std::string qword = "\x01\x02\x03\x04\x05\x06\x07\x08"s;
  {
    CRegistry registry;
    ASSERT_TRUE(registry.Connect(HKEY_CURRENT_USER));
    DWORD disposition = 0;
    ASSERT_TRUE(registry.CreateKey("Typed", nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &disposition));
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    EXPECT_TRUE(registry.SetStringValue("string", "text \"quoted\"\nnext line"));
    EXPECT_TRUE(registry.SetValue("string via overload", "overload"s));
    EXPECT_TRUE(registry.SetDWORDValue("dword", 0xdeadbeef));
    EXPECT_TRUE(registry.SetValue("dword via overload", DWORD{7}));
    EXPECT_TRUE(registry.SetBinaryValue("binary", bytes));
    EXPECT_TRUE(registry.SetBinaryValue("empty binary", {}));
    EXPECT_TRUE(registry.SetValue("binary via overload", std::vector<BYTE>{9}));
    EXPECT_TRUE(registry.SetMultiStringValue("multi", strings));
    EXPECT_TRUE(registry.SetValue("empty multi", std::vector<std::string>{}));
    EXPECT_TRUE(registry.SetValue("expand", REG_EXPAND_SZ, reinterpret_cast<const BYTE*>("%HOME%"), 7));
    EXPECT_TRUE(registry.SetValue("qword", REG_QWORD, reinterpret_cast<const BYTE*>(qword.data()), 8));
    EXPECT_TRUE(registry.SetValue("none", REG_NONE, reinterpret_cast<const BYTE*>(""), 0));
    EXPECT_TRUE(registry.Flush());
    EXPECT_TRUE(registry.Close());
  }
  CRegistry registry;
  ASSERT_TRUE(registry.Connect(HKEY_CURRENT_USER));
  ASSERT_TRUE(registry.OpenKey("typed", KEY_READ));
  std::string text;
  EXPECT_TRUE(registry.GetStringValue("string", text));
  EXPECT_EQ(text, "text \"quoted\"\nnext line");
  EXPECT_TRUE(registry.GetValue("string via overload", text));
  EXPECT_EQ(text, "overload");
  DWORD number = 0;
  EXPECT_TRUE(registry.GetDWORDValue("dword", number));
  EXPECT_EQ(number, 0xdeadbeefu);
  EXPECT_TRUE(registry.GetValue("dword via overload", number));
  EXPECT_EQ(number, 7u);
  std::vector<BYTE> readBytes = {42};
  EXPECT_TRUE(registry.GetBinaryValue("binary", readBytes));
  EXPECT_EQ(readBytes, bytes);
  EXPECT_TRUE(registry.GetBinaryValue("empty binary", readBytes));
  EXPECT_TRUE(readBytes.empty());
  EXPECT_TRUE(registry.GetValue("binary via overload", readBytes));
  EXPECT_EQ(readBytes, std::vector<BYTE>{9});
  std::vector<std::string> readStrings = {"stale"};
  EXPECT_TRUE(registry.GetMultiStringValue("multi", readStrings));
  EXPECT_EQ(readStrings, strings);
  EXPECT_TRUE(registry.GetValue("empty multi", readStrings));
  EXPECT_TRUE(readStrings.empty());

  const struct {
    const char* name;
    DWORD type;
    std::string data;
  } raw[] = {{"expand", REG_EXPAND_SZ, "%HOME%\0"s}, {"qword", REG_QWORD, qword}, {"none", REG_NONE, ""}};
  for (const auto& r : raw) {
    BYTE buffer[16] = {};
    DWORD size = sizeof buffer, type = 99;
    EXPECT_TRUE(registry.QueryValue(r.name, &type, buffer, &size)) << r.name;
    EXPECT_EQ(type, r.type) << r.name;
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), size), r.data) << r.name;
  }
}

TEST_F(CRegistryTest, QueryInfoAndEnumerationAgree) {
  CRegistry registry;
  ASSERT_TRUE(registry.Connect(HKEY_CURRENT_USER));
  ASSERT_TRUE(registry.CreateKey("Info\\bbbb", "cc"));
  ASSERT_TRUE(registry.CreateKey("Info\\a"));
  ASSERT_TRUE(registry.CreateKey("Info"));
  ASSERT_TRUE(registry.SetBinaryValue("x", {1, 2, 3, 4, 5}));
  ASSERT_TRUE(registry.SetDWORDValue("longname", 1));
  ASSERT_TRUE(registry.QueryInfo());
  EXPECT_EQ(registry.GetSubKeyCount(), 2u);
  EXPECT_EQ(registry.GetValueCount(), 2u);
  EXPECT_EQ(registry.GetLongestSubKeyName(), 4u);
  EXPECT_EQ(registry.GetLongestClassName(), 2u);
  EXPECT_EQ(registry.GetLongestValueName(), 8u);
  EXPECT_EQ(registry.GetLongestValueData(), 5u);
  EXPECT_EQ(registry.GetSecurityDescriptorSize(), 0u);

  std::vector<std::pair<std::string, std::string>> keys;
  std::string name, className;
  DWORD index = 0;
  for (; registry.EnumKey(index, name, className); ++index) {
    keys.emplace_back(name, className);
    EXPECT_NE(registry.GetLastWriteTime().dwHighDateTime, 0u) << "the subkey's write time is kept";
  }
  EXPECT_EQ(registry.GetError(), ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(keys, (std::vector<std::pair<std::string, std::string>>{{"a", ""}, {"bbbb", "cc"}}));

  std::vector<std::pair<std::string, DWORD>> values;
  for (index = 0;; ++index) {
    DWORD type = 0, size = 0;
    if (!registry.EnumValue(index, name, &type, nullptr, &size)) break;
    values.emplace_back(name, size);
    EXPECT_EQ(type, name == "x" ? REG_BINARY : REG_DWORD);
  }
  EXPECT_EQ(registry.GetError(), ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(values, (std::vector<std::pair<std::string, DWORD>>{{"x", 5}, {"longname", 4}}));
}

TEST_F(CRegistryTest, DeleteKeyByNameAndByPath) {
  CRegistry registry;
  ASSERT_TRUE(registry.Connect(HKEY_CURRENT_USER));
  for (const char* path : {"Parent\\ByName\\Below\\Deeper", "Parent\\ByPath\\Below", "Parent\\Keep"})
    ASSERT_TRUE(registry.CreateKey(path));

  ASSERT_TRUE(registry.OpenKey("Parent", KEY_ALL_ACCESS));
  EXPECT_TRUE(registry.DeleteKey("ByName"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Parent\\ByName"));

  ASSERT_TRUE(registry.OpenKey("Parent\\Keep", KEY_ALL_ACCESS));
  EXPECT_TRUE(registry.DeleteKey("Parent\\ByPath")) << "a path is taken from the root";
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Parent\\ByPath"));
  std::string keyName;
  registry.GetKeyName(keyName);
  EXPECT_EQ(keyName, "Parent") << "the parent stays open";
  EXPECT_TRUE(registry.SetDWORDValue("still open", 1));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Parent\\Keep"));

  EXPECT_FALSE(registry.DeleteKey("Missing\\Child"));
  EXPECT_EQ(registry.GetError(), ERROR_FILE_NOT_FOUND);
  registry.GetKeyName(keyName);
  EXPECT_EQ(keyName, "Parent") << "the key name is kept when the parent cannot be opened";

  // An empty leaf would name the parent itself: nothing below it may go.
  EXPECT_FALSE(registry.DeleteKey("Parent\\"));
  EXPECT_EQ(registry.GetError(), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(registry.DeleteKey(""));
  EXPECT_EQ(registry.GetError(), ERROR_INVALID_PARAMETER);
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Parent\\Keep"));
}

TEST_F(CRegistryTest, DeletesADeepWideSubtree) {
  CRegistry registry;
  ASSERT_TRUE(registry.Connect(HKEY_CURRENT_USER));
  std::vector<std::string> level = {"Tree"};
  for (int depth = 0; depth < 5; ++depth) {
    std::vector<std::string> next;
    for (const std::string& path : level) {
      for (const char* child : {"\\L", "\\R"}) {
        next.push_back(path + child);
        ASSERT_TRUE(registry.CreateKey(next.back().c_str()));
        ASSERT_TRUE(registry.SetDWORDValue("depth", static_cast<DWORD>(depth)));
      }
    }
    level = std::move(next);
  }
  ASSERT_TRUE(registry.CreateKey("TreeSibling"));
  ASSERT_TRUE(registry.OpenKey("", KEY_ALL_ACCESS));
  EXPECT_TRUE(registry.DeleteKey("Tree"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Tree"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "TreeSibling"));
}

TEST_F(CRegistryTest, DeletionStopsAtAChildThatCannotBeDeleted) {
  // A mounted key cannot be deleted; here one sits below the key to delete.
  WriteText(FileOf("HKEY_CURRENT_USER"),
            "Radixpad registry 1\n"
            "[Top]\n[Top\\A]\n[Top\\A\\Leaf]\n"
            "[Top\\M]\n@loaded \"/somewhere/file\"\n[Top\\M\\Inside]\n"
            "[Top\\Z]\n");
  CRegistry registry;
  ASSERT_TRUE(registry.Connect(HKEY_CURRENT_USER));
  ASSERT_TRUE(registry.OpenKey("", KEY_ALL_ACCESS));
  EXPECT_FALSE(registry.DeleteKey("Top"));
  EXPECT_EQ(registry.GetError(), ERROR_ACCESS_DENIED);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Top\\A")) << "children before it are gone";
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Top\\M"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Top\\Z")) << "the walk stopped at M";
}

TEST_F(CRegistryTest, MultiStringReadStopsWithTheData) {
  const struct {
    const char* label;
    std::string data;
    std::vector<std::string> strings;
  } cases[] = {
      {"closed list", "a\0b\0\0"s, {"a", "b"}},
      {"no closing empty string", "a\0b\0"s, {"a", "b"}},
      {"no final nul", "a\0bc"s, {"a", "bc"}},
      {"one string without nul", "abc"s, {"abc"}},
      {"empty data", ""s, {}},
      {"only the closing nul", "\0"s, {}},
      {"stops at the first empty string", "a\0\0b\0\0"s, {"a"}},
  };
  CRegistry registry;
  ASSERT_TRUE(registry.Connect(HKEY_CURRENT_USER));
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    // One value per key, so the read buffer is exactly as long as the data.
    ASSERT_TRUE(registry.CreateKey(("Multi\\" + std::to_string(n++)).c_str()));
    std::vector<BYTE> bytes(c.data.begin(), c.data.end());
    bytes.push_back(0);  // a pointer to pass even for empty data
    ASSERT_TRUE(registry.SetValue("m", REG_MULTI_SZ, bytes.data(), static_cast<DWORD>(c.data.size())));
    std::vector<std::string> strings = {"stale"};
    EXPECT_TRUE(registry.GetMultiStringValue("m", strings));
    EXPECT_EQ(strings, c.strings);
  }
}

TEST_F(CRegistryTest, StringReads) {
  CRegistry registry;
  ASSERT_TRUE(registry.Connect(HKEY_CURRENT_USER));
  ASSERT_TRUE(registry.CreateKey("Strings"));
  std::string text = "stale";
  EXPECT_FALSE(registry.GetStringValue("missing", text));
  EXPECT_EQ(registry.GetError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(text, "");

  ASSERT_TRUE(registry.SetValue("unterminated", REG_SZ, reinterpret_cast<const BYTE*>("abcdef"), 3));
  EXPECT_TRUE(registry.GetStringValue("unterminated", text));
  EXPECT_EQ(text, "abc");

  ASSERT_TRUE(registry.SetStringValue("long", std::string(2048, 'x')));
  EXPECT_FALSE(registry.GetStringValue("long", text)) << "2049 bytes with the NUL do not fit";
  EXPECT_EQ(registry.GetError(), ERROR_MORE_DATA);
  EXPECT_TRUE(text.empty());
  ASSERT_TRUE(registry.SetStringValue("longest", std::string(2047, 'y')));
  EXPECT_TRUE(registry.GetStringValue("longest", text));
  EXPECT_TRUE(text == std::string(2047, 'y'));

  ASSERT_TRUE(registry.OpenKey("Strings", KEY_READ));
  EXPECT_FALSE(registry.SetStringValue("refused", "x"));
  EXPECT_EQ(registry.GetError(), ERROR_ACCESS_DENIED);
}

TEST_F(CRegistryTest, MissingRequiredArgumentIsCode87AndTouchesNothing) {
  CRegistry registry;
  ASSERT_TRUE(registry.Connect(HKEY_CURRENT_USER));
  ASSERT_TRUE(registry.CreateKey("Args"));
  std::string text = "untouched";
  DWORD number = 77;
  std::vector<BYTE> bytes = {7};
  std::vector<std::string> strings = {"untouched"};
  const SECURITY_INFORMATION info = 4;
  char descriptor[8];
  const std::vector<std::pair<const char*, std::function<bool()>>> calls = {
      {"CreateKey", [&] { return registry.CreateKey(nullptr); }},
      {"DeleteKey", [&] { return registry.DeleteKey(nullptr); }},
      {"GetBinaryValue", [&] { return registry.GetBinaryValue(nullptr, bytes); }},
      {"GetDWORDValue", [&] { return registry.GetDWORDValue(nullptr, number); }},
      {"GetStringValue", [&] { return registry.GetStringValue(nullptr, text); }},
      {"GetMultiStringValue", [&] { return registry.GetMultiStringValue(nullptr, strings); }},
      {"GetValue strings", [&] { return registry.GetValue(nullptr, strings); }},
      {"GetValue string", [&] { return registry.GetValue(nullptr, text); }},
      {"GetValue dword", [&] { return registry.GetValue(nullptr, number); }},
      {"GetValue bytes", [&] { return registry.GetValue(nullptr, bytes); }},
      {"GetKeySecurity", [&] { return registry.GetKeySecurity(info, nullptr, &number); }},
      {"LoadKey subkey", [&] { return registry.LoadKey(nullptr, "file"); }},
      {"LoadKey file", [&] { return registry.LoadKey("key", nullptr); }},
      {"QueryValue", [&] { return registry.QueryValue(nullptr, &number, nullptr, nullptr); }},
      {"ReplaceKey", [&] { return registry.ReplaceKey("key", "new", nullptr); }},
      {"RestoreKey", [&] { return registry.RestoreKey(nullptr); }},
      {"SaveKey", [&] { return registry.SaveKey(nullptr); }},
      {"SetBinaryValue", [&] { return registry.SetBinaryValue(nullptr, bytes); }},
      {"SetDWORDValue", [&] { return registry.SetDWORDValue(nullptr, 1); }},
      {"SetKeySecurity descriptor", [&] { return registry.SetKeySecurity(&info, nullptr); }},
      {"SetKeySecurity information", [&] { return registry.SetKeySecurity(nullptr, descriptor); }},
      {"SetStringValue", [&] { return registry.SetStringValue(nullptr, "x"); }},
      {"SetMultiStringValue", [&] { return registry.SetMultiStringValue(nullptr, strings); }},
      {"SetValue raw name", [&] { return registry.SetValue(nullptr, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2); }},
      {"SetValue raw data", [&] { return registry.SetValue("x", REG_SZ, nullptr, 2); }},
      {"SetValue string", [&] { return registry.SetValue(nullptr, "x"s); }},
      {"SetValue strings", [&] { return registry.SetValue(nullptr, strings); }},
      {"SetValue dword", [&] { return registry.SetValue(nullptr, DWORD{1}); }},
      {"SetValue bytes", [&] { return registry.SetValue(nullptr, bytes); }},
      {"UnLoadKey", [&] { return registry.UnLoadKey(nullptr); }},
  };
  for (const auto& [label, call] : calls) {
    EXPECT_FALSE(call()) << label;
    EXPECT_EQ(registry.GetError(), ERROR_INVALID_PARAMETER) << label;
  }
  EXPECT_EQ(text, "untouched");
  EXPECT_EQ(number, 77u);
  EXPECT_EQ(bytes, std::vector<BYTE>{7});
  EXPECT_EQ(strings, std::vector<std::string>{"untouched"});
  DWORD values = 1;
  EXPECT_EQ(RegQueryInfoKey(registry.GetOpenKey(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                            nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(values, 0u) << "nothing was written";
}

TEST_F(CRegistryTest, OperationsWithoutMeaningHereAreCode120) {
  CRegistry registry;
  ASSERT_TRUE(registry.Connect(HKEY_CURRENT_USER));
  ASSERT_TRUE(registry.CreateKey("NoMeaning"));
  char descriptor[8];
  DWORD size = sizeof descriptor;
  const SECURITY_INFORMATION info = 4;
  EXPECT_FALSE(registry.GetKeySecurity(info, descriptor, &size));
  EXPECT_EQ(registry.GetError(), ERROR_CALL_NOT_IMPLEMENTED);
  EXPECT_FALSE(registry.SetKeySecurity(&info, descriptor));
  EXPECT_EQ(registry.GetError(), ERROR_CALL_NOT_IMPLEMENTED);
  EXPECT_FALSE(registry.NotifyChange(nullptr, REG_NOTIFY_CHANGE_LAST_SET, true, false));
  EXPECT_EQ(registry.GetError(), ERROR_CALL_NOT_IMPLEMENTED);
  EXPECT_FALSE(registry.ReplaceKey("x", "new", "old"));
  EXPECT_EQ(registry.GetError(), ERROR_CALL_NOT_IMPLEMENTED);
}

// Overrides of typed operations reached through the overloads.
class CCountingRegistry : public CRegistry {
 public:
  bool GetStringValue(const char*, std::string& text) override {
    text = "from the override";
    return true;
  }
  bool SetDWORDValue(const char* name, DWORD number) override {
    ++dwordWrites;
    return CRegistry::SetDWORDValue(name, number + 1);
  }
  int dwordWrites = 0;
};

TEST_F(CRegistryTest, OverloadsCallTheTypedOperationsVirtually) {
  CCountingRegistry registry;
  ASSERT_TRUE(registry.Connect(HKEY_CURRENT_USER));
  ASSERT_TRUE(registry.CreateKey("Derived"));
  CRegistry& base = registry;
  std::string text;
  EXPECT_TRUE(base.GetValue("anything", text));
  EXPECT_EQ(text, "from the override");
  EXPECT_TRUE(base.SetValue("n", DWORD{41}));
  EXPECT_EQ(registry.dwordWrites, 1);
  DWORD number = 0;
  EXPECT_TRUE(base.GetValue("n", number));
  EXPECT_EQ(number, 42u);
}

class CThrowingRegistry : public CRegistry {
 public:
  bool OpenKey(const char*, REGSAM) override { throw std::runtime_error("interrupted"); }
};

TEST_F(CRegistryTest, AnExceptionInsideDeleteKeyBecomesCode1064) {
  CThrowingRegistry registry;
  ASSERT_TRUE(registry.Connect(HKEY_CURRENT_USER));
  ASSERT_TRUE(registry.CreateKey("A\\B"));
  EXPECT_FALSE(registry.DeleteKey("A\\B"));
  EXPECT_EQ(registry.GetError(), ERROR_EXCEPTION_IN_SERVICE);
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "A\\B"));
}

TEST_F(CRegistryTest, CloseAndReconnectReleaseHandles) {
  CRegistry registry;
  EXPECT_TRUE(registry.Close()) << "nothing held";
  ASSERT_TRUE(registry.Connect(HKEY_CURRENT_USER));
  ASSERT_TRUE(registry.CreateKey("Held"));
  const HKEY first = registry.GetOpenKey();
  ASSERT_TRUE(registry.Connect(HKEY_LOCAL_MACHINE));
  EXPECT_EQ(RegCloseKey(first), ERROR_INVALID_HANDLE) << "the key open before Connect was closed";
  EXPECT_EQ(registry.GetOpenKey(), HKEY{});

  ASSERT_TRUE(registry.CreateKey("Held"));
  const HKEY second = registry.GetOpenKey();
  EXPECT_TRUE(registry.Close());
  EXPECT_EQ(RegCloseKey(second), ERROR_INVALID_HANDLE);
  EXPECT_EQ(registry.GetRootKey(), HKEY{});
  std::string name = "x";
  registry.GetRootKeyName(name);
  EXPECT_EQ(name, "");
  registry.GetKeyName(name);
  EXPECT_EQ(name, "");
  EXPECT_FALSE(registry.OpenKey("Held", KEY_READ)) << "no root after Close";
  EXPECT_EQ(registry.GetError(), ERROR_INVALID_HANDLE);
}

TEST_F(CRegistryTest, SaveThenRestoreAndLoad) {
  CRegistry registry;
  ASSERT_TRUE(registry.Connect(HKEY_USERS));
  ASSERT_TRUE(registry.CreateKey("Profile\\Colors"));
  ASSERT_TRUE(registry.SetDWORDValue("Text", 0x00112233));
  ASSERT_TRUE(registry.SetMultiStringValue("Recent", {"a", "b"}));
  ASSERT_TRUE(registry.OpenKey("Profile", KEY_ALL_ACCESS));
  ASSERT_TRUE(registry.SetStringValue("Name", "me"));
  HKEY profile{};
  ASSERT_EQ(RegOpenKeyEx(HKEY_USERS, "Profile", 0, KEY_READ, &profile), ERROR_SUCCESS);
  const std::string before = Dump(profile);

  const std::string file = Scratch("profile.saved");
  ASSERT_TRUE(registry.SaveKey(file.c_str()));
  ASSERT_TRUE(registry.DeleteKey("Colors"));
  ASSERT_TRUE(registry.SetStringValue("Name", "someone else"));
  EXPECT_NE(Dump(profile), before);
  ASSERT_TRUE(registry.RestoreKey(file.c_str()));
  EXPECT_EQ(Dump(profile), before);
  RegCloseKey(profile);

  ASSERT_TRUE(registry.LoadKey("Copy", file.c_str()));
  ASSERT_TRUE(registry.OpenKey("", KEY_ALL_ACCESS));
  HKEY copy{};
  ASSERT_EQ(RegOpenKeyEx(HKEY_USERS, "Copy", 0, KEY_READ, &copy), ERROR_SUCCESS);
  EXPECT_EQ(Dump(copy), before);
  RegCloseKey(copy);
  EXPECT_TRUE(registry.UnLoadKey("Copy"));
  EXPECT_FALSE(KeyExists(HKEY_USERS, "Copy"));
}

}  // namespace
}  // namespace radixpad::test
