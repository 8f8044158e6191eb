#include "options_sheet.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cstring>

#include "converter_dlg.h"
#include "general_page.h"
#include "image_loading.h"
#include "ini_store.h"
#include "localized_texts.h"
#include "look_page.h"
#include "look_preview_dlg.h"
#include "program_settings.h"
#include "qy_messages.h"
#include "settings_keys.h"
#include "window_platform.h"

namespace radixpad {

int& LastOptionsPage() {
  static int lastPage = 0;
  return lastPage;
}

COptionsSheet::COptionsSheet(const QString& caption, QWidget* parent)
    : QDialog(parent), m_tabs(new QTabWidget(this)), m_buttons(new QDialogButtonBox(this)) {
  setWindowTitle(caption);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  m_buttons->setStandardButtons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_tabs);
  layout->addWidget(m_buttons);
  connect(m_buttons, &QDialogButtonBox::accepted, this, &COptionsSheet::accept);
  connect(m_buttons, &QDialogButtonBox::rejected, this, &COptionsSheet::reject);
  connect(m_tabs, &QTabWidget::currentChanged, this, &COptionsSheet::OnTabChanged);
}

void COptionsSheet::AddPage(COptionsPage* page, const QString& title) {
  const QSignalBlocker block(m_tabs);
  m_tabs->addTab(page, title);
  m_pages.push_back(page);
}

void COptionsSheet::SetButtonTexts(const QString& ok, const QString& cancel) {
  m_buttons->button(QDialogButtonBox::Ok)->setText(ok);
  m_buttons->button(QDialogButtonBox::Cancel)->setText(cancel);
}

COptionsPage* COptionsSheet::ActivePage() const {
  return m_current >= 0 ? m_pages[static_cast<std::size_t>(m_current)] : nullptr;
}

int COptionsSheet::exec() {
  if (!m_pages.empty()) {
    const int start = m_startPage >= 0 && m_startPage < static_cast<int>(m_pages.size()) ? m_startPage : 0;
    {
      const QSignalBlocker block(m_tabs);
      m_tabs->setCurrentIndex(start);
    }
    m_current = start;
    m_pages[static_cast<std::size_t>(start)]->Activate();
  }
  return QDialog::exec();
}

void COptionsSheet::OnTabChanged(int index) {
  if (index == m_current || index < 0) return;
  // Back to the page being left while it decides, so a refusal leaves it in front.
  const int wanted = index;
  {
    const QSignalBlocker block(m_tabs);
    m_tabs->setCurrentIndex(m_current);
  }
  if (COptionsPage* leaving = ActivePage(); leaving && !leaving->OnKillActive()) return;
  {
    const QSignalBlocker block(m_tabs);
    m_tabs->setCurrentIndex(wanted);
  }
  m_current = wanted;
  m_pages[static_cast<std::size_t>(wanted)]->Activate();
}

void COptionsSheet::accept() {
  if (COptionsPage* active = ActivePage(); active && !active->OnKillActive()) return;
  for (COptionsPage* page : m_pages) {
    if (page->WasShown()) page->OnOK();
  }
  QDialog::accept();
}

void COptionsSheet::reject() {
  for (COptionsPage* page : m_pages) {
    if (page->WasShown()) page->OnCancel();
  }
  QDialog::reject();
}

namespace {

intptr_t SendLook(QObject* window, intptr_t subCode, intptr_t value) {
  CLookEvent look(subCode, value);
  QCoreApplication::sendEvent(window, &look);
  return look.result();
}

// The library's current look of `window`, as the Look page starts with it.
void QueryLook(QObject* window, CUIPage& page) {
  page.textColor = static_cast<ColorRef>(SendLook(window, kLookGetTextColor, 0));
  page.backgroundColor = static_cast<ColorRef>(SendLook(window, kLookGetBackgroundColor, 0));
  page.showImage = SendLook(window, kLookGetShowImage, 0) != 0 ? 1 : 0;
  page.displayMethod = static_cast<int>(SendLook(window, kLookGetDisplayMethod, 0));
  char buffer[kLookPathBufferSize] = {};
  if (SendLook(window, kLookGetImagePath, reinterpret_cast<intptr_t>(buffer)) != 0) {
    buffer[kLookPathBufferSize - 1] = '\0';
    page.imagePath = QFile::decodeName(QByteArray(buffer, static_cast<qsizetype>(std::strlen(buffer))));
  }
}

void ForwardLook(QObject* window, const CUIPage& page) {
  SendLook(window, kLookSetBackgroundColor, static_cast<intptr_t>(page.backgroundColor));
  SendLook(window, kLookSetTextColor, static_cast<intptr_t>(page.textColor));
  SendLook(window, kLookSetDisplayMethod, page.displayMethod);
  // A writable NUL-terminated copy that outlives the call.
  QByteArray path = QFile::encodeName(page.imagePath);
  SendLook(window, kLookSetImagePath, reinterpret_cast<intptr_t>(path.data()));
  SendLook(window, kLookSetShowImage, page.showImage);
}

}  // namespace

void RunOptionsSheet(CConverterDlg& window, CGlobalKey* showHideKey) {
  const ShellPaths& paths = window.Paths();
  CGeneralPage::Files files;
  files.userSettingsFile = paths.userSettingsFile;
  files.defaultsFile = paths.defaultsFile;
  files.textFile = paths.textFile;
  files.startupEntryPath = paths.startupEntryPath;
  files.programPath = QCoreApplication::applicationFilePath();

  // The sheet owns the pages from AddPage on.
  auto* general = new CGeneralPage(files, &LastOptionsPage());
  general->autoCopyMode = window.AutoCopyMode();
  general->groupDigits = window.GroupDigits();
  general->showHideKey = showHideKey;
  general->programsCanPlaceWindows = ProgramsCanPlaceWindows(window.WindowPlatform());
  auto* look = new CUIPage;
  look->lastPageSlot = &LastOptionsPage();
  look->pageIndex = 1;
  look->textFile = paths.textFile;
  const QString product = QString::fromLatin1(sections::kProduct);
  // Factory colours, where Default.dat names them; otherwise "Use Default" clears the
  // saved colours, so the window follows the desktop theme, also a later one.
  const auto factoryColor = [&](const char* key) {
    const int value = GetIniInt(product, QString::fromLatin1(key), -1, paths.defaultsFile);
    return value < 0 ? kThemeColor : static_cast<ColorRef>(value) & 0xFFFFFFu;
  };
  look->defaultTextColor = factoryColor(keys::kTextColor);
  look->defaultBackgroundColor = factoryColor(keys::kBackgroundColor);
  QueryLook(&window, *look);
  look->previewEnabled = 1;
  look->previewTemplate = kMainWindowTemplate;

  COptionsSheet sheet(GetLocalizedText(QString::fromLatin1(keys::kOptionsCaption), paths.textFile), &window);
  // Above the main window also when the library keeps that one on top.
  if (window.windowFlags().testFlag(Qt::WindowStaysOnTopHint)) sheet.setWindowFlag(Qt::WindowStaysOnTopHint);
  const auto sheetText = [&paths](const char* key, const char* english) {
    return GetSectionText(text_sections::kSheet, key, paths.textFile, QString::fromLatin1(english));
  };
  sheet.AddPage(general, sheetText("General", "General"));
  sheet.AddPage(look, sheetText("Look", "Look"));
  sheet.SetButtonTexts(sheetText("OK", "OK"), sheetText("Cancel", "Cancel"));
  sheet.SetStartPage(LastOptionsPage());
  if (sheet.exec() != QDialog::Accepted) return;

  window.update();
  if (general->applied) {
    window.SetAutoCopyMode(general->autoCopyMode);
    window.SetGroupDigits(general->groupDigits);
    CCommonLib& lib = window.CommonLib();
    lib.SendBehaviour(kSendAlwaysOnTop, general->alwaysOnTop != 0);
    lib.SendBehaviour(kSendSnapToDesktopSide, general->snapToDesktopSide != 0);
    lib.SendBehaviour(kSendMinimizeToTray, general->minimizeToTray != 0);
  }
  if (look->applied) {
    ForwardLook(&window, *look);
    PurgeImageCopies(look->imagePath, paths.userSettingsFolder);
  }
}

}  // namespace radixpad
