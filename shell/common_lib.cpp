#include "common_lib.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QObject>
#include <memory>

#include "load_failure_box.h"
#include "settings_keys.h"
#include "shell_folders.h"
#include "version_code.h"

namespace radixpad {
namespace {

// The loaded library and its entry, shared by every CCommonLib of the process (the
// preview window's CCommonLib loads nothing and calls through the main window's link).
struct LibraryLink {
  std::unique_ptr<QLibrary> library;
  SendMsgFunction entry = nullptr;
};

LibraryLink& Link() {
  static LibraryLink link;
  return link;
}

CCommonLib::MessageBoxHook& Hook() {
  static CCommonLib::MessageBoxHook hook;
  return hook;
}

QString ExecutableFolder() {
  if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
  return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).path();
}

// Creates one folder level; an existing folder is fine and a failure is ignored (the
// settings are then simply not written).
void CreateFolder(const QString& path) { QDir().mkdir(path); }

// Appends "Quillory/" and "Radixpad/", creating each.
QString AppendProductFolders(const QString& base) {
  QString path = WithTrailingSeparator(base) + QStringLiteral("Quillory/");
  CreateFolder(path);
  path += QStringLiteral("Radixpad/");
  CreateFolder(path);
  return path;
}

// Without a user configuration folder the settings go to a folder of the user's own
// under the temporary folder, never into that shared folder itself. One that is not a
// real folder of this user (a link, someone else's) is not used, and the settings are
// then not kept at all.
QString PrivateTemporaryFolder() { return PrivateFolder(UserTemporaryFolder()); }

// Older releases kept the shared folder under a "profiles" folder; the word and the
// separator after it go.
QString WithoutProfilesFolder(QString path) {
  const qsizetype at = path.toLower().indexOf(QStringLiteral("profiles"));
  if (at >= 0) path.remove(at, 9);
  return path;
}

// The folder of `kind`, created when missing, or empty.
QString LookUpFolder(const CShellFolders& folders, QObject* owner, int kind) {
  QString folder;
  folders.GetFolderPath(owner, kind, folder, true);
  return folder;
}

void ShowLoadFailure(QObject* owner, const QString& text) {
  if (Hook()) {
    Hook()(owner, text);
  } else {
    ShowLoadFailureBox(owner, text);
  }
}

}  // namespace

CCommonLib::CCommonLib() : CCommonLib(GetWindowsVersionCode()) {}

CCommonLib::CCommonLib(int windowsVersionCode) : m_versionCode(windowsVersionCode) {}

void CCommonLib::SetupFolders(QObject* owner) { SetupFolders(owner, ExecutableFolder()); }

void CCommonLib::SetupFolders(QObject* owner, const QString& programFolder) {
  const CShellFolders folders;
  ShellPaths paths;
  paths.programFolder = programFolder.isEmpty() ? QString() : WithTrailingSeparator(programFolder);

  QString folder = LookUpFolder(folders, owner, kFolderAppData);
  if (!folder.isEmpty()) {
    paths.userSettingsFolder = AppendProductFolders(folder);
  } else {
    paths.userSettingsFolder = PrivateTemporaryFolder();
  }

  // Shared documents: nothing else uses these folders; Linux has none.
  folder = LookUpFolder(folders, owner, kFolderCommonDocuments);
  if (m_versionCode >= 107 && !folder.isEmpty()) AppendProductFolders(folder);

  folder = LookUpFolder(folders, owner, kFolderCommonAppData);
  if (!folder.isEmpty()) {
    if (m_versionCode < 7) folder = WithoutProfilesFolder(folder);
    paths.sharedSettingsFolder = AppendProductFolders(folder);
  } else {
    paths.sharedSettingsFolder = paths.userSettingsFolder;
  }

  const QString settingsFile = QString::fromLatin1(files::kUserSettings);
  // No folder, no file: a bare file name would land in the working folder.
  if (!paths.userSettingsFolder.isEmpty()) paths.userSettingsFile = paths.userSettingsFolder + settingsFile;
  if (!paths.sharedSettingsFolder.isEmpty()) paths.sharedSettingsFile = paths.sharedSettingsFolder + settingsFile;
  paths.textFile = paths.programFolder + QString::fromLatin1(files::kTexts);
  paths.defaultsFile = paths.programFolder + QString::fromLatin1(files::kDefaults);

  folder = LookUpFolder(folders, owner, kFolderStartup);
  if (!folder.isEmpty()) {
    paths.startupEntryPath =
        WithTrailingSeparator(folder) + QString::fromLatin1(kProductName) + QStringLiteral(".desktop");
  }
  m_paths = paths;
}

bool CCommonLib::Load(QObject* mainWindow) {
  // Never a bare file name: the loader would search the system's library folders.
  const QString folder =
      m_paths.programFolder.isEmpty() ? WithTrailingSeparator(ExecutableFolder()) : m_paths.programFolder;
  return Load(mainWindow, folder + QString::fromLatin1(kCommonLibraryFileName));
}

bool CCommonLib::Load(QObject* mainWindow, const QString& libraryFile) {
  Unload();
  auto library = std::make_unique<QLibrary>(libraryFile);
  if (library->load()) {
    Link().entry = reinterpret_cast<SendMsgFunction>(library->resolve(kSendMsgSymbol));
    if (Link().entry) {
      Link().library = std::move(library);
      return true;
    }
    library->unload();
  } else {
    ShowLoadFailure(mainWindow, library->errorString());
  }
  if (mainWindow) QCoreApplication::postEvent(mainWindow, new CCommandEvent(kCommandCancel, /*posted=*/true));
  return false;
}

void CCommonLib::Unload() {
  LibraryLink& link = Link();
  link.entry = nullptr;
  if (link.library) link.library->unload();
  link.library.reset();
}

bool CCommonLib::IsLoaded() { return Link().entry != nullptr; }

intptr_t CCommonLib::Attach(QObject* mainWindow) {
  m_owner = mainWindow;
  const QByteArray shared = QFile::encodeName(m_paths.sharedSettingsFile);
  const QByteArray user = QFile::encodeName(m_paths.userSettingsFile);
  return Send(kSendAttach, reinterpret_cast<intptr_t>(shared.constData()), reinterpret_cast<intptr_t>(user.constData()),
              WindowArg(QCoreApplication::instance()), WindowArg(mainWindow));
}

intptr_t CCommonLib::AttachPreview(QObject* previewWindow) {
  m_owner = previewWindow;
  return Send(kSendAttachPreview, WindowArg(previewWindow));
}

intptr_t CCommonLib::ShowAbout() { return Send(kSendShowAbout, WindowArg(m_owner)); }

intptr_t CCommonLib::SendBehaviour(intptr_t code, bool on) { return Send(code, WindowArg(m_owner), on ? 1 : 0); }

intptr_t CCommonLib::Send(intptr_t code, intptr_t a, intptr_t b, intptr_t c, intptr_t d) {
  const SendMsgFunction entry = Link().entry;
  if (!entry) return 0;
  return entry(code, a, b, c, d);
}

void CCommonLib::SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }

}  // namespace radixpad
