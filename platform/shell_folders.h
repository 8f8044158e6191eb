// The special folders Radixpad keeps its files in, by folder kind.
#pragma once

#include <QString>
#include <cstdint>

class QObject;

namespace radixpad {

/// Folder kinds, numbered as on the original platform.
enum FolderKind : int {
  kFolderStartup = 7,           // $XDG_CONFIG_HOME/autostart
  kFolderAppData = 26,          // $XDG_CONFIG_HOME, else ~/.config
  kFolderCommonAppData = 35,    // first entry of $XDG_CONFIG_DIRS, else /etc/xdg
  kFolderCommonDocuments = 46,  // none on Linux: the lookup always fails
};

/// Result codes of a lookup.
inline constexpr int32_t kFolderOk = 0;
inline constexpr int32_t kFolderFail = static_cast<int32_t>(0x80004005u);

class CShellFolders {
 public:
  /// Puts the folder of `kind` into `path` and returns kFolderOk, or empties `path`
  /// and returns kFolderFail. The path is the environment's as given, as a rule
  /// without a trailing separator. With `create`, a missing folder is created (with
  /// its parents); a folder that cannot be created makes the lookup fail.
  /// `owner` is the window the lookup is made for; it may be null.
  int32_t GetFolderPath(QObject* owner, int kind, QString& path, bool create) const;
};

/// `path` with a "/" appended unless it already ends in one.
QString WithTrailingSeparator(const QString& path);

/// `folder` as a folder of this user's alone: made (mode 0700) when missing; one that is
/// already there must be a real folder (not a link) owned by this user, and is made 0700.
/// Returns `folder` with a trailing separator, or empty when no such folder can be had.
QString PrivateFolder(const QString& folder);

/// True when `folder` is a real folder (not a link) of this user that no other user can
/// write to.
bool IsFolderOfThisUser(const QString& folder);

/// The user's own folder under the temporary folder, "radixpad-<uid>": it holds the
/// settings when there is no configuration folder. Only the name; nothing is made.
QString UserTemporaryFolder();

}  // namespace radixpad
