// The common library's inner side: the SendMsg codes and the windows it serves. The
// shared library wraps one CCommonCore; tests may own one directly.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QObject;
class QWidget;

namespace radixpad::commonlib {

class CServedWindow;

struct CoreOptions {
  /// Folder of the library: Default.dat and the help page index.htm lie here.
  QString programFolder;
  /// Whether a system tray exists now; empty asks QSystemTrayIcon.
  std::function<bool()> trayAvailable;
};

class CCommonCore {
 public:
  explicit CCommonCore(CoreOptions options = {});
  /// Stops serving every window. Run when the library is unloaded, so nothing of the
  /// library stays behind on windows that outlive it.
  ~CCommonCore();
  CCommonCore(const CCommonCore&) = delete;
  CCommonCore& operator=(const CCommonCore&) = delete;

  /// The exported entry's work. Unknown codes and bad arguments give 0.
  intptr_t SendMsg(intptr_t code, intptr_t a, intptr_t b, intptr_t c, intptr_t d);

  /// The served window for `window`, or null.
  CServedWindow* Served(const QObject* window) const;
  /// Stops serving (deletes `served`). Nothing of `served` may be used afterwards.
  void Release(CServedWindow* served);

  bool TrayAvailable() const;
  QString DefaultsFile() const;
  QString HelpFile() const;
  /// String.dat beside the library; empty without a program folder.
  QString TextFile() const;
  QString UserSettingsFile() const { return m_userSettingsFile; }

  /// The live widget an argument names, or null: the pointer is only compared with the
  /// application's widgets, never followed, so a stale or foreign value is harmless.
  static QWidget* LiveWidget(intptr_t argument);

 private:
  intptr_t Attach(intptr_t sharedFile, intptr_t userFile, intptr_t window);
  intptr_t AttachPreview(intptr_t window);
  intptr_t ShowAbout(intptr_t window);
  intptr_t Behaviour(intptr_t code, intptr_t window, intptr_t value);
  intptr_t Uninstall();

  CoreOptions m_options;
  QString m_userSettingsFile;  // of the last attach
  std::vector<std::unique_ptr<CServedWindow>> m_served;
};

}  // namespace radixpad::commonlib
