#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "registry_store.h"

namespace radixpad::test {

/// Gives each test an empty store of its own, and keeps HOME and XDG_DATA_HOME away
/// from the real home folder.
class RegistryFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "radixpad-registry-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    setenv("HOME", (root_ + "/home").c_str(), 1);
    setenv("XDG_DATA_HOME", (root_ + "/data").c_str(), 1);
    setenv("RADIXPAD_REGISTRY_DIR", Store().c_str(), 1);
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  std::string Store() const { return root_ + "/store"; }
  std::string Scratch(const std::string& name) const { return root_ + "/" + name; }
  std::string FileOf(const char* rootName) const { return Store() + "/" + rootName + ".txt"; }

  static std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  static void WriteText(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }

  static HKEY Create(HKEY parent, const char* path, const char* className = nullptr) {
    HKEY key{};
    EXPECT_EQ(RegCreateKeyEx(parent, path, 0, className, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS)
        << path;
    return key;
  }
  static void SetBytes(HKEY key, const char* name, DWORD type, const std::string& bytes) {
    EXPECT_EQ(RegSetValueEx(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                            static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS)
        << name;
  }
  static bool KeyExists(HKEY parent, const char* path) {
    HKEY key{};
    if (RegOpenKeyEx(parent, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }

  /// Every key, value, type and byte below a key, one line each, for comparing subtrees.
  static std::string Dump(HKEY key, const std::string& indent = "") {
    std::string out;
    for (DWORD i = 0;; ++i) {
      char name[300];
      DWORD nameSize = sizeof name;
      DWORD type = 0;
      BYTE data[4096];
      DWORD dataSize = sizeof data;
      if (RegEnumValue(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
      out += indent + "\"" + name + "\" " + std::to_string(type) + " [" +
             std::string(reinterpret_cast<char*>(data), dataSize) + "]\n";
    }
    for (DWORD i = 0;; ++i) {
      char name[300];
      if (RegEnumKey(key, i, name, sizeof name) != ERROR_SUCCESS) break;
      HKEY child{};
      if (RegOpenKeyEx(key, name, 0, KEY_READ, &child) != ERROR_SUCCESS) return out + "unreadable " + name;
      out += indent + "[" + name + "]\n" + Dump(child, indent + "  ");
      RegCloseKey(child);
    }
    return out;
  }

 private:
  std::string root_;
};

}  // namespace radixpad::test
