// One key combination taken from the whole X display: a passive grab on the root
// window for every combination of Caps Lock and Num Lock, checked one by one, taken
// again when the keyboard mapping changes and released when the object ends.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QKeyCombination>
#include <QObject>
#include <QString>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

#include "key_symbols.h"

struct xcb_connection_t;

namespace radixpad {

class CX11KeyGrab : public QObject, public QAbstractNativeEventFilter {
  Q_OBJECT

 public:
  enum class Result {
    kActive,
    kInUse,          // another client holds the key (with some Lock combination at least)
    kNotOnKeyboard,  // no key of the keyboard types it
    kFailed,         // the server refused for another reason: Error() says which
  };

  /// Grabs `key` on `root` at once over `connection` (Qt's own, whose events this
  /// object watches through the application's native event filters).
  CX11KeyGrab(xcb_connection_t* connection, uint32_t root, QKeyCombination key, QObject* parent = nullptr);
  ~CX11KeyGrab() override;

  Result result() const { return m_result; }
  /// The X error of kFailed, in words.
  QString Error() const { return m_error; }

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 signals:
  /// The key was pressed (once per press: auto-repeat does not count).
  void activated();
  /// A new keyboard mapping changed the result.
  void resultChanged();

 private:
  void Grab();
  void Release();
  void ReadMappings();
  void ScheduleRegrab();
  void Regrab();

  xcb_connection_t* m_connection;
  uint32_t m_root;
  QKeyCombination m_key;
  X11ModifierMasks m_masks;
  X11Grab m_grab;
  std::vector<std::pair<uint8_t, uint16_t>> m_taken;  // (keycode, modifiers) grabbed by us
  Result m_result = Result::kFailed;
  QString m_error;
  int m_xkbFirstEvent = -1;  // the XKEYBOARD extension's first event code, -1 without it
  bool m_down = false;       // the key is held: a repeat is no new press
  uint32_t m_releaseTime = 0;
  bool m_regrabScheduled = false;
};

/// An xcb reply, freed when it goes.
struct FreeXcbReply {
  void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply>
using XcbReply = std::unique_ptr<Reply, FreeXcbReply>;

/// The X connection and root window of this application when it runs on X11 (Qt's
/// "xcb" platform); a null connection elsewhere.
std::pair<xcb_connection_t*, uint32_t> ApplicationX11Connection();

}  // namespace radixpad
