// The main window: four rows of one value in four bases, the width and
// signedness selectors, the bit-operation buttons and the colour pick, plus
// the window's commands (restore, options, help, about, exit, uninstall), its
// window menu and the saving of the converter settings.
#pragma once

#include <QColor>
#include <QDialog>
#include <QIcon>
#include <QTimer>
#include <array>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>

#include "beep.h"
#include "common_lib.h"
#include "control_adapters.h"
#include "converter.h"
#include "settings_save.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;

namespace Ui {
class CConverterDlg;
}

namespace radixpad {

class CBitGridPanel;
class CDigitEdit;

class CConverterDlg : public QDialog {
  Q_OBJECT

 public:
  /// Answers the colour dialog: the chosen colour, or nothing when cancelled.
  using ColorChooser = std::function<std::optional<QColor>(QWidget* parent, QColor initial)>;

  /// `programFolder`: where String.dat, Default.dat and the common library lie;
  /// empty for the running executable's folder. `windowPlatform`: the windowing
  /// platform the window is placed by (see ProgramsCanPlaceWindows); empty for the one
  /// this program runs on.
  explicit CConverterDlg(const QString& programFolder = QString(), QWidget* parent = nullptr,
                         const QString& windowPlatform = QString());
  ~CConverterDlg() override;

  CConverter& Converter() { return *converter_; }
  CCommonLib& CommonLib() { return commonLib_; }
  const ShellPaths& Paths() const { return commonLib_.Paths(); }
  /// The windowing platform's name (QGuiApplication::platformName() as a rule).
  const QString& WindowPlatform() const { return windowPlatform_; }
  CDigitEdit* Field(int row) const;
  CDigitEdit* FieldOfBase(int base) const;
  QWidget* Control(int controlId) const;

  int AutoCopyMode() const { return autoCopyMode_; }
  void SetAutoCopyMode(int mode) { autoCopyMode_ = mode >= 0 && mode <= 4 ? mode : 0; }

  /// The window menu: Restore, Minimize, Maximize, Close, then the items added
  /// at initialisation.
  QMenu* WindowMenu() const { return windowMenu_; }
  /// Builds the tray pop-up menu (menu 135) with its localized texts.
  std::unique_ptr<QMenu> CreateTrayMenu();

  /// The converter settings of section "General", saved in one write; false when they
  /// could not be, which the save has told (a message box while the window is up, a line
  /// on standard error as the program ends).
  bool SaveSettings(SaveMoment moment = SaveMoment::kWindowUp);
  void LoadSettings();
  /// Copies the row of the auto-copy mode's base to the clipboard; run when the
  /// program loses activation.
  void AutoCopy();

  /// A window-menu command: default processing first, then about, options, help.
  void SystemCommand(int command);
  /// A command message (restore, about, options, uninstall; 1021 only posted).
  void Command(int commandId);
  /// Posts a command, as the tray menu and a second instance do.
  void PostCommand(int commandId);

  void Restore();
  void Uninstall();
  void PickColor();
  void SetColorChooser(ColorChooser chooser) { colorChooser_ = std::move(chooser); }

  /// Hooks for the commands other parts of the program provide.
  std::function<void(CConverterDlg&)> onOptions;
  std::function<void()> onHelp;

  bool StartupTimerActive() const { return startupTimer_.isActive(); }

  /// Digits shown in groups (the General page's "Group digits", key GroupDigits):
  /// drawn apart, never held apart. Grouped, the window widens until 64 grouped
  /// Binary digits fit.
  void SetGroupDigits(bool grouped);
  bool GroupDigits() const;

  /// The bit grid under the buttons, shown or hidden by the window-menu item
  /// "Bit Grid"; built the first time it is shown.
  void SetBitGridShown(bool shown);
  bool BitGridShown() const { return bitGridShown_; }
  CBitGridPanel* BitGrid() const { return bitGrid_; }
  QAction* BitGridAction() const { return bitGridAction_; }

  /// The float view (window-menu item "Float View"): the pattern read as the IEEE
  /// float of the width, in a line one can also type a decimal number into; and the
  /// character view ("Character View"): the pattern read as text. Each is built the
  /// first time it is shown and follows every change of the rows.
  void SetFloatViewShown(bool shown);
  bool FloatViewShown() const { return floatViewShown_; }
  void SetCharViewShown(bool shown);
  bool CharViewShown() const { return charViewShown_; }
  /// The float view's decimal field and its line; the character view's line.
  /// Null until the view was first shown.
  QLineEdit* FloatField() const { return floatField_; }
  QLabel* FloatLine() const { return floatLine_; }
  QLabel* CharLine() const { return charLine_; }
  QAction* FloatViewAction() const { return floatViewAction_; }
  QAction* CharViewAction() const { return charViewAction_; }
  QAction* SwapBytesAction() const { return swapBytesAction_; }
  QAction* CopyAllAction() const { return copyAllAction_; }
  /// What Copy All puts on the clipboard: one line per row in row order, the
  /// row's base name as its selector shows it, a tab and the row's text; then the
  /// float and character views' lines when they are shown.
  QString AllRowsText() const;
  void CopyAll();

 signals:
  /// The window ended itself through exit or uninstall.
  void ended();

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void accept() override;
  void reject() override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // Rows of the main layout built in code: 1 to 4 are the digit rows and 7 the buttons
  // (converter_dlg.ui).
  static constexpr int kFloatViewRow = 5;
  static constexpr int kCharViewRow = 6;
  static constexpr int kBitGridRow = 8;

  void Initialize();
  void BuildWindowMenu();
  void RegisterMnemonics();
  void UpdateAccessibleNames();
  void AddExitCommands();
  bool PreTranslate(QObject* receiver, QEvent* event);
  void OnTrayNotification(intptr_t iconId, intptr_t mouseMessage);
  void RequestClose();
  void Exit();
  QString Text(const char* key) const;
  // The text of `key` in `section` of the text file, or `english` when it has none.
  QString SectionText(const char* section, const char* key, const char* english) const;

  // The digit font, the default width, the tooltips (converter_display.cpp).
  void ApplyDigitFont();
  void WidenForBinaryDigits();
  void ApplyToolTips();
  void UpdateFieldToolTips();
  QString ToolTip(const char* key) const;
  // The bit grid (converter_bit_grid.cpp).
  void AddBitGridMenuItem();
  // Ticks or unticks a window-menu item without running its command.
  static void CheckQuietly(QAction* action, bool checked);
  void ConnectPanelsToRows();
  void OnRowsChangedForPanels();
  void RefreshPanels();
  void RefreshBitGrid();
  // Shows or hides `widgets` (one panel's), growing or shrinking the window by their height.
  void ShowPanelWidgets(std::initializer_list<QWidget*> widgets, bool shown);
  // The float and character views, Swap Bytes and Copy All (converter_views.cpp).
  void AddViewMenuItems();
  void BuildViewTexts();
  void BuildFloatView();
  void BuildCharView();
  void OnFloatFieldEdited(const QString& text);
  void RefreshViews();
  void FitViewLines();
  // The width `widthIndex` as the width selector chooses it, the panels following even
  // when no row's text changes.
  void ChooseWidth(int widthIndex);
  // The saved window position (converter_settings.cpp); false when there is none
  // or it lies on no screen.
  bool RestorePosition();

  std::unique_ptr<Ui::CConverterDlg> ui_;
  CCommonLib commonLib_;
  QString programFolder_;
  QString windowPlatform_;
  std::array<CDigitEdit*, 4> fields_{};
  std::array<std::unique_ptr<CComboSelector>, 4> baseSelectors_;
  std::array<std::unique_ptr<CLabelText>, 4> labels_;
  std::array<std::unique_ptr<CButtonToggle>, 4> widthRadios_;
  std::unique_ptr<CComboSelector> widthSelector_;
  std::unique_ptr<CComboSelector> signSelector_;
  std::unique_ptr<CButtonToggle> signedCheck_;
  CQtBeeper beeper_;
  std::unique_ptr<CConverter> converter_;
  int autoCopyMode_ = 0;
  Qt::ApplicationState appState_ = Qt::ApplicationInactive;  // as last reported
  QTimer startupTimer_;
  QMenu* windowMenu_ = nullptr;
  ColorChooser colorChooser_;
  bool ended_ = false;
  CBitGridPanel* bitGrid_ = nullptr;
  QAction* bitGridAction_ = nullptr;
  bool bitGridShown_ = false;
  bool panelsRefreshPosted_ = false;
  bool panelsStale_ = false;  // the rows changed since the panels were last drawn
  bool panelsConnected_ = false;
  QAction* floatViewAction_ = nullptr;
  QAction* charViewAction_ = nullptr;
  QAction* swapBytesAction_ = nullptr;
  QAction* copyAllAction_ = nullptr;
  bool floatViewShown_ = false;
  bool charViewShown_ = false;
  QLabel* floatCaption_ = nullptr;
  QWidget* floatPanel_ = nullptr;
  QLineEdit* floatField_ = nullptr;
  QLabel* floatLine_ = nullptr;
  QString floatFieldText_;  // the float field's text before the last edit
  QLabel* charCaption_ = nullptr;
  QLabel* charLine_ = nullptr;
  std::unique_ptr<ViewTexts> viewTexts_;        // from String.dat, read when a view is first shown
  std::pair<int, int> linesFittedFor_{-1, -1};  // the rows' width and the bits the lines were fitted to
  bool painted_ = false;                        // the window has had its first frame
  QMetaObject::Connection startupOverWatch_;    // until start-up's memory went back
};

}  // namespace radixpad
