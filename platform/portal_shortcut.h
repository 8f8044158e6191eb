// One shortcut bound through the desktop portal's GlobalShortcuts interface (Wayland
// desktops that offer it): a session of our own, the shortcut "toggle-window" bound
// in it with a preferred trigger, and its activations. Every call is asynchronous:
// the state changes as the portal answers.
#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QVariantMap>

class QDBusMessage;

namespace radixpad {

inline constexpr char kPortalService[] = "org.freedesktop.portal.Desktop";
inline constexpr char kPortalPath[] = "/org/freedesktop/portal/desktop";
inline constexpr char kGlobalShortcutsInterface[] = "org.freedesktop.portal.GlobalShortcuts";
inline constexpr char kPortalRequestInterface[] = "org.freedesktop.portal.Request";
inline constexpr char kPortalSessionInterface[] = "org.freedesktop.portal.Session";
/// The id of Radixpad's one shortcut in its session.
inline constexpr char kToggleShortcutId[] = "toggle-window";

/// A shortcut as the portal passes it, D-Bus signature (sa{sv}).
struct PortalShortcut {
  QString id;
  QVariantMap properties;
};
using PortalShortcutList = QList<PortalShortcut>;
QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut);
/// Registers the shortcut types with QtDBus (once; later calls do nothing).
void RegisterPortalShortcutTypes();

class CPortalShortcut : public QObject {
  Q_OBJECT

 public:
  enum class State {
    kIdle,
    kBinding,      // asked; the portal has not answered yet
    kBound,        // Trigger() is the key the desktop reports
    kUnavailable,  // no bus, no portal, or a portal without GlobalShortcuts
    kRefused,      // the user cancelled the desktop's dialog
    kFailed,       // an error: Error() says which
    kClosed,       // the desktop ended the session
  };

  /// `description` is how the desktop lists the shortcut in its settings.
  CPortalShortcut(const QDBusConnection& bus, const QString& description, QObject* parent = nullptr);
  /// Closes the session.
  ~CPortalShortcut() override;

  /// Creates the session and binds the shortcut with `preferredTrigger` (the portal's
  /// form, "CTRL+ALT+k"). Once per object.
  void Bind(const QString& preferredTrigger);

  State state() const { return m_state; }
  QString Trigger() const { return m_trigger; }
  QString Error() const { return m_error; }
  /// The session's object path once the portal created it.
  QString SessionHandle() const { return m_session; }

 signals:
  void stateChanged();
  /// The desktop reported the shortcut of this session pressed.
  void activated();

 private slots:
  void OnResponse(const QDBusMessage& message);
  void OnActivated(const QDBusMessage& message);
  void OnShortcutsChanged(const QDBusMessage& message);
  void OnSessionClosed(const QDBusMessage& message);

 private:
  enum class Step { kNone, kCreatingSession, kBindingShortcut };

  void CreateSession();
  void BindShortcut();
  /// Sends `call`, a portal method returning a request handle, and listens for the
  /// request's Response at the handle predicted from `token` and at the one returned.
  void SendRequest(const QDBusMessage& call, const QString& token);
  void ListenForResponse(const QString& requestPath);
  void StopListeningForResponse();
  void TakeShortcuts(const PortalShortcutList& shortcuts);
  void SetState(State state, const QString& error = QString());

  QDBusConnection m_bus;
  QString m_description;
  QString m_preferredTrigger;
  State m_state = State::kIdle;
  Step m_step = Step::kNone;
  QString m_requestPath;
  QString m_session;
  QString m_expectedSession;  // predicted from our token before the portal confirms it
  QString m_trigger;
  QString m_error;
};

}  // namespace radixpad

Q_DECLARE_METATYPE(radixpad::PortalShortcut)
