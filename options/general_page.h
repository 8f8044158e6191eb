// CGeneralPage: the window behaviours as a check list, run at login when the defaults
// file offers it, and the auto-copy mode.
#pragma once

#include <QString>
#include <memory>

#include "options_page.h"

namespace Ui {
class CGeneralPage;
}

class QListWidget;
class QComboBox;

namespace radixpad {

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

  void OnOK() override;

 protected:
  void OnInitDialog() override;
  void OnSetActive() override;

 private:
  bool RunAtStartupAllowed() const;

  std::unique_ptr<Ui::CGeneralPage> m_ui;
  Files m_files;
  int* m_lastPageSlot;
};

}  // namespace radixpad
