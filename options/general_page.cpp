#include "general_page.h"

#include <QApplication>
#include <QListWidget>
#include <QScrollBar>
#include <QStyle>

#include "ini_store.h"
#include "localized_texts.h"
#include "program_settings.h"
#include "settings_keys.h"
#include "startup_entry.h"
#include "ui_general_page.h"

namespace radixpad {
namespace {

constexpr int kPageIndex = 0;
constexpr int kRunAtStartupItem = 3;
constexpr int kAlwaysOnTopItem = 0;
constexpr int kSnapItem = 2;

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

QString PageText(const char* key, const QString& textFile, const QString& fallback) {
  return GetSectionText(text_sections::kGeneralPage, key, textFile, fallback);
}

void ApplyPageTexts(Ui::CGeneralPage& ui, const QString& textFile) {
  ui.autoCopyLabel->setText(PageText("AutoCopy", textFile, ui.autoCopyLabel->text()));
  const char* const items[] = {"AutoCopyOff", "AutoCopyBinary", "AutoCopyOctal", "AutoCopyDecimal",
                               "AutoCopyHexadecimal"};
  for (int i = 0; i < ui.autoCopyList->count() && i < 5; ++i) {
    ui.autoCopyList->setItemText(i, PageText(items[i], textFile, ui.autoCopyList->itemText(i)));
  }
}

// Where the desktop keeps window placement to itself (Wayland), always on top and
// snapping cannot work: their items are shown greyed with the reason, and keep the
// stored values, which still count on other desktops.
void GreyOutPlacementItems(QListWidget* list, const QString& textFile) {
  const QString reason =
      PageText("NotOnThisDesktop", textFile, QStringLiteral("This desktop does not let programs do this."));
  for (int row : {kAlwaysOnTopItem, kSnapItem}) {
    QListWidgetItem* item = list->item(row);
    if (!item) continue;
    item->setFlags(item->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable));
    item->setToolTip(reason);
  }
}

// The list is as wide as its longest entry and as high as all of them, so none is cut.
void FitListToEntries(QListWidget* list) {
  list->setTextElideMode(Qt::ElideNone);
  int width = 0;
  int height = 0;
  for (int row = 0; row < list->count(); ++row) {
    const QSize hint = list->sizeHintForIndex(list->model()->index(row, 0));
    width = std::max(width, hint.width());
    height += hint.height();
  }
  const int frame = 2 * list->frameWidth();
  list->setMinimumWidth(width + frame + list->verticalScrollBar()->sizeHint().width() + list->spacing() * 2);
  list->setMinimumHeight(height + frame);
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
  ApplyPageTexts(*m_ui, m_files.textFile);
  m_ui->autoCopyList->setCurrentIndex(autoCopyMode);
  QListWidget* list = m_ui->behaviourList;
  for (const BehaviourItem& item : kBehaviours) {
    const int value =
        ReadWindowBehaviour(QString::fromLatin1(item.key), m_files.userSettingsFile, m_files.defaultsFile);
    AddCheckItem(list, GetLocalizedText(QString::fromLatin1(item.label), m_files.textFile), value != 0);
  }
  if (RunAtStartupAllowed()) {
    runAtStartup = StartupEntryExists(m_files.startupEntryPath) ? 1 : 0;
    AddCheckItem(list, GetLocalizedText(QString::fromLatin1(keys::kRunOnStartUp), m_files.textFile), runAtStartup != 0);
  }
  if (!programsCanPlaceWindows) GreyOutPlacementItems(list, m_files.textFile);
  FitListToEntries(list);
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
