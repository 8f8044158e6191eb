#include "converter_dlg.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFile>
#include <QIcon>
#include <QMenu>
#include <QScreen>
#include <QShortcut>

#include "digit_edit.h"
#include "ini_store.h"
#include "localized_texts.h"
#include "program_settings.h"
#include "qy_messages.h"
#include "radix_rules.h"
#include "ui_converter_dlg.h"
#include "window_icon.h"
#include "window_texts.h"

// The icons live in a static library; their resource is registered once.
static void InitResources() { Q_INIT_RESOURCE(radixpad); }

namespace radixpad {

namespace {

std::size_t At(int i) { return static_cast<std::size_t>(i); }

constexpr int kStartupTimerIntervalMs = 1;

}  // namespace

CConverterDlg::CConverterDlg(const QString& programFolder, QWidget* parent, const QString& windowPlatform)
    : QDialog(parent),
      ui_(std::make_unique<Ui::CConverterDlg>()),
      programFolder_(programFolder),
      windowPlatform_(windowPlatform.isEmpty() ? QGuiApplication::platformName() : windowPlatform) {
  InitResources();
  Initialize();
}

CConverterDlg::~CConverterDlg() {
  qApp->removeEventFilter(this);
  SaveSettings(SaveMoment::kEnding);
  // The dialog's own destructor hides it, and a field losing the focus then must not
  // reach the converter, which is gone by then.
  if (floatField_) floatField_->disconnect(this);
  CCommonLib::Unload();
}

void CConverterDlg::Initialize() {
  // Texts, tooltips and behaviours come from a handful of files: each is read once.
  const CIniReadBatch reads;
  // The template fills the width and signedness selectors; the members are
  // attached to their controls here.
  ui_->setupUi(this);
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                 Qt::WindowCloseButtonHint);
  setFont(QFont(QStringLiteral("Verdana"), 10));
  fields_ = {ui_->row1Field, ui_->row2Field, ui_->row3Field, ui_->row4Field};
  ApplyDigitFont();
  const std::array<QComboBox*, 4> baseCombos{ui_->row1Base, ui_->row2Base, ui_->row3Base, ui_->row4Base};
  const std::array<QLabel*, 4> labels{ui_->row1Label, ui_->row2Label, ui_->row3Label, ui_->row4Label};
  const std::array<QAbstractButton*, 4> radios{ui_->width8Radio, ui_->width16Radio, ui_->width32Radio,
                                               ui_->width64Radio};
  ConverterControls controls;
  for (std::size_t i = 0; i < 4; ++i) {
    baseSelectors_[i] = std::make_unique<CComboSelector>(baseCombos[i]);
    labels_[i] = std::make_unique<CLabelText>(labels[i]);
    widthRadios_[i] = std::make_unique<CButtonToggle>(radios[i]);
    controls.fields[i] = fields_[i];
    controls.baseSelectors[i] = baseSelectors_[i].get();
    controls.mnemonicLabels[i] = labels_[i].get();
    controls.widthRadios[i] = widthRadios_[i].get();
  }
  widthSelector_ = std::make_unique<CComboSelector>(ui_->widthSelector);
  signSelector_ = std::make_unique<CComboSelector>(ui_->signSelector);
  signedCheck_ = std::make_unique<CButtonToggle>(ui_->signedCheck);
  controls.widthSelector = widthSelector_.get();
  controls.signSelector = signSelector_.get();
  controls.signedCheck = signedCheck_.get();
  controls.beeper = &beeper_;
  converter_ = std::make_unique<CConverter>(controls);

  // Message routing: every notification ends in one converter operation.
  for (int row = 0; row < 4; ++row) {
    connect(fields_[At(row)], &CDigitEdit::changed, this, [this, row] { converter_->OnRowChanged(row); });
    connect(baseCombos[At(row)], &QComboBox::activated, this, [this, row] {
      converter_->OnRowBaseSelectorChanged(row);
      UpdateAccessibleNames();
    });
    connect(radios[At(row)], &QAbstractButton::clicked, this, [this, row] {
      converter_->SetWidth(row);
      RefreshPanels();
    });
  }
  connect(ui_->widthSelector, &QComboBox::activated, this, [this](int k) { ChooseWidth(k); });
  connect(ui_->signSelector, &QComboBox::activated, this, [this] { converter_->OnSignednessSelectorChanged(); });
  connect(ui_->signedCheck, &QAbstractButton::clicked, this, [this] { converter_->OnSignednessChanged(); });
  connect(ui_->shiftLeftButton, &QPushButton::clicked, this,
          [this] { converter_->RunBitOperation(BitOperation::kShiftLeft); });
  connect(ui_->shiftRightButton, &QPushButton::clicked, this,
          [this] { converter_->RunBitOperation(BitOperation::kShiftRight); });
  connect(ui_->rotateLeftButton, &QPushButton::clicked, this,
          [this] { converter_->RunBitOperation(BitOperation::kRotateLeft); });
  connect(ui_->rotateRightButton, &QPushButton::clicked, this,
          [this] { converter_->RunBitOperation(BitOperation::kRotateRight); });
  connect(ui_->invertButton, &QPushButton::clicked, this,
          [this] { converter_->RunBitOperation(BitOperation::kInvert); });
  connect(ui_->pickColorButton, &QPushButton::clicked, this, [this] { PickColor(); });
  ui_->uninstallButton->setAutoDefault(false);

  fields_[0]->setFocus();

  if (programFolder_.isEmpty()) {
    commonLib_.SetupFolders(this);
  } else {
    commonLib_.SetupFolders(this, programFolder_);
  }
  // The icon reaches the window manager from the event loop, after the window: sent
  // with the window, its seven sizes held the first frame back by several milliseconds.
  // Queued ahead of the common library's tray icon, which takes the icon over.
  QMetaObject::invokeMethod(
      this, [this] { setWindowIcon(WindowIcon()); }, Qt::QueuedConnection);
  if (commonLib_.Load(this)) commonLib_.Attach(this);

  ApplyWindowTexts(*ui_, *this, Paths().textFile);
  for (CDigitEdit* field : fields_) field->SetTextFile(Paths().textFile);

  for (int base = 0; base < kBaseCount; ++base) {
    for (QComboBox* combo : baseCombos) combo->addItem(LocalizedBaseName(base, Paths().textFile));
  }
  converter_->Initialize();
  UpdateAccessibleNames();
  ApplyToolTips();

  BuildWindowMenu();
  AddBitGridMenuItem();
  AddViewMenuItems();
  RegisterMnemonics();
  setAcceptDrops(true);

  // Sizes of the template, in dialog units of the window's font.
  const QFontMetrics metrics(font());
  const int unitX = std::max(1, metrics.averageCharWidth());
  const int unitY = std::max(1, metrics.height());
  for (QComboBox* combo : baseCombos) combo->setMinimumWidth(98 * unitX / 4);
  resize(290 * unitX / 4, 111 * unitY / 8);
  WidenForBinaryDigits();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  RestorePosition();

  qApp->installEventFilter(this);
  // Auto-copy when Radixpad stops being the active program, never when it becomes it:
  // the user may have just copied something elsewhere to paste it here.
  appState_ = QGuiApplication::applicationState();
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
    const bool leaving = appState_ == Qt::ApplicationActive && state != Qt::ApplicationActive;
    appState_ = state;
    if (leaving) AutoCopy();
  });
  // The session is ending: a message box would hold the logout up.
  connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { SaveSettings(SaveMoment::kEnding); });

  startupTimer_.setSingleShot(true);
  startupTimer_.setInterval(kStartupTimerIntervalMs);
  connect(&startupTimer_, &QTimer::timeout, this, [this] { LoadSettings(); });
  startupTimer_.start();
}

CDigitEdit* CConverterDlg::Field(int row) const { return row >= 0 && row < 4 ? fields_[At(row)] : nullptr; }

CDigitEdit* CConverterDlg::FieldOfBase(int base) const {
  return IsValidBase(base) ? fields_[At(converter_->RowOfBase(base))] : nullptr;
}

QWidget* CConverterDlg::Control(int controlId) const {
  if (property("controlId").toInt() == controlId) return const_cast<CConverterDlg*>(this);
  const auto widgets = findChildren<QWidget*>();
  for (QWidget* w : widgets) {
    if (w->property("controlId").toInt() == controlId) return w;
  }
  return nullptr;
}

QString CConverterDlg::Text(const char* key) const {
  return GetLocalizedText(QString::fromLatin1(key), Paths().textFile);
}

QString CConverterDlg::SectionText(const char* section, const char* key, const char* english) const {
  return GetSectionText(section, key, Paths().textFile, QString::fromLatin1(english));
}

void CConverterDlg::UpdateAccessibleNames() {
  const auto text = [this](const char* key, const char* english) {
    return SectionText(text_sections::kAccessible, key, english);
  };
  for (int row = 0; row < 4; ++row) {
    CDigitEdit* field = fields_[At(row)];
    field->setAccessibleName(LocalizedBaseName(field->Base(), Paths().textFile));
    field->setAccessibleDescription(text("RowDigits", "Digits of row %1").arg(row + 1));
  }
  // The drop-downs are read out by their value; the description says what they choose.
  const std::array<QComboBox*, 4> combos{ui_->row1Base, ui_->row2Base, ui_->row3Base, ui_->row4Base};
  for (int row = 0; row < 4; ++row) {
    combos[At(row)]->setAccessibleName(text("RowBase", "Row %1 base").arg(row + 1));
    combos[At(row)]->setAccessibleDescription(text("RowBaseDescription", "Base shown in row %1").arg(row + 1));
  }
  ui_->widthSelector->setAccessibleName(text("Width", "Width"));
  ui_->widthSelector->setAccessibleDescription(text("WidthDescription", "Width"));
  ui_->signSelector->setAccessibleName(text("Signedness", "Signedness"));
  ui_->signSelector->setAccessibleDescription(text("SignednessDescription", "Signed or unsigned"));
  ui_->shiftLeftButton->setAccessibleName(text("ShiftLeft", "Shift left"));
  ui_->shiftRightButton->setAccessibleName(text("ShiftRight", "Shift right"));
  ui_->rotateLeftButton->setAccessibleName(text("RotateLeft", "Rotate left"));
  ui_->rotateRightButton->setAccessibleName(text("RotateRight", "Rotate right"));
  UpdateFieldToolTips();
}

void CConverterDlg::BuildWindowMenu() {
  windowMenu_ = new QMenu(this);
  struct Item {
    int command;
    QString text;
  };
  const auto own = [this](const char* key, const char* english) {
    return SectionText(text_sections::kWindowMenu, key, english);
  };
  const Item systemItems[] = {{kScRestore, own("Restore", "&Restore")},
                              {kScMinimize, own("Minimize", "Mi&nimize")},
                              {kScMaximize, own("Maximize", "Ma&ximize")},
                              {kScClose, own("Close", "&Close")}};
  for (const Item& item : systemItems) windowMenu_->addAction(item.text)->setData(item.command);
  windowMenu_->addSeparator();
  windowMenu_->addAction(Text("Menu-Options"))->setData(static_cast<int>(kCommandOptions));
  windowMenu_->addSeparator();
  windowMenu_->addAction(Text("Menu-Help"))->setData(static_cast<int>(kCommandHelp));
  windowMenu_->addAction(Text("Menu-About"))->setData(static_cast<int>(kCommandAbout));
  AddExitCommands();
  // As a system menu does: what would leave the state unchanged is disabled.
  connect(windowMenu_, &QMenu::aboutToShow, this, [this] {
    const bool minimized = isMinimized();
    const bool maximized = isMaximized() || isFullScreen();
    for (QAction* action : windowMenu_->actions()) {
      switch (action->data().toInt()) {
        case kScRestore:
          action->setEnabled(minimized || maximized);
          break;
        case kScMinimize:
          action->setEnabled(!minimized);
          break;
        case kScMaximize:
          action->setEnabled(!maximized || minimized);
          break;
        default:
          break;
      }
    }
  });
  connect(windowMenu_, &QMenu::triggered, this,
          [this](QAction* action) { QCoreApplication::postEvent(this, new CSysCommandEvent(action->data().toInt())); });
  // In a row the Menu key and Shift+F10 open the row's edit menu; Alt+Space, as a
  // system menu's key, opens the window menu from anywhere in the window.
  auto* menuKey = new QShortcut(QKeySequence(Qt::Key_Menu), this);
  auto* shiftF10 = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
  auto* altSpace = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
  for (QShortcut* shortcut : {menuKey, shiftF10, altSpace}) {
    connect(shortcut, &QShortcut::activated, this, [this] { windowMenu_->popup(mapToGlobal(QPoint(0, 0))); });
  }
}

void CConverterDlg::AddExitCommands() {
  // The keyboard's way to what the tray menu's Exit does: Esc and Close only hide the
  // window while it goes to the tray.
  // Its own text: the tray's "E&xit" would share its Alt key with Maximize here.
  windowMenu_->addSeparator();
  windowMenu_->addAction(SectionText(text_sections::kWindowMenu, "Exit", "&Exit"))
      ->setData(static_cast<int>(kCommandExit));
  auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
  connect(quit, &QShortcut::activated, this, [this] { PostCommand(kCommandExit); });
}

void CConverterDlg::contextMenuEvent(QContextMenuEvent* event) {
  windowMenu_->popup(event->globalPos());
  event->accept();
}

void CConverterDlg::RegisterMnemonics() {
  // The hidden labels and radio buttons exist for their mnemonics; hidden Qt
  // widgets fire no shortcuts, so the dialog carries them.
  const std::array<Qt::Key, 4> baseKeys{Qt::Key_B, Qt::Key_O, Qt::Key_D, Qt::Key_H};
  for (int base = 0; base < kBaseCount; ++base) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | baseKeys[At(base)]), this);
    connect(shortcut, &QShortcut::activated, this,
            [this, base] { FieldOfBase(base)->setFocus(Qt::ShortcutFocusReason); });
  }
  const std::array<Qt::Key, 4> widthKeys{Qt::Key_8, Qt::Key_1, Qt::Key_3, Qt::Key_6};
  for (int k = 0; k < kWidthCount; ++k) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | widthKeys[At(k)]), this);
    // Through the visible selector, so it never shows another width.
    connect(shortcut, &QShortcut::activated, this, [this, k] { ChooseWidth(k); });
  }
}

bool CConverterDlg::eventFilter(QObject* watched, QEvent* event) {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget && (widget == this || isAncestorOf(widget))) {
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::Wheel:
      case QEvent::WindowStateChange:
        if (PreTranslate(watched, event)) return true;
        break;
      default:
        if (event->type() == kCommandMessage || event->type() == kSysCommandMessage) {
          if (PreTranslate(watched, event)) return true;
        }
        break;
    }
  }
  return QDialog::eventFilter(watched, event);
}

bool CConverterDlg::PreTranslate(QObject* receiver, QEvent* event) {
  if (receiver == this && event->type() == kCommandMessage) {
    auto* command = static_cast<CCommandEvent*>(event);
    // Exit is recognised here, so it works only when posted.
    if (command->posted() && command->commandId() == kCommandExit) {
      Exit();
      return true;
    }
  }
  CPreTranslateEvent offer(event, receiver);
  QCoreApplication::sendEvent(this, &offer);
  return offer.result() != 0;
}

bool CConverterDlg::event(QEvent* event) {
  // Another width of the rows wraps the views' lines anew.
  if (event->type() == QEvent::Resize && (floatViewShown_ || charViewShown_)) FitViewLines();
  if (event->type() == kCommandMessage) {
    Command(static_cast<int>(static_cast<CCommandEvent*>(event)->commandId()));
    return true;
  }
  if (event->type() == kSysCommandMessage) {
    SystemCommand(static_cast<int>(static_cast<CSysCommandEvent*>(event)->command()));
    return true;
  }
  if (event->type() == kTrayNotifyMessage) {
    auto* tray = static_cast<CTrayNotifyEvent*>(event);
    OnTrayNotification(tray->wParam(), tray->mouseMessage());
    tray->setResult(0);
    return true;
  }
  return QDialog::event(event);
}

void CConverterDlg::accept() {
  // OK does nothing: Enter never ends the window.
}

void CConverterDlg::reject() {
  // Esc and every cancel take the road of the title bar's close button.
  QCoreApplication::postEvent(this, new CSysCommandEvent(kScClose));
}

void CConverterDlg::closeEvent(QCloseEvent* event) {
  if (ended_) {
    event->accept();
    return;
  }
  event->ignore();
  RequestClose();
}

void CConverterDlg::RequestClose() { QCoreApplication::postEvent(this, new CSysCommandEvent(kScClose)); }

void CConverterDlg::SystemCommand(int command) {
  // The default processing first, whatever the command.
  switch (command) {
    case kScRestore:
      showNormal();
      break;
    case kScMinimize:
      showMinimized();
      break;
    case kScMaximize:
      showMaximized();
      break;
    case kScClose:
      // Nothing took the close request (the common library hides the window
      // or ends the program through the exit command): end here.
      Exit();
      break;
    default:
      break;
  }
  switch (command) {
    case kCommandAbout:
      commonLib_.ShowAbout();
      break;
    case kCommandOptions:
      Command(kCommandOptions);
      break;
    case kCommandHelp:
      if (onHelp) onHelp();
      break;
    case kCommandExit:
      PostCommand(kCommandExit);
      break;
    default:
      break;
  }
}

void CConverterDlg::Command(int commandId) {
  switch (commandId) {
    case kCommandRestore:
      Restore();
      break;
    case kCommandAbout:
      commonLib_.ShowAbout();
      break;
    case kCommandOptions:
      SaveSettings();
      if (onOptions) onOptions(*this);
      break;
    case kCommandUninstall:
      Uninstall();
      break;
    case kCommandHelp:
      if (onHelp) onHelp();
      break;
    case kCommandCancel:
      reject();
      break;
    default:
      break;
  }
}

void CConverterDlg::PostCommand(int commandId) {
  QCoreApplication::postEvent(this, new CCommandEvent(commandId, true));
}

void CConverterDlg::Restore() {
  show();
  showNormal();
  raise();
  activateWindow();
}

void CConverterDlg::Exit() {
  if (ended_) return;
  ended_ = true;
  done(QDialog::Accepted);
  emit ended();
}

void CConverterDlg::Uninstall() {
  // Close whatever pop-up this window has open (the options sheet, a message box).
  if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  QWidget* modal = QApplication::activeModalWidget();
  if (modal && modal != this) {
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->reject();
    } else {
      modal->close();
    }
  }
  if (!Paths().startupEntryPath.isEmpty()) QFile::remove(Paths().startupEntryPath);
  commonLib_.Send(kSendUninstall);
  Exit();
}

void CConverterDlg::OnTrayNotification(intptr_t iconId, intptr_t mouseMessage) {
  if (iconId != kTrayIconId || mouseMessage != kMouseRightButtonUp) return;
  std::unique_ptr<QMenu> menu = CreateTrayMenu();
  activateWindow();
  if (QAction* chosen = menu->exec(QCursor::pos())) PostCommand(chosen->data().toInt());
}

std::unique_ptr<QMenu> CConverterDlg::CreateTrayMenu() {
  auto menu = std::make_unique<QMenu>();
  QAction* restore = menu->addAction(Text("Menu-Restore"));
  restore->setData(static_cast<int>(kCommandRestore));
  menu->setDefaultAction(restore);
  menu->addSeparator();
  menu->addAction(SectionText(text_sections::kTray, "Help", "Help"))->setData(static_cast<int>(kCommandHelp));
  menu->addAction(Text("Menu-About"))->setData(static_cast<int>(kCommandAbout));
  menu->addSeparator();
  menu->addAction(Text("Menu-Exit"))->setData(static_cast<int>(kCommandExit));
  return menu;
}

}  // namespace radixpad
