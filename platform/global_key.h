// A key that reaches this program from any other: on X11 a grab of the key on the
// root window; on Wayland the desktop portal's GlobalShortcuts, where the desktop
// offers it. Where neither works, the desktop's own keyboard settings must bind a
// command instead. Nothing is loaded or asked until a key is set.
#pragma once

#include <QKeyCombination>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace radixpad {

/// No key at all (a default QKeyCombination is Qt::Key_unknown, which counts as none too).
inline constexpr QKeyCombination kNoKey = QKeyCombination::fromCombined(0);
bool IsNoKey(QKeyCombination key);

/// What the choice of the way depends on. DISPLAY is left out on purpose: XWayland sets
/// it on a Wayland session too.
struct GlobalKeyEnvironment {
  QString sessionType;     // XDG_SESSION_TYPE
  QString waylandDisplay;  // WAYLAND_DISPLAY
  QString qtPlatform;      // the Qt platform this program runs on: "xcb", "wayland", "offscreen"...
};

/// The environment of this process.
GlobalKeyEnvironment CurrentGlobalKeyEnvironment();

enum class GlobalKeyWay {
  kX11Grab,         // the program grabs the key from the X server
  kPortal,          // the desktop binds it for the program through the portal
  kDesktopSettings  // the user binds the toggle command in the desktop's settings
};

/// True on a Wayland session, also when this program runs through XWayland there: a
/// grab through XWayland would see only the keys typed into X11 windows.
bool IsWaylandSession(const GlobalKeyEnvironment& environment);

/// The way for `environment`: an X11 grab when this program runs on X11 outside a
/// Wayland session; else the portal when it offers GlobalShortcuts; else the desktop's
/// settings.
GlobalKeyWay ChooseGlobalKeyWay(const GlobalKeyEnvironment& environment, bool portalOffered);

enum class GlobalKeyState {
  kNone,             // no key set: nothing is taken
  kNeedsModifier,    // refused: alone, the key would be taken from typing everywhere
  kWaiting,          // the desktop has not answered yet
  kActive,           // the key works; Trigger() is the desktop's name for it, if it gave one
  kInUse,            // another program holds the key (X11)
  kNotOnKeyboard,    // no key of this keyboard types it (X11)
  kDesktopSettings,  // this desktop lets no program take a key: bind the command there
  kRefused,          // the user cancelled the desktop's dialog (portal)
  kClosed,           // the desktop ended the binding (portal)
  kFailed,           // the X server or the portal failed: Detail() says how
};

class CPortalShortcut;
class CX11KeyGrab;

/// The one show/hide key of the program.
class CGlobalKey : public QObject {
  Q_OBJECT

 public:
  /// `description` gives the name of the key's action in the desktop's settings; it is
  /// asked only when the portal is.
  CGlobalKey(const GlobalKeyEnvironment& environment, std::function<QString()> description, QObject* parent = nullptr);
  /// Releases the key.
  ~CGlobalKey() override;

  /// Takes `key` in place of the one before; an empty combination (no key) releases.
  /// Setting the key it already has changes nothing.
  void SetKey(QKeyCombination key);
  QKeyCombination Key() const { return m_key; }

  GlobalKeyState State() const { return m_state; }
  /// The way this environment offers; known once State() is past kWaiting.
  GlobalKeyWay Way() const { return m_way; }
  /// The key as the desktop names it (portal); empty where it gave no name.
  QString Trigger() const { return m_trigger; }
  /// The failure in the X server's or the portal's own words.
  QString Detail() const { return m_detail; }

 signals:
  void activated();
  void stateChanged();

 private:
  void Release();
  void TakeX11Result();
  void TakePortalState();
  void SetState(GlobalKeyState state);

  GlobalKeyEnvironment m_environment;
  std::function<QString()> m_description;
  QKeyCombination m_key = kNoKey;
  GlobalKeyState m_state = GlobalKeyState::kNone;
  GlobalKeyWay m_way = GlobalKeyWay::kDesktopSettings;
  QString m_trigger;
  QString m_detail;
  std::unique_ptr<CX11KeyGrab> m_grab;
  std::unique_ptr<CPortalShortcut> m_portal;
};

/// The combination stored as `text` ("Ctrl+Alt+K", Qt's portable form); empty for an
/// empty or unreadable text, or more than one combination.
QKeyCombination KeyFromText(const QString& text);
/// The portable form of `key`; empty for no key.
QString KeyToText(QKeyCombination key);
/// The form shown to the user (native names of the keys).
QString KeyToDisplayText(QKeyCombination key);

}  // namespace radixpad
