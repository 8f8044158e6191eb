// One window the library serves: its look, its behaviours and, for the main window, the
// tray icon and the close and minimise requests.
#pragma once

#include <QObject>
#include <QPalette>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdint>

#include "look.h"
#include "settings_save.h"

class QSystemTrayIcon;

namespace radixpad::commonlib {

class CCommonCore;

class CServedWindow : public QObject {
  Q_OBJECT

 public:
  enum class Role { kMain, kPreview };

  /// Starts serving `window`: an event filter on it answers the look message (and, for
  /// the main window, the pre-translate message) and paints the look.
  CServedWindow(CCommonCore& core, QWidget* window, Role role);
  /// Stops serving: the filter goes, the window's own palette comes back (when the
  /// window still exists), the tray icon goes.
  ~CServedWindow() override;
  CServedWindow(const CServedWindow&) = delete;
  CServedWindow& operator=(const CServedWindow&) = delete;

  QWidget* Window() const { return m_window; }
  Role GetRole() const { return m_role; }
  void SetRole(Role role) { m_role = role; }

  /// Reads the behaviours (user settings file, else defaults file) and, for the main
  /// window, the saved look, and applies them; shows the tray icon when a tray exists.
  void Attach(const QString& userSettingsFile, const QString& defaultsFile);

  void SetAlwaysOnTop(bool on);
  void SetSnapToDesktopSide(bool on);
  void SetMinimizeToTray(bool on);
  bool AlwaysOnTop() const { return m_alwaysOnTop; }
  bool SnapToDesktopSide() const { return m_snap; }
  bool MinimizeToTray() const { return m_minimizeToTray; }

  const LookValues& Look() const { return m_look; }
  /// The loaded background image; null when none is shown.
  const QPixmap& Image() const { return m_image; }

  /// The tray icon, or null (no tray, or not the main window).
  QSystemTrayIcon* TrayIcon() const { return m_trayIcon; }
  /// The window was hidden by the library and waits in the tray.
  bool HiddenToTray() const { return m_hiddenToTray && m_window && !m_window->isVisible(); }

  /// A look message: sub-code and value in, the answer out. A value set on the main
  /// window is saved once the program gets its next turn, with every other value set
  /// before it (SaveUnsavedLook).
  intptr_t OnLookMessage(intptr_t subCode, intptr_t value);
  /// Saves the look values set and not saved yet, in one write; a save that could not be
  /// made is told as `moment` says.
  void SaveUnsavedLook(SaveMoment moment);
  /// Forgets the look values set and not saved yet (their keys are being emptied).
  void DropUnsavedLook() { m_unsavedLook.clear(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool OnPreTranslate(QEvent* event, QObject* receiver);
  void ApplyLook();
  void LoadImage();
  void PaintBackground();
  void SaveLookSoon(const char* key);
  uint32_t EffectiveColor(uint32_t ref, QPalette::ColorRole role) const;

  bool TrayUsable();
  void EnsureTrayIcon();
  void UpdateTrayIcon();
  void HideToTray();
  void RestoreFromTray();
  void OnTrayRightClick();
  void PostExit();
  void SnapNow();

  CCommonCore& m_core;
  QPointer<QWidget> m_window;
  Role m_role;
  QString m_userSettingsFile;        // where the main window's look is saved; empty: nowhere
  QList<const char*> m_unsavedLook;  // keys (lookkeys) of values set and not saved yet
  bool m_lookSavePosted = false;

  LookValues m_look;
  QPixmap m_image;
  // The window's palette before the library touched it, and whether it was its own.
  QPalette m_originalPalette;
  bool m_hadOwnPalette = false;

  bool m_alwaysOnTop = false;
  bool m_snap = false;
  bool m_minimizeToTray = false;
  bool m_hiddenToTray = false;

  QSystemTrayIcon* m_trayIcon = nullptr;  // child of this object
  QTimer m_snapTimer;                     // the end of a move: no move for a short while
};

}  // namespace radixpad::commonlib
