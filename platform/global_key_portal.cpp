#include <QCoreApplication>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include "portal_shortcut.h"

namespace radixpad {
namespace {

constexpr char kPropertiesInterface[] = "org.freedesktop.DBus.Properties";
const QString kRequestPathPrefix = QStringLiteral("/org/freedesktop/portal/desktop/request/");
const QString kSessionPathPrefix = QStringLiteral("/org/freedesktop/portal/desktop/session/");

// Request responses: 0 success, 1 cancelled by the user, 2 ended otherwise.
constexpr uint kResponseSuccess = 0;
constexpr uint kResponseCancelled = 1;

QString NewToken() {
  static int counter = 0;
  return QStringLiteral("radixpad_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
}

// The portal names requests and sessions after the caller's unique bus name, without
// its ':' and with '_' for each '.'.
QString SenderPart(const QDBusConnection& bus) {
  return bus.baseService().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
}

// Object paths come as a path, or, in some results, as a string.
QString PathOf(const QVariant& value) {
  if (value.metaType() == QMetaType::fromType<QDBusObjectPath>()) return value.value<QDBusObjectPath>().path();
  return value.toString();
}

QDBusMessage PortalCall(const QString& path, const char* interface, const char* method) {
  return QDBusMessage::createMethodCall(QString::fromLatin1(kPortalService), path, QString::fromLatin1(interface),
                                        QString::fromLatin1(method));
}

}  // namespace

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut) {
  argument.beginStructure();
  argument << shortcut.id << shortcut.properties;
  argument.endStructure();
  return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut) {
  argument.beginStructure();
  argument >> shortcut.id >> shortcut.properties;
  argument.endStructure();
  return argument;
}

void RegisterPortalShortcutTypes() {
  static const bool registered = [] {
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<PortalShortcutList>();
    return true;
  }();
  (void)registered;
}

CPortalShortcut::CPortalShortcut(const QDBusConnection& bus, const QString& description, QObject* parent)
    : QObject(parent), m_bus(bus), m_description(description) {
  RegisterPortalShortcutTypes();
}

CPortalShortcut::~CPortalShortcut() {
  StopListeningForResponse();
  // A session the portal has not confirmed yet is closed under the name it will have.
  const QString session = m_session.isEmpty() ? m_expectedSession : m_session;
  if (!session.isEmpty() && m_bus.isConnected()) m_bus.send(PortalCall(session, kPortalSessionInterface, "Close"));
}

void CPortalShortcut::Bind(const QString& preferredTrigger) {
  if (m_state != State::kIdle) return;
  m_preferredTrigger = preferredTrigger;
  if (!m_bus.isConnected()) {
    SetState(State::kUnavailable, m_bus.lastError().message());
    return;
  }
  SetState(State::kBinding);
  // The portal has the interface only where a backend of the desktop implements it.
  QDBusMessage get = PortalCall(QString::fromLatin1(kPortalPath), kPropertiesInterface, "Get");
  get << QString::fromLatin1(kGlobalShortcutsInterface) << QStringLiteral("version");
  auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(get), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
    call->deleteLater();
    if (call->isError()) {
      SetState(State::kUnavailable, call->error().message());
      return;
    }
    CreateSession();
  });
}

void CPortalShortcut::CreateSession() {
  const QString service = QString::fromLatin1(kPortalService);
  const QString path = QString::fromLatin1(kPortalPath);
  const QString interface = QString::fromLatin1(kGlobalShortcutsInterface);
  m_bus.connect(service, path, interface, QStringLiteral("Activated"), this, SLOT(OnActivated(QDBusMessage)));
  m_bus.connect(service, path, interface, QStringLiteral("ShortcutsChanged"), this,
                SLOT(OnShortcutsChanged(QDBusMessage)));
  const QString token = NewToken();
  const QString sessionToken = NewToken();
  m_expectedSession = kSessionPathPrefix + SenderPart(m_bus) + QLatin1Char('/') + sessionToken;
  QDBusMessage call = PortalCall(path, kGlobalShortcutsInterface, "CreateSession");
  call << QVariantMap{{QStringLiteral("handle_token"), token}, {QStringLiteral("session_handle_token"), sessionToken}};
  m_step = Step::kCreatingSession;
  SendRequest(call, token);
}

void CPortalShortcut::BindShortcut() {
  QVariantMap properties{{QStringLiteral("description"), m_description}};
  if (!m_preferredTrigger.isEmpty()) properties.insert(QStringLiteral("preferred_trigger"), m_preferredTrigger);
  const PortalShortcutList shortcuts{{QString::fromLatin1(kToggleShortcutId), properties}};
  const QString token = NewToken();
  QDBusMessage call = PortalCall(QString::fromLatin1(kPortalPath), kGlobalShortcutsInterface, "BindShortcuts");
  call << QVariant::fromValue(QDBusObjectPath(m_session)) << QVariant::fromValue(shortcuts) << QString()
       << QVariantMap{{QStringLiteral("handle_token"), token}};
  m_step = Step::kBindingShortcut;
  SendRequest(call, token);
}

void CPortalShortcut::SendRequest(const QDBusMessage& call, const QString& token) {
  // Listening before the call: the response may follow the reply at once.
  ListenForResponse(kRequestPathPrefix + SenderPart(m_bus) + QLatin1Char('/') + token);
  auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
  const QString predicted = m_requestPath;
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, predicted](QDBusPendingCallWatcher* pending) {
    pending->deleteLater();
    // Nothing to do once the request has been answered and the next one is under way.
    if (m_requestPath != predicted) return;
    const QDBusPendingReply<QDBusObjectPath> reply = *pending;
    if (reply.isError()) {
      StopListeningForResponse();
      SetState(State::kFailed, reply.error().message());
      return;
    }
    // Older portals name the request their own way.
    if (const QString handle = reply.value().path(); handle != predicted) ListenForResponse(handle);
  });
}

void CPortalShortcut::ListenForResponse(const QString& requestPath) {
  StopListeningForResponse();
  m_requestPath = requestPath;
  m_bus.connect(QString::fromLatin1(kPortalService), m_requestPath, QString::fromLatin1(kPortalRequestInterface),
                QStringLiteral("Response"), this, SLOT(OnResponse(QDBusMessage)));
}

void CPortalShortcut::StopListeningForResponse() {
  if (m_requestPath.isEmpty()) return;
  m_bus.disconnect(QString::fromLatin1(kPortalService), m_requestPath, QString::fromLatin1(kPortalRequestInterface),
                   QStringLiteral("Response"), this, SLOT(OnResponse(QDBusMessage)));
  m_requestPath.clear();
}

void CPortalShortcut::OnResponse(const QDBusMessage& message) {
  if (m_requestPath.isEmpty() || message.path() != m_requestPath) return;
  StopListeningForResponse();
  const QVariantList arguments = message.arguments();
  if (arguments.size() < 2) {
    SetState(State::kFailed, QStringLiteral("malformed portal response"));
    return;
  }
  const uint response = arguments[0].toUInt();
  if (response == kResponseCancelled) {
    SetState(State::kRefused);
    return;
  }
  if (response != kResponseSuccess) {
    SetState(State::kFailed, QStringLiteral("portal response %1").arg(response));
    return;
  }
  const QVariantMap results = qdbus_cast<QVariantMap>(arguments[1]);
  if (m_step == Step::kCreatingSession) {
    m_session = PathOf(results.value(QStringLiteral("session_handle")));
    if (m_session.isEmpty()) {
      SetState(State::kFailed, QStringLiteral("the portal created no session"));
      return;
    }
    m_bus.connect(QString::fromLatin1(kPortalService), m_session, QString::fromLatin1(kPortalSessionInterface),
                  QStringLiteral("Closed"), this, SLOT(OnSessionClosed(QDBusMessage)));
    BindShortcut();
  } else if (m_step == Step::kBindingShortcut) {
    m_step = Step::kNone;
    TakeShortcuts(qdbus_cast<PortalShortcutList>(results.value(QStringLiteral("shortcuts"))));
    SetState(State::kBound);
  }
}

void CPortalShortcut::OnActivated(const QDBusMessage& message) {
  const QVariantList arguments = message.arguments();
  if (m_state != State::kBound || arguments.size() < 2) return;
  // Every session's activations reach every listener: only ours count.
  if (PathOf(arguments[0]) == m_session && arguments[1].toString() == QLatin1String(kToggleShortcutId)) {
    emit activated();
  }
}

void CPortalShortcut::OnShortcutsChanged(const QDBusMessage& message) {
  const QVariantList arguments = message.arguments();
  if (m_state != State::kBound || arguments.size() < 2 || PathOf(arguments[0]) != m_session) return;
  TakeShortcuts(qdbus_cast<PortalShortcutList>(arguments[1]));
  emit stateChanged();
}

void CPortalShortcut::OnSessionClosed(const QDBusMessage& message) {
  if (message.path() != m_session) return;
  m_session.clear();
  m_expectedSession.clear();
  SetState(State::kClosed);
}

void CPortalShortcut::TakeShortcuts(const PortalShortcutList& shortcuts) {
  for (const PortalShortcut& shortcut : shortcuts) {
    if (shortcut.id == QLatin1String(kToggleShortcutId)) {
      m_trigger = shortcut.properties.value(QStringLiteral("trigger_description")).toString();
    }
  }
}

void CPortalShortcut::SetState(State state, const QString& error) {
  m_state = state;
  m_error = error;
  emit stateChanged();
}

}  // namespace radixpad
