#include "general_page.h"

#include <QApplication>
#include <QListWidget>
#include <QStyle>

#include "ini_store.h"
#include "program_settings.h"
#include "settings_keys.h"
#include "startup_entry.h"
#include "ui_general_page.h"

namespace radixpad {
namespace {

constexpr int kPageIndex = 0;
constexpr int kRunAtStartupItem = 3;

struct BehaviourItem {
  const char* key;    // product section, user settings file and defaults file
  const char* label;  // section String of the text file
};

// In list order; the OK step stores them into the members in the same order.
constexpr BehaviourItem kBehaviours[] = {
    {keys::kAlwaysOnTop, keys::kSetAlwaysOnTop},
    {keys::kMinimizeToSystemTray, keys::kShowSystemTrayIcon},
    {keys::kSnapToDesktopSide, keys::kAutoSnapWindow},
};

void AddCheckItem(QListWidget* list, const QString& label, bool checked) {
  auto* item = new QListWidgetItem(label, list);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

int CheckOf(const QListWidget* list, int row) {
  const QListWidgetItem* item = list->item(row);
  return item && item->checkState() == Qt::Checked ? 1 : 0;
}

}  // namespace

CGeneralPage::CGeneralPage(const Files& files, int* lastPageSlot, QWidget* parent)
    : COptionsPage(parent), m_ui(std::make_unique<Ui::CGeneralPage>()), m_files(files), m_lastPageSlot(lastPageSlot) {
  m_ui->setupUi(this);
  m_ui->pageIcon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32));
}

CGeneralPage::~CGeneralPage() = default;

QListWidget* CGeneralPage::CheckList() const { return m_ui->behaviourList; }
QComboBox* CGeneralPage::AutoCopyList() const { return m_ui->autoCopyList; }

bool CGeneralPage::RunAtStartupAllowed() const {
  return GetIniInt(QString::fromLatin1(sections::kGeneral), QString::fromLatin1(keys::kAllowRunOnStartup), 0,
                   m_files.defaultsFile) != 0;
}

void CGeneralPage::OnInitDialog() {
  m_ui->autoCopyList->setCurrentIndex(autoCopyMode);
  QListWidget* list = m_ui->behaviourList;
  for (const BehaviourItem& item : kBehaviours) {
    const int value =
        ReadWindowBehaviour(QString::fromLatin1(item.key), m_files.userSettingsFile, m_files.defaultsFile);
    AddCheckItem(list, GetLocalizedText(QString::fromLatin1(item.label), m_files.textFile), value != 0);
  }
  if (RunAtStartupAllowed()) {
    runAtStartup = StartupEntryExists(m_files.startupEntryPath) ? 1 : 0;
    AddCheckItem(list, GetLocalizedText(QString::fromLatin1(keys::kRunOnStartUp), m_files.textFile),
                 runAtStartup != 0);
  }
}

void CGeneralPage::OnSetActive() {
  if (m_lastPageSlot) *m_lastPageSlot = kPageIndex;
}

void CGeneralPage::OnOK() {
  autoCopyMode = m_ui->autoCopyList->currentIndex();
  const QListWidget* list = m_ui->behaviourList;
  int* const values[] = {&alwaysOnTop, &minimizeToTray, &snapToDesktopSide};
  const QString product = QString::fromLatin1(sections::kProduct);
  for (int row = 0; row < 3; ++row) {
    *values[row] = CheckOf(list, row);
    // Written on every OK, changed or not.
    WriteIniInt(product, QString::fromLatin1(kBehaviours[row].key), *values[row], m_files.userSettingsFile);
  }
  // The item is there only when it was offered when the page opened.
  if (RunAtStartupAllowed() && list->count() > kRunAtStartupItem) {
    const int ticked = CheckOf(list, kRunAtStartupItem);
    if (ticked != runAtStartup) {
      runAtStartup = ticked;
      if (ticked) {
        CreateStartupShortcut(m_files.programPath, m_files.startupEntryPath, QString::fromLatin1(kProductName));
      } else {
        DeleteStartupEntry(m_files.startupEntryPath);
      }
    }
  }
  applied = 1;
}

}  // namespace radixpad
