#include "global_key.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <QKeySequence>

#include "global_key_x11.h"
#include "key_symbols.h"
#include "portal_shortcut.h"

namespace radixpad {

bool IsNoKey(QKeyCombination key) { return key.key() == 0 || key.key() == Qt::Key_unknown; }

GlobalKeyEnvironment CurrentGlobalKeyEnvironment() {
  return {qEnvironmentVariable("XDG_SESSION_TYPE"), qEnvironmentVariable("WAYLAND_DISPLAY"),
          QGuiApplication::platformName()};
}

bool IsWaylandSession(const GlobalKeyEnvironment& environment) {
  return environment.sessionType.compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0 ||
         !environment.waylandDisplay.isEmpty() ||
         environment.qtPlatform.startsWith(QLatin1String("wayland"), Qt::CaseInsensitive);
}

GlobalKeyWay ChooseGlobalKeyWay(const GlobalKeyEnvironment& environment, bool portalOffered) {
  if (!IsWaylandSession(environment) && environment.qtPlatform == QLatin1String("xcb")) return GlobalKeyWay::kX11Grab;
  return portalOffered ? GlobalKeyWay::kPortal : GlobalKeyWay::kDesktopSettings;
}

CGlobalKey::CGlobalKey(const GlobalKeyEnvironment& environment, std::function<QString()> description, QObject* parent)
    : QObject(parent), m_environment(environment), m_description(std::move(description)) {}

CGlobalKey::~CGlobalKey() = default;

void CGlobalKey::SetKey(QKeyCombination key) {
  if (IsNoKey(key)) key = kNoKey;
  // The same key again is asked for again only when the last asking did not hold it
  // (the page then says to choose the key again).
  const bool notHeld = m_state == GlobalKeyState::kRefused || m_state == GlobalKeyState::kClosed ||
                       m_state == GlobalKeyState::kFailed || m_state == GlobalKeyState::kInUse;
  if (key == m_key && !notHeld) return;
  Release();
  m_key = key;
  if (IsNoKey(key)) {
    SetState(GlobalKeyState::kNone);
    return;
  }
  if (!IsUsableGlobalKey(key)) {
    SetState(GlobalKeyState::kNeedsModifier);
    return;
  }
  m_way = ChooseGlobalKeyWay(m_environment, false);
  if (m_way == GlobalKeyWay::kX11Grab) {
    const auto [connection, root] = ApplicationX11Connection();
    if (!connection) {
      m_detail = QStringLiteral("no X11 connection");
      SetState(GlobalKeyState::kFailed);
      return;
    }
    m_grab = std::make_unique<CX11KeyGrab>(connection, root, key);
    connect(m_grab.get(), &CX11KeyGrab::activated, this, &CGlobalKey::activated);
    connect(m_grab.get(), &CX11KeyGrab::resultChanged, this, &CGlobalKey::TakeX11Result);
    TakeX11Result();
    return;
  }
  // Anywhere else the desktop is asked whether its portal binds keys.
  m_way = GlobalKeyWay::kPortal;
  m_portal =
      std::make_unique<CPortalShortcut>(QDBusConnection::sessionBus(), m_description ? m_description() : QString());
  connect(m_portal.get(), &CPortalShortcut::activated, this, &CGlobalKey::activated);
  connect(m_portal.get(), &CPortalShortcut::stateChanged, this, &CGlobalKey::TakePortalState);
  SetState(GlobalKeyState::kWaiting);
  m_portal->Bind(PortalTriggerOf(key));
}

void CGlobalKey::Release() {
  m_grab.reset();
  m_portal.reset();
  m_trigger.clear();
  m_detail.clear();
}

void CGlobalKey::TakeX11Result() {
  m_detail = m_grab->Error();
  switch (m_grab->result()) {
    case CX11KeyGrab::Result::kActive:
      SetState(GlobalKeyState::kActive);
      break;
    case CX11KeyGrab::Result::kInUse:
      SetState(GlobalKeyState::kInUse);
      break;
    case CX11KeyGrab::Result::kNotOnKeyboard:
      SetState(GlobalKeyState::kNotOnKeyboard);
      break;
    case CX11KeyGrab::Result::kFailed:
      SetState(GlobalKeyState::kFailed);
      break;
  }
}

void CGlobalKey::TakePortalState() {
  m_trigger = m_portal->Trigger();
  m_detail = m_portal->Error();
  switch (m_portal->state()) {
    case CPortalShortcut::State::kIdle:
    case CPortalShortcut::State::kBinding:
      SetState(GlobalKeyState::kWaiting);
      break;
    case CPortalShortcut::State::kBound:
      SetState(GlobalKeyState::kActive);
      break;
    case CPortalShortcut::State::kUnavailable:
      m_way = GlobalKeyWay::kDesktopSettings;
      SetState(GlobalKeyState::kDesktopSettings);
      break;
    case CPortalShortcut::State::kRefused:
      SetState(GlobalKeyState::kRefused);
      break;
    case CPortalShortcut::State::kFailed:
      SetState(GlobalKeyState::kFailed);
      break;
    case CPortalShortcut::State::kClosed:
      SetState(GlobalKeyState::kClosed);
      break;
  }
}

void CGlobalKey::SetState(GlobalKeyState state) {
  m_state = state;
  emit stateChanged();
}

QKeyCombination KeyFromText(const QString& text) {
  const QKeySequence sequence = QKeySequence::fromString(text.trimmed(), QKeySequence::PortableText);
  if (sequence.count() != 1 || IsNoKey(sequence[0])) return kNoKey;
  return sequence[0];
}

QString KeyToText(QKeyCombination key) {
  return IsNoKey(key) ? QString() : QKeySequence(key).toString(QKeySequence::PortableText);
}

QString KeyToDisplayText(QKeyCombination key) {
  return IsNoKey(key) ? QString() : QKeySequence(key).toString(QKeySequence::NativeText);
}

}  // namespace radixpad
