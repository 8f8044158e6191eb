#include "general_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>

#include "global_key.h"
#include "ini_store.h"
#include "key_field.h"
#include "localized_texts.h"
#include "options_dialogs.h"
#include "program_settings.h"
#include "settings_keys.h"
#include "settings_save.h"
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
  ui.groupDigitsCheck->setText(PageText("GroupDigits", textFile, ui.groupDigitsCheck->text()));
  ui.groupDigitsCheck->setToolTip(
      PageText("GroupDigitsTip", textFile,
               QStringLiteral("Binary and Hexadecimal in groups of 4 digits, Octal and Decimal in groups of 3, "
                              "drawn apart but never copied apart.")));
  ui.showHideKeyLabel->setText(PageText("ShowHideKey", textFile, ui.showHideKeyLabel->text()));
  ui.showHideKeyClear->setText(PageText("ShowHideKeyClear", textFile, ui.showHideKeyClear->text()));
  ui.showHideKeyField->setPlaceholderText(PageText("ShowHideKeyNone", textFile, QStringLiteral("None")));
  ui.showHideKeyField->setToolTip(
      PageText("ShowHideKeyTip", textFile,
               QStringLiteral("Click here, then press the keys that show and hide Radixpad from any program, such as "
                              "Ctrl+Alt+K.")));
  ui.showHideKeyClear->setToolTip(
      PageText("ShowHideKeyClearTip", textFile, QStringLiteral("No show/hide key: Radixpad takes no key.")));
}

// The words for the key's state; empty without a key.
QString KeyStateText(const CGlobalKey& key, const QString& textFile) {
  switch (key.State()) {
    case GlobalKeyState::kNone:
      return {};
    case GlobalKeyState::kNeedsModifier:
      return PageText("KeyNeedsModifier", textFile,
                      QStringLiteral("Alone, this key would be taken from typing in every program. Hold Ctrl, Alt or "
                                     "Super with it."));
    case GlobalKeyState::kWaiting:
      return PageText("KeyWaiting", textFile, QStringLiteral("Asking the desktop for the key..."));
    case GlobalKeyState::kActive:
      if (key.Trigger().isEmpty()) {
        return PageText("KeyActive", textFile,
                        QStringLiteral("Active: this key shows and hides Radixpad from any program."));
      }
      return PageText("KeyActiveAs", textFile, QStringLiteral("Active: the desktop gives Radixpad the key %1."))
          .arg(key.Trigger());
    case GlobalKeyState::kInUse:
      return PageText("KeyInUse", textFile,
                      QStringLiteral("This key is in use by another program, which keeps it. Choose another key."));
    case GlobalKeyState::kNotOnKeyboard:
      return PageText("KeyNotOnKeyboard", textFile,
                      QStringLiteral("No key of this keyboard types this. Choose another key."));
    case GlobalKeyState::kDesktopSettings:
      return PageText("KeyDesktopSettings", textFile,
                      QStringLiteral("This desktop does not let programs take a key. In the desktop's keyboard "
                                     "settings, bind a key to this command:\n%1"))
          .arg(QString::fromLatin1(kToggleCommand));
    case GlobalKeyState::kRefused:
      return PageText("KeyRefused", textFile,
                      QStringLiteral("The desktop's dialog was cancelled: the key is not bound. Choose the key "
                                     "again to be asked once more."));
    case GlobalKeyState::kClosed:
      return PageText("KeyClosed", textFile,
                      QStringLiteral("The desktop ended the key's binding. Choose the key again to bind it once "
                                     "more."));
    case GlobalKeyState::kFailed:
      return PageText("KeyFailed", textFile, QStringLiteral("The key could not be taken: %1")).arg(key.Detail());
  }
  return {};
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
QCheckBox* CGeneralPage::GroupDigitsCheck() const { return m_ui->groupDigitsCheck; }
CKeyField* CGeneralPage::ShowHideKeyField() const { return m_ui->showHideKeyField; }
QPushButton* CGeneralPage::ShowHideKeyClearButton() const { return m_ui->showHideKeyClear; }
QLabel* CGeneralPage::ShowHideKeyState() const { return m_ui->showHideKeyState; }

bool CGeneralPage::RunAtStartupAllowed() const {
  return GetIniInt(QString::fromLatin1(sections::kGeneral), QString::fromLatin1(keys::kAllowRunOnStartup), 0,
                   m_files.defaultsFile) != 0;
}

void CGeneralPage::OnInitDialog() {
  ApplyPageTexts(*m_ui, m_files.textFile);
  m_ui->autoCopyList->setCurrentIndex(autoCopyMode);
  m_ui->groupDigitsCheck->setChecked(groupDigits);
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

  m_storedKey = KeyFromText(GetIniString(QString::fromLatin1(sections::kGeneral),
                                         QString::fromLatin1(keys::kShowHideKey), QString(), m_files.userSettingsFile));
  m_ui->showHideKeyField->SetKey(showHideKey ? showHideKey->Key() : m_storedKey);
  connect(m_ui->showHideKeyField, &CKeyField::keyChanged, this, &CGeneralPage::TryShowHideKey);
  connect(m_ui->showHideKeyClear, &QPushButton::clicked, this, [this] {
    m_ui->showHideKeyField->SetKey(kNoKey);
    TryShowHideKey(kNoKey);
  });
  if (showHideKey) {
    m_keyBefore = showHideKey->Key();
    connect(showHideKey, &CGlobalKey::stateChanged, this, &CGeneralPage::ShowKeyState);
  }
  ShowKeyState();
}

void CGeneralPage::TryShowHideKey(QKeyCombination key) {
  if (showHideKey) showHideKey->SetKey(key);
  ShowKeyState();
}

void CGeneralPage::ShowKeyState() {
  const QString text = showHideKey ? KeyStateText(*showHideKey, m_files.textFile) : QString();
  m_ui->showHideKeyState->setText(text);
  m_ui->showHideKeyState->setVisible(!text.isEmpty());
}

void CGeneralPage::OnCancel() {
  if (showHideKey) showHideKey->SetKey(m_keyBefore);
}

void CGeneralPage::OnSetActive() {
  if (m_lastPageSlot) *m_lastPageSlot = kPageIndex;
}

void CGeneralPage::OnOK() {
  autoCopyMode = m_ui->autoCopyList->currentIndex();
  groupDigits = m_ui->groupDigitsCheck->isChecked();
  const QListWidget* list = m_ui->behaviourList;
  int* const values[] = {&alwaysOnTop, &minimizeToTray, &snapToDesktopSide};
  const QString product = QString::fromLatin1(sections::kProduct);
  QList<IniEntry> entries;
  for (int row = 0; row < 3; ++row) {
    *values[row] = CheckOf(list, row);
    entries << IniEntry{product, QString::fromLatin1(kBehaviours[row].key), QString::number(*values[row])};
  }
  entries << IniEntry{QString::fromLatin1(sections::kGeneral), QString::fromLatin1(keys::kGroupDigits),
                      QString::number(groupDigits ? 1 : 0)};
  // The show/hide key goes in the same save when it changed; one that cannot be saved
  // still works until the program ends.
  const QKeyCombination key = m_ui->showHideKeyField->Key();
  if (key != m_storedKey) {
    entries << IniEntry{QString::fromLatin1(sections::kGeneral), QString::fromLatin1(keys::kShowHideKey),
                        KeyToText(key)};
  }
  // Written on every OK, changed or not, in one save.
  if (!m_files.userSettingsFile.isEmpty() &&
      SaveSettingsEntries(entries, m_files.userSettingsFile, m_files.textFile, this, SaveMoment::kWindowUp)) {
    m_storedKey = key;
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
