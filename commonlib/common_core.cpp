#include "common_core.h"

#include <QApplication>
#include <QFile>
#include <QSystemTrayIcon>
#include <QWidget>

#include "about_box.h"
#include "localized_texts.h"
#include "look.h"
#include "qy_messages.h"
#include "served_window.h"
#include "settings_keys.h"

namespace radixpad::commonlib {

namespace {

// A settings file path argument: a NUL-terminated file name in the system's encoding.
QString PathArgument(intptr_t argument) {
  const auto* text = reinterpret_cast<const char*>(argument);
  if (!text) return {};
  return QFile::decodeName(text);
}

bool WidgetsRunning() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

}  // namespace

CCommonCore::CCommonCore(CoreOptions options) : m_options(std::move(options)) {
  if (!m_options.programFolder.isEmpty() && !m_options.programFolder.endsWith(QLatin1Char('/'))) {
    m_options.programFolder += QLatin1Char('/');
  }
}

CCommonCore::~CCommonCore() {
  if (QCoreApplication::instance()) {
    // Each served window deletes its filter, tray icon and timers here.
    while (!m_served.empty()) Release(m_served.back().get());
  } else {
    // The process is ending and Qt is gone: touching the objects now would do harm.
    for (auto& served : m_served) static_cast<void>(served.release());
  }
}

intptr_t CCommonCore::SendMsg(intptr_t code, intptr_t a, intptr_t b, intptr_t c, intptr_t d) {
  static_cast<void>(c);
  if (!WidgetsRunning()) return 0;
  switch (code) {
    case kSendAttach:
      return Attach(a, b, d);
    case kSendAttachPreview:
      return AttachPreview(a);
    case kSendShowAbout:
      return ShowAbout(a);
    case kSendAlwaysOnTop:
    case kSendSnapToDesktopSide:
    case kSendMinimizeToTray:
      return Behaviour(code, a, b);
    case kSendUninstall:
      return Uninstall();
    default:
      return 0;
  }
}

QWidget* CCommonCore::LiveWidget(intptr_t argument) {
  if (argument == 0) return nullptr;
  const auto* wanted = reinterpret_cast<const QObject*>(argument);
  const QWidgetList widgets = QApplication::allWidgets();
  for (QWidget* widget : widgets) {
    if (static_cast<const QObject*>(widget) == wanted) return widget;
  }
  return nullptr;
}

CServedWindow* CCommonCore::Served(const QObject* window) const {
  if (!window) return nullptr;
  for (const auto& served : m_served) {
    if (static_cast<const QObject*>(served->Window()) == window) return served.get();
  }
  return nullptr;
}

void CCommonCore::Release(CServedWindow* served) {
  for (auto it = m_served.begin(); it != m_served.end(); ++it) {
    if (it->get() == served) {
      std::unique_ptr<CServedWindow> gone = std::move(*it);
      m_served.erase(it);
      return;  // `gone` deletes it here
    }
  }
}

bool CCommonCore::TrayAvailable() const {
  if (m_options.trayAvailable) return m_options.trayAvailable();
  return QSystemTrayIcon::isSystemTrayAvailable();
}

QString CCommonCore::DefaultsFile() const {
  return m_options.programFolder.isEmpty() ? QString()
                                           : m_options.programFolder + QString::fromLatin1(files::kDefaults);
}

QString CCommonCore::TextFile() const {
  return m_options.programFolder.isEmpty() ? QString() : m_options.programFolder + QString::fromLatin1(files::kTexts);
}

QString CCommonCore::HelpFile() const {
  const QString page = m_options.programFolder + QString::fromLatin1(files::kHelpPage);
  return m_options.programFolder.isEmpty() ? page : LocalizedFile(page);
}

intptr_t CCommonCore::Attach(intptr_t sharedFile, intptr_t userFile, intptr_t window) {
  // The shared settings file holds nothing of the library's.
  static_cast<void>(sharedFile);
  QWidget* widget = LiveWidget(window);
  if (!widget) return 0;
  m_userSettingsFile = PathArgument(userFile);
  CServedWindow* served = Served(widget);
  if (served) {
    served->SetRole(CServedWindow::Role::kMain);
  } else {
    m_served.push_back(std::make_unique<CServedWindow>(*this, widget, CServedWindow::Role::kMain));
    served = m_served.back().get();
  }
  served->Attach(m_userSettingsFile, DefaultsFile());
  return 1;
}

intptr_t CCommonCore::AttachPreview(intptr_t window) {
  QWidget* widget = LiveWidget(window);
  if (!widget) return 0;
  // A window served already (the main window) stays as it is.
  if (Served(widget)) return 1;
  m_served.push_back(std::make_unique<CServedWindow>(*this, widget, CServedWindow::Role::kPreview));
  return 1;
}

intptr_t CCommonCore::ShowAbout(intptr_t window) {
  // Without a live window the box still shows, owned by nobody.
  ShowAboutBox(LiveWidget(window), HelpFile());
  return 1;
}

intptr_t CCommonCore::Behaviour(intptr_t code, intptr_t window, intptr_t value) {
  CServedWindow* served = window ? Served(reinterpret_cast<const QObject*>(window)) : nullptr;
  if (!served || served->GetRole() != CServedWindow::Role::kMain) return 0;
  const bool on = value != 0;
  switch (code) {
    case kSendAlwaysOnTop:
      served->SetAlwaysOnTop(on);
      break;
    case kSendSnapToDesktopSide:
      served->SetSnapToDesktopSide(on);
      break;
    case kSendMinimizeToTray:
      served->SetMinimizeToTray(on);
      break;
    default:
      return 0;
  }
  return 1;
}

intptr_t CCommonCore::Uninstall() {
  if (m_userSettingsFile.isEmpty()) return 0;
  // Values set just before would otherwise come back after the keys were emptied.
  for (const auto& served : m_served) served->DropUnsavedLook();
  return ForgetSavedLook(m_userSettingsFile) == IniWriteResult::kWritten ? 1 : 0;
}

}  // namespace radixpad::commonlib
