// CGeneralPage: the window behaviours as a check list, run at login when the defaults
// file offers it, the auto-copy mode and the global show/hide key.
#pragma once

#include <QKeyCombination>
#include <QString>
#include <memory>

#include "options_page.h"

namespace Ui {
class CGeneralPage;
}

class QListWidget;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace radixpad {

class CGlobalKey;
class CKeyField;

/// The command a desktop's own keyboard settings bind where no program may take a key.
inline constexpr char kToggleCommand[] = "radixpad --toggle";

class CGeneralPage : public COptionsPage {
  Q_OBJECT

 public:
  /// Where the page reads and writes.
  struct Files {
    QString userSettingsFile;
    QString defaultsFile;
    QString textFile;
    QString startupEntryPath;
    QString programPath;  // the running program, the start-up entry's target
  };

  CGeneralPage(const Files& files, int* lastPageSlot, QWidget* parent = nullptr);
  ~CGeneralPage() override;

  /// Auto-copy mode 0..4: shown when the page opens, taken by the OK step.
  int autoCopyMode = 0;
  /// Digits shown in groups (GroupDigits): shown when the page opens, taken and
  /// saved by the OK step.
  bool groupDigits = false;
  /// The program's global show/hide key, or null: the page shows its state and tries
  /// a new key at once; Cancel puts the stored one back.
  CGlobalKey* showHideKey = nullptr;

  /// False where the desktop keeps window placement to itself: always on top and snap
  /// are greyed with the reason. Set before the page opens.
  bool programsCanPlaceWindows = true;

  // Set by the OK step.
  int applied = 0;
  int alwaysOnTop = 0;
  int minimizeToTray = 0;
  int snapToDesktopSide = 0;
  /// Whether the start-up entry existed when the page opened; afterwards the state
  /// last applied.
  int runAtStartup = 0;

  QListWidget* CheckList() const;
  QComboBox* AutoCopyList() const;
  QCheckBox* GroupDigitsCheck() const;
  CKeyField* ShowHideKeyField() const;
  QPushButton* ShowHideKeyClearButton() const;
  /// The key's state in words (empty without a key).
  QLabel* ShowHideKeyState() const;

  void OnOK() override;
  void OnCancel() override;

 protected:
  void OnInitDialog() override;
  void OnSetActive() override;

 private:
  bool RunAtStartupAllowed() const;
  void TryShowHideKey(QKeyCombination key);
  void ShowKeyState();

  std::unique_ptr<Ui::CGeneralPage> m_ui;
  Files m_files;
  int* m_lastPageSlot;
  QKeyCombination m_storedKey;  // the show/hide key of the settings file
  QKeyCombination m_keyBefore;  // the program's key when the page opened, back on Cancel
};

}  // namespace radixpad
