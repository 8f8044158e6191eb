#include "global_key_x11.h"

#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace radixpad {
namespace {

constexpr uint8_t kBadAccess = 10;  // another client holds the grab
// The XKEYBOARD events that say the keyboard's mapping changed.
constexpr uint8_t kXkbNewKeyboardNotify = 0;
constexpr uint8_t kXkbMapNotify = 1;

}  // namespace

CX11KeyGrab::CX11KeyGrab(xcb_connection_t* connection, uint32_t root, QKeyCombination key, QObject* parent)
    : QObject(parent), m_connection(connection), m_root(root), m_key(key) {
  static constexpr char kXkb[] = "XKEYBOARD";
  const XcbReply<xcb_query_extension_reply_t> xkb(
      xcb_query_extension_reply(m_connection, xcb_query_extension(m_connection, sizeof kXkb - 1, kXkb), nullptr));
  if (xkb && xkb->present) m_xkbFirstEvent = xkb->first_event;
  QCoreApplication::instance()->installNativeEventFilter(this);
  ReadMappings();
  Grab();
}

CX11KeyGrab::~CX11KeyGrab() {
  if (QCoreApplication* app = QCoreApplication::instance()) app->removeNativeEventFilter(this);
  Release();
}

void CX11KeyGrab::ReadMappings() {
  const xcb_setup_t* setup = xcb_get_setup(m_connection);
  const auto keyboardCookie = xcb_get_keyboard_mapping(
      m_connection, setup->min_keycode, static_cast<uint8_t>(setup->max_keycode - setup->min_keycode + 1));
  const auto modifierCookie = xcb_get_modifier_mapping(m_connection);
  const XcbReply<xcb_get_keyboard_mapping_reply_t> keyboardReply(
      xcb_get_keyboard_mapping_reply(m_connection, keyboardCookie, nullptr));
  const XcbReply<xcb_get_modifier_mapping_reply_t> modifierReply(
      xcb_get_modifier_mapping_reply(m_connection, modifierCookie, nullptr));
  X11KeyboardMapping keyboard;
  X11ModifierMapping modifiers;
  if (keyboardReply) {
    keyboard.minKeycode = setup->min_keycode;
    keyboard.keysymsPerKeycode = keyboardReply->keysyms_per_keycode;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(keyboardReply.get());
    keyboard.keysyms.assign(syms, syms + xcb_get_keyboard_mapping_keysyms_length(keyboardReply.get()));
  }
  if (modifierReply) {
    modifiers.keycodesPerModifier = modifierReply->keycodes_per_modifier;
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(modifierReply.get());
    modifiers.keycodes.assign(codes, codes + xcb_get_modifier_mapping_keycodes_length(modifierReply.get()));
  }
  m_masks = ModifierMasksOf(keyboard, modifiers);
  m_grab = GrabOf(m_key, keyboard, m_masks);
}

void CX11KeyGrab::Grab() {
  m_error.clear();
  if (m_grab.keycodes.empty()) {
    m_result = Result::kNotOnKeyboard;
    return;
  }
  // Every request first, then every check: one round trip rather than one per grab.
  struct Attempt {
    uint8_t keycode;
    uint16_t modifiers;
    xcb_void_cookie_t cookie;
  };
  std::vector<Attempt> attempts;
  for (uint8_t keycode : m_grab.keycodes) {
    for (uint16_t modifiers : LockVariants(m_grab.modifiers, m_masks)) {
      attempts.push_back({keycode, modifiers,
                          // Events of the grab go to the root window even while one of ours has
                          // the focus: the key never reaches a field as typing.
                          xcb_grab_key_checked(m_connection, 0, m_root, modifiers, keycode, XCB_GRAB_MODE_ASYNC,
                                               XCB_GRAB_MODE_ASYNC)});
    }
  }
  bool inUse = false;
  int otherError = 0;
  for (const Attempt& attempt : attempts) {
    xcb_generic_error_t* error = xcb_request_check(m_connection, attempt.cookie);
    if (!error) {
      m_taken.emplace_back(attempt.keycode, attempt.modifiers);
      continue;
    }
    if (error->error_code == kBadAccess) {
      inUse = true;
    } else if (otherError == 0) {
      otherError = error->error_code;
    }
    std::free(error);
  }
  if (!inUse && otherError == 0) {
    m_result = Result::kActive;
    return;
  }
  // Only what this program took goes back; the other client's grab stays as it was.
  Release();
  m_result = inUse ? Result::kInUse : Result::kFailed;
  if (!inUse) m_error = QStringLiteral("X11 error %1").arg(otherError);
}

void CX11KeyGrab::Release() {
  for (const auto& [keycode, modifiers] : m_taken) xcb_ungrab_key(m_connection, keycode, m_root, modifiers);
  if (!m_taken.empty()) xcb_flush(m_connection);
  m_taken.clear();
  m_down = false;
}

void CX11KeyGrab::ScheduleRegrab() {
  if (m_regrabScheduled) return;
  m_regrabScheduled = true;
  // After Qt has seen the same notification and the burst of them has passed.
  QMetaObject::invokeMethod(this, &CX11KeyGrab::Regrab, Qt::QueuedConnection);
}

void CX11KeyGrab::Regrab() {
  m_regrabScheduled = false;
  const Result before = m_result;
  Release();
  ReadMappings();
  Grab();
  if (m_result != before) emit resultChanged();
}

bool CX11KeyGrab::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  if (eventType != "xcb_generic_event_t") return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  const uint8_t type = event->response_type & 0x7f;
  if (type == XCB_KEY_PRESS || type == XCB_KEY_RELEASE) {
    const auto* key = static_cast<const xcb_key_press_event_t*>(message);
    if (m_taken.empty() || key->event != m_root ||
        std::find(m_grab.keycodes.begin(), m_grab.keycodes.end(), key->detail) == m_grab.keycodes.end()) {
      return false;
    }
    if (type == XCB_KEY_RELEASE) {
      // The modifiers may already be up: any release of the key ends the press.
      m_down = false;
      m_releaseTime = key->time;
    } else if (SameModifiers(key->state, m_grab.modifiers, m_masks)) {
      // Auto-repeat sends presses while the key is held, each right after a release
      // with its own time when the server does not hide those releases.
      const bool repeat = m_down || key->time == m_releaseTime;
      m_down = true;
      if (!repeat) QMetaObject::invokeMethod(this, &CX11KeyGrab::activated, Qt::QueuedConnection);
    }
    // Qt sees the event too: it keeps the server time it activates windows with.
    return false;
  }
  if (type == XCB_MAPPING_NOTIFY) {
    const auto* mapping = static_cast<const xcb_mapping_notify_event_t*>(message);
    if (mapping->request != XCB_MAPPING_POINTER) ScheduleRegrab();
  } else if (m_xkbFirstEvent >= 0 && type == m_xkbFirstEvent) {
    // XKEYBOARD events carry their own type in the second byte.
    const uint8_t xkbType = reinterpret_cast<const uint8_t*>(message)[1];
    if (xkbType == kXkbNewKeyboardNotify || xkbType == kXkbMapNotify) ScheduleRegrab();
  }
  return false;
}

std::pair<xcb_connection_t*, uint32_t> ApplicationX11Connection() {
  // Only a GUI application has a display connection (qGuiApp would cast any application).
  auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  auto* application = gui ? gui->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  xcb_connection_t* connection = application ? application->connection() : nullptr;
  if (!connection) return {nullptr, 0};
  int screenNumber = 0;
  char* host = nullptr;
  int display = 0;
  if (xcb_parse_display(nullptr, &host, &display, &screenNumber) == 0) screenNumber = 0;
  std::free(host);
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
  for (int i = 0; i < screenNumber && screens.rem > 1; ++i) xcb_screen_next(&screens);
  if (screens.rem == 0) return {nullptr, 0};
  return {connection, screens.data->root};
}

}  // namespace radixpad
