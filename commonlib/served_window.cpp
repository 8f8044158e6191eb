#include "served_window.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QWindow>
#include <cstring>
#include <limits>
#include <optional>

#include "common_core.h"
#include "ini_store.h"
#include "program_settings.h"
#include "qy_messages.h"
#include "settings_keys.h"
#include "settings_save.h"
#include "snap.h"

namespace radixpad::commonlib {

namespace {

// A move that has rested this long is over: window managers do not tell the end of a drag.
constexpr int kMoveSettleMs = 150;

QIcon FallbackIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(QColor(0x2B, 0x5B, 0x8C));
  painter.setPen(Qt::NoPen);
  painter.drawRoundedRect(QRectF(2, 2, 28, 28), 6, 6);
  painter.setBrush(Qt::white);
  painter.drawRect(QRectF(9, 8, 4, 16));
  painter.drawRect(QRectF(9, 8, 12, 4));
  return QIcon(pixmap);
}

}  // namespace

CServedWindow::CServedWindow(CCommonCore& core, QWidget* window, Role role)
    : m_core(core), m_window(window), m_role(role) {
  m_originalPalette = window->palette();
  m_hadOwnPalette = window->testAttribute(Qt::WA_SetPalette);
  m_snapTimer.setSingleShot(true);
  m_snapTimer.setInterval(kMoveSettleMs);
  connect(&m_snapTimer, &QTimer::timeout, this, &CServedWindow::SnapNow);
  window->installEventFilter(this);
  // The window goes first: forget it, and with it everything of the library on it.
  connect(window, &QObject::destroyed, this, [this] { m_core.Release(this); });
}

CServedWindow::~CServedWindow() {
  // A look given just before the window or the library goes is still saved.
  SaveUnsavedLook(SaveMoment::kEnding);
  m_snapTimer.stop();
  delete m_trayIcon;
  m_trayIcon = nullptr;
  QWidget* window = m_window.data();
  if (!window) return;
  window->removeEventFilter(this);
  // A command the library posted and the window has not taken yet must not outlive
  // the library's code.
  QCoreApplication::removePostedEvents(window, kCommandMessage);
  window->setPalette(m_hadOwnPalette ? m_originalPalette : QPalette());
  window->update();
}

void CServedWindow::Attach(const QString& userSettingsFile, const QString& defaultsFile) {
  m_userSettingsFile = m_role == Role::kMain ? userSettingsFile : QString();
  const auto behaviour = [&](const char* key) {
    return ReadWindowBehaviour(QString::fromLatin1(key), userSettingsFile, defaultsFile) != 0;
  };
  SetAlwaysOnTop(behaviour(keys::kAlwaysOnTop));
  SetSnapToDesktopSide(behaviour(keys::kSnapToDesktopSide));
  SetMinimizeToTray(behaviour(keys::kMinimizeToSystemTray));
  if (m_role == Role::kMain) {
    m_look = ReadSavedLook(m_userSettingsFile);
    LoadImage();
    ApplyLook();
    // The tray icon comes up once the event loop runs, so that the window is on
    // screen first; until then a close or minimise request creates it itself.
    QTimer::singleShot(0, this, [this] { EnsureTrayIcon(); });
  }
}

void CServedWindow::SetAlwaysOnTop(bool on) {
  m_alwaysOnTop = on;
  QWidget* window = m_window.data();
  if (!window || window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on) return;
  Qt::WindowFlags flags = window->windowFlags();
  flags.setFlag(Qt::WindowStaysOnTopHint, on);
  if (QWindow* handle = window->windowHandle()) {
    // QWidget::setWindowFlags re-creates the window through a hide, and hiding a
    // QDialog ends its exec(), the program's main loop. The native window takes the
    // flag in place instead.
    window->overrideWindowFlags(flags);
    handle->setFlags(flags);
  } else {
    window->setWindowFlags(flags);  // not created yet: nothing to hide
  }
}

void CServedWindow::SetSnapToDesktopSide(bool on) {
  m_snap = on;
  if (on) {
    m_snapTimer.start();
  } else {
    m_snapTimer.stop();
  }
}

void CServedWindow::SetMinimizeToTray(bool on) { m_minimizeToTray = on; }

bool CServedWindow::eventFilter(QObject* watched, QEvent* event) {
  QWidget* window = m_window.data();
  if (!window || watched != window) return false;
  const QEvent::Type type = event->type();
  if (type == kLookMessage) {
    auto* look = static_cast<CWindowMessageEvent*>(event);
    if (look->wParam() == kLookReleasePreview && m_role == Role::kPreview) {
      look->setResult(1);
      m_core.Release(this);  // deletes this object: nothing of it is used below
      return true;
    }
    look->setResult(OnLookMessage(look->wParam(), look->lParam()));
    return true;
  }
  if (type == kPreTranslateMessage) {
    if (m_role != Role::kMain) return false;
    auto* offer = static_cast<CPreTranslateEvent*>(event);
    offer->setResult(OnPreTranslate(offer->event(), offer->receiver()) ? 1 : 0);
    return true;
  }
  switch (type) {
    case QEvent::Paint:
      PaintBackground();
      break;
    case QEvent::Resize:
      // Every method but Tile and Top-Left places the image by the window's size.
      if (!m_image.isNull()) window->update();
      break;
    case QEvent::Move:
      if (m_snap) m_snapTimer.start();
      break;
    case QEvent::WindowIconChange:
    case QEvent::WindowTitleChange:
      UpdateTrayIcon();
      break;
    default:
      break;
  }
  return false;
}

intptr_t CServedWindow::OnLookMessage(intptr_t subCode, intptr_t value) {
  const char* savedKey = nullptr;
  switch (subCode) {
    case kLookSetBackgroundColor:
      m_look.background = ColorArgument(value);
      savedKey = lookkeys::kBackgroundColor;
      break;
    case kLookSetTextColor:
      m_look.text = ColorArgument(value);
      savedKey = lookkeys::kTextColor;
      break;
    case kLookSetShowImage:
      m_look.showImage = value != 0;
      savedKey = lookkeys::kShowImage;
      break;
    case kLookSetDisplayMethod:
      // Kept as given (any unknown method is painted as Tile).
      m_look.displayMethod = value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()
                                 ? static_cast<int>(kDisplayTile)
                                 : static_cast<int>(value);
      savedKey = lookkeys::kDisplayMethod;
      break;
    case kLookSetImagePath: {
      const auto* text = reinterpret_cast<const char*>(value);
      QString path;
      if (text) {
        // The path must fit the reader's buffer with its terminator; a longer one is
        // refused whole rather than kept cut.
        const std::size_t length = strnlen(text, kLookPathBufferSize);
        if (length >= static_cast<std::size_t>(kLookPathBufferSize)) return 0;
        path = QString::fromUtf8(text, static_cast<qsizetype>(length));
      }
      m_look.imagePath = path;
      savedKey = lookkeys::kImagePath;
      break;
    }
    case kLookGetBackgroundColor:
      return EffectiveColor(m_look.background, QPalette::Window);
    case kLookGetTextColor:
      return EffectiveColor(m_look.text, QPalette::WindowText);
    case kLookGetShowImage:
      return m_look.showImage ? 1 : 0;
    case kLookGetDisplayMethod:
      return m_look.displayMethod;
    case kLookGetImagePath: {
      auto* buffer = reinterpret_cast<char*>(value);
      if (!buffer) return 0;
      const QByteArray bytes = m_look.imagePath.toUtf8();
      if (bytes.isEmpty() || bytes.size() >= kLookPathBufferSize) {
        buffer[0] = '\0';
        return 0;
      }
      std::memcpy(buffer, bytes.constData(), static_cast<std::size_t>(bytes.size()));
      buffer[bytes.size()] = '\0';
      return 1;
    }
    default:
      return 0;
  }
  if (subCode == kLookSetShowImage || subCode == kLookSetImagePath) LoadImage();
  ApplyLook();
  if (m_role == Role::kMain) SaveLookSoon(savedKey);
  return 1;
}

void CServedWindow::SaveLookSoon(const char* key) {
  if (m_userSettingsFile.isEmpty()) return;
  if (!m_unsavedLook.contains(key)) m_unsavedLook << key;
  if (m_lookSavePosted) return;
  // A look is given value by value (the options sheet sends all five in a row): the
  // values that came before the program's next turn are saved together, in one write.
  m_lookSavePosted = true;
  QMetaObject::invokeMethod(
      this, [this] { SaveUnsavedLook(SaveMoment::kWindowUp); }, Qt::QueuedConnection);
}

void CServedWindow::SaveUnsavedLook(SaveMoment moment) {
  m_lookSavePosted = false;
  if (m_unsavedLook.isEmpty()) return;
  const QList<IniEntry> entries = LookEntries(m_look, m_unsavedLook);
  m_unsavedLook.clear();
  SaveSettingsEntries(entries, m_userSettingsFile, m_core.TextFile(), m_window.data(), moment);
}

uint32_t CServedWindow::EffectiveColor(uint32_t ref, QPalette::ColorRole role) const {
  if (ref != kColorNotSet) return ref;
  // Not chosen: the colour the window shows, the theme's.
  const QWidget* window = m_window.data();
  return RefFromColor(window ? window->palette().color(QPalette::Active, role)
                             : QGuiApplication::palette().color(QPalette::Active, role));
}

void CServedWindow::LoadImage() {
  m_image = QPixmap();
  if (!m_look.showImage || m_look.imagePath.isEmpty()) return;
  // An image that does not load leaves the colour alone on the window; nobody is told.
  // The start-up runs this before the window shows: a named pipe, a device or a huge
  // file saved as the path must neither block it nor fill the memory.
  const std::optional<QByteArray> data = ReadImageFile(m_look.imagePath);
  if (!data) return;
  QBuffer stream;
  stream.setData(*data);
  if (!stream.open(QIODevice::ReadOnly)) return;
  QImageReader reader(&stream);
  reader.setDecideFormatFromContent(true);
  const QImage image = reader.read();
  if (!image.isNull()) m_image = QPixmap::fromImage(image);
}

void CServedWindow::ApplyLook() {
  QWidget* window = m_window.data();
  if (!window) return;
  // Only the chosen roles are set; the others keep following the theme.
  QPalette palette = m_hadOwnPalette ? m_originalPalette : QPalette();
  if (m_look.background != kColorNotSet) palette.setColor(QPalette::Window, ColorFromRef(m_look.background));
  // The text colour is for text drawn on the painted background (labels, check boxes,
  // radio buttons, group titles): push buttons and lists keep the theme's button text,
  // digit fields the theme's text, on the theme's own faces.
  if (m_look.text != kColorNotSet) palette.setColor(QPalette::WindowText, ColorFromRef(m_look.text));
  window->setPalette(palette);
  window->update();
}

void CServedWindow::PaintBackground() {
  QWidget* window = m_window.data();
  const bool colour = m_look.background != kColorNotSet;
  if (!window || (!colour && m_image.isNull())) return;
  // Runs before the window's own painting and its children's, so they draw over it.
  QPainter painter(window);
  if (colour) painter.fillRect(window->rect(), ColorFromRef(m_look.background));
  PaintImage(painter, window->rect(), m_image, m_look.displayMethod);
}

bool CServedWindow::OnPreTranslate(QEvent* event, QObject* receiver) {
  QWidget* window = m_window.data();
  if (!event || !window || receiver != static_cast<QObject*>(window)) return false;
  if (event->type() == kSysCommandMessage) {
    const intptr_t command = static_cast<CSysCommandEvent*>(event)->command() & 0xFFF0;
    if (command == kScClose) {
      if (m_minimizeToTray && TrayUsable()) {
        HideToTray();
      } else {
        PostExit();
      }
      return true;
    }
    if (command == kScMinimize && m_minimizeToTray && TrayUsable()) {
      HideToTray();
      return true;
    }
    return false;
  }
  if (event->type() == QEvent::WindowStateChange && window->isMinimized() && m_minimizeToTray && TrayUsable()) {
    // Minimised by the window manager: the state change is still on its way, hide after it.
    QTimer::singleShot(0, this, [this] {
      if (m_window && m_window->isMinimized() && m_minimizeToTray && TrayUsable()) HideToTray();
    });
  }
  return false;
}

bool CServedWindow::TrayUsable() {
  if (m_role != Role::kMain || !m_core.TrayAvailable()) return false;
  EnsureTrayIcon();
  return m_trayIcon && m_trayIcon->isVisible();
}

void CServedWindow::EnsureTrayIcon() {
  if (m_role != Role::kMain || m_trayIcon || !m_window || !m_core.TrayAvailable()) return;
  m_trayIcon = new QSystemTrayIcon(this);
  UpdateTrayIcon();
  connect(m_trayIcon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
      case QSystemTrayIcon::Trigger:
      case QSystemTrayIcon::DoubleClick:
        RestoreFromTray();
        break;
      case QSystemTrayIcon::Context:
        OnTrayRightClick();
        break;
      default:
        break;
    }
  });
  m_trayIcon->show();
}

void CServedWindow::UpdateTrayIcon() {
  if (!m_trayIcon || !m_window) return;
  const QIcon icon = m_window->windowIcon();
  m_trayIcon->setIcon(icon.isNull() ? FallbackIcon() : icon);
  const QString title = m_window->windowTitle();
  m_trayIcon->setToolTip(title.isEmpty() ? QString::fromLatin1(kProductName) : title);
}

void CServedWindow::HideToTray() {
  QWidget* window = m_window.data();
  if (!window) return;
  m_hiddenToTray = true;
  // Leave the minimised state first: the X11 backend maps a window again when it
  // leaves that state, so doing it after the hide would bring the window back.
  window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
  if (QWindow* handle = window->windowHandle()) {
    // QDialog::hide ends a running exec(), and with it the program. Hiding the native
    // window hides the widget without the dialog's own setVisible; the widget is then
    // marked hidden as hide() would, so that a later show() brings it back.
    handle->hide();
    window->setAttribute(Qt::WA_WState_Hidden);
  } else {
    window->hide();
  }
}

void CServedWindow::RestoreFromTray() {
  QPointer<QWidget> window = m_window;
  if (!window) return;
  QPointer<CServedWindow> self(this);
  CCommandEvent restore(kCommandRestore);
  QCoreApplication::sendEvent(window, &restore);
  if (!self || !window) return;
  // A window that does not restore itself on the command is brought back here: it must
  // never stay out of reach.
  if (!window->isVisible() || window->isMinimized()) {
    window->show();
    window->showNormal();
    window->raise();
    window->activateWindow();
  }
  m_hiddenToTray = false;
}

void CServedWindow::OnTrayRightClick() {
  if (QWidget* window = m_window.data()) {
    CTrayNotifyEvent notify(kTrayIconId, kMouseRightButtonUp);
    QCoreApplication::sendEvent(window, &notify);
  }
}

void CServedWindow::PostExit() {
  if (QWidget* window = m_window.data()) {
    QCoreApplication::postEvent(window, new CCommandEvent(kCommandExit, /*posted=*/true));
  }
}

void CServedWindow::SnapNow() {
  QWidget* window = m_window.data();
  if (!window || !m_snap || !window->isVisible() || window->isMinimized() || window->isMaximized() ||
      window->isFullScreen()) {
    return;
  }
  const QRect frame = window->frameGeometry();
  QScreen* screen = QGuiApplication::screenAt(frame.center());
  if (!screen) screen = window->screen();
  if (!screen) return;
  const QPoint target = SnapFramePosition(frame, screen->availableGeometry());
  if (target != frame.topLeft()) window->move(target);
}

}  // namespace radixpad::commonlib
