// The messages Radixpad and its common library (libQyCommon.so) exchange. This header
// is shared by both sides, so it depends on QtCore only.
//
// Windows are passed through the intptr_t arguments of SendMsg and the message
// parameters as QObject pointers (reinterpret_cast<intptr_t>(static_cast<QObject*>(w)));
// the receiver casts back to QObject* and uses qobject_cast to reach the widget.
// Text arguments are NUL-terminated UTF-8 strings that live for the duration of the call.
#pragma once

#include <QEvent>
#include <cstdint>

namespace radixpad {

/// The one entry point the common library exports:
/// extern "C" intptr_t SendMsg(intptr_t code, intptr_t a, intptr_t b, intptr_t c, intptr_t d).
using SendMsgFunction = intptr_t (*)(intptr_t code, intptr_t a, intptr_t b, intptr_t c, intptr_t d);
inline constexpr char kSendMsgSymbol[] = "SendMsg";

/// File name of the common library in the program folder.
inline constexpr char kCommonLibraryFileName[] = "libQyCommon.so";

/// SendMsg codes and their arguments (a, b, c, d).
enum SendMsgCode : intptr_t {
  kSendAttach = 1,              // shared settings file, user settings file, application, main window
  kSendAttachPreview = 5,       // preview window, 0, 0, 0; nonzero result: preview served
  kSendShowAbout = 10,          // main window, 0, 0, 0
  kSendAlwaysOnTop = 50,        // main window, 0 or 1, 0, 0
  kSendSnapToDesktopSide = 51,  // main window, 0 or 1, 0, 0
  kSendMinimizeToTray = 52,     // main window, 0 or 1, 0, 0
  kSendUninstall = 55,          // 0, 0, 0, 0
};

/// Event types. The three window messages keep their numbers; the command message
/// (WM_COMMAND on the original platform, 0x111) is the fixed user type
/// QEvent::User + 0x111 = 1273, which none of the others collides with.
inline constexpr QEvent::Type kLookMessage = static_cast<QEvent::Type>(0x458);          // 1112
inline constexpr QEvent::Type kPreTranslateMessage = static_cast<QEvent::Type>(0x45A);  // 1114
inline constexpr QEvent::Type kTrayNotifyMessage = static_cast<QEvent::Type>(0x552);    // 1362
inline constexpr QEvent::Type kCommandMessage = static_cast<QEvent::Type>(QEvent::User + 0x111);

/// Sub-codes of the look message (wParam); the value travels in lParam.
enum LookSubCode : intptr_t {
  kLookReleasePreview = 6,
  kLookSetBackgroundColor = 60,  // 0x00BBGGRR
  kLookSetTextColor = 61,        // 0x00BBGGRR
  kLookSetShowImage = 62,        // 0 or 1
  kLookSetDisplayMethod = 63,    // 0..7
  kLookSetImagePath = 64,        // const char*, UTF-8
  kLookGetBackgroundColor = 110,
  kLookGetTextColor = 111,
  kLookGetShowImage = 112,
  kLookGetDisplayMethod = 113,
  kLookGetImagePath = 114,  // lParam: char buffer of kLookPathBufferSize; nonzero if a path was copied
};
inline constexpr int kLookPathBufferSize = 260;
/// The colour value (sub-codes 60, 61, 110, 111) of a colour never chosen: the desktop
/// theme's colour is shown.
inline constexpr uint32_t kLookColorNotSet = 0xFFFFFFFFu;

/// Display methods of a background image (sub-codes 63 and 113); any other
/// value is laid out as kDisplayTile.
enum DisplayMethod : int {
  kDisplayCenter = 0,
  kDisplayStretch = 1,
  kDisplayTile = 2,
  kDisplayTopLeft = 3,
  kDisplayTopRight = 4,
  kDisplayBottomLeft = 5,
  kDisplayBottomRight = 6,
  kDisplayThreeByThree = 7,  // "3x3 Tiling"
};

/// Tray notification: wParam is the icon id, the low word of lParam the mouse message.
inline constexpr intptr_t kTrayIconId = 10001;
inline constexpr intptr_t kMouseRightButtonUp = 0x205;

/// Command ids carried by the command message.
enum CommandId : intptr_t {
  kCommandCancel = 2,  // close request
  kCommandAbout = 16,
  kCommandRestore = 1017,
  kCommandOptions = 1018,
  kCommandExit = 1021,
  kCommandUninstall = 1022,
  kCommandHelp = 57670,
};

/// A window message as a Qt event: two parameters in, one result out. Sent with
/// QCoreApplication::sendEvent, the receiver stores its answer with setResult.
class CWindowMessageEvent : public QEvent {
 public:
  CWindowMessageEvent(QEvent::Type type, intptr_t wParam, intptr_t lParam)
      : QEvent(type), m_wParam(wParam), m_lParam(lParam) {}

  intptr_t wParam() const { return m_wParam; }
  intptr_t lParam() const { return m_lParam; }
  intptr_t result() const { return m_result; }
  void setResult(intptr_t result) { m_result = result; }

 private:
  intptr_t m_wParam;
  intptr_t m_lParam;
  intptr_t m_result = 0;
};

/// Look message: wParam a LookSubCode, lParam its value.
class CLookEvent : public CWindowMessageEvent {
 public:
  CLookEvent(intptr_t subCode, intptr_t value) : CWindowMessageEvent(kLookMessage, subCode, value) {}
  intptr_t subCode() const { return wParam(); }
};

/// Pre-translate message: wParam points to the QEvent about to be delivered, lParam is
/// its receiver (QObject*). A nonzero result means the library consumed it.
class CPreTranslateEvent : public CWindowMessageEvent {
 public:
  CPreTranslateEvent(QEvent* event, QObject* receiver)
      : CWindowMessageEvent(kPreTranslateMessage, reinterpret_cast<intptr_t>(event),
                            reinterpret_cast<intptr_t>(receiver)) {}
  QEvent* event() const { return reinterpret_cast<QEvent*>(wParam()); }
  QObject* receiver() const { return reinterpret_cast<QObject*>(lParam()); }
};

/// Tray notification from the library: wParam kTrayIconId, lParam's low word the mouse message.
class CTrayNotifyEvent : public CWindowMessageEvent {
 public:
  CTrayNotifyEvent(intptr_t iconId, intptr_t mouseMessage)
      : CWindowMessageEvent(kTrayNotifyMessage, iconId, mouseMessage) {}
  intptr_t mouseMessage() const { return lParam() & 0xFFFF; }
};

/// Command message: wParam the command id (notification code 0), lParam 0.
/// `posted` marks a command that went through the event queue (postEvent):
/// the exit command is obeyed only then.
class CCommandEvent : public CWindowMessageEvent {
 public:
  explicit CCommandEvent(intptr_t commandId, bool posted = false)
      : CWindowMessageEvent(kCommandMessage, commandId, 0), m_posted(posted) {}
  intptr_t commandId() const { return wParam() & 0xFFFF; }
  bool posted() const { return m_posted; }

 private:
  bool m_posted;
};

/// Window-menu (system) command message, WM_SYSCOMMAND on the original
/// platform: the fixed user type QEvent::User + 0x112 = 1274. wParam is the command:
/// one of SysCommand, or a command id appended to the window menu.
inline constexpr QEvent::Type kSysCommandMessage = static_cast<QEvent::Type>(QEvent::User + 0x112);

enum SysCommand : intptr_t {
  kScMinimize = 0xF020,
  kScMaximize = 0xF030,
  kScClose = 0xF060,
  kScRestore = 0xF120,
};

class CSysCommandEvent : public CWindowMessageEvent {
 public:
  explicit CSysCommandEvent(intptr_t command) : CWindowMessageEvent(kSysCommandMessage, command, 0) {}
  intptr_t command() const { return wParam(); }
};

/// The largest image file either side reads (the options page, the painted look); a
/// larger one is refused before it is read.
inline constexpr qint64 kMaxImageFileBytes = qint64{64} * 1024 * 1024;

}  // namespace radixpad
