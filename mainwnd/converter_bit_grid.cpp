// The main window's side of the bit grid: the window-menu item, showing and
// hiding the panel; and what all panels under the rows share: growing the window
// for them and keeping them in step with the rows.
#include <QAction>
#include <QGridLayout>
#include <QLayout>
#include <QMenu>
#include <QSignalBlocker>

#include "bit_grid_panel.h"
#include "converter_dlg.h"
#include "digit_edit.h"
#include "localized_texts.h"
#include "qy_messages.h"
#include "ui_converter_dlg.h"

namespace radixpad {

void CConverterDlg::AddBitGridMenuItem() {
  bitGridAction_ = new QAction(Text("Menu-BitGrid"), windowMenu_);
  bitGridAction_->setCheckable(true);
  QAction* options = nullptr;
  for (QAction* action : windowMenu_->actions()) {
    if (action->data().toInt() == kCommandOptions) options = action;
  }
  windowMenu_->insertAction(options, bitGridAction_);
  connect(bitGridAction_, &QAction::triggered, this, [this](bool checked) { SetBitGridShown(checked); });
}

void CConverterDlg::CheckQuietly(QAction* action, bool checked) {
  if (!action) return;
  const QSignalBlocker block(action);
  action->setChecked(checked);
}

void CConverterDlg::SetBitGridShown(bool shown) {
  CheckQuietly(bitGridAction_, shown);
  if (shown == bitGridShown_) return;
  bitGridShown_ = shown;
  if (!bitGrid_) {
    // Built on first use, so a hidden grid costs the start-up nothing.
    bitGrid_ = new CBitGridPanel(fields_[0]->font(), this);
    bitGrid_->hide();
    bitGrid_->SetTexts(ToolTip("Bit"), SectionText(text_sections::kAccessible, "Bit", "Bit %1"),
                       SectionText(text_sections::kAccessible, "BitGrid", "Bit grid"));
    ui_->mainLayout->addWidget(bitGrid_, kBitGridRow, 0, 1, 2);
    bitGrid_->PlaceInTabOrder(ui_->pickColorButton);
    connect(bitGrid_, &CBitGridPanel::bitClicked, this, [this](int bit) { converter_->FlipBit(bit); });
    ConnectPanelsToRows();
  }
  if (shown) RefreshBitGrid();
  ShowPanelWidgets({bitGrid_}, shown);
}

void CConverterDlg::ShowPanelWidgets(std::initializer_list<QWidget*> widgets, bool shown) {
  // The window grows by what the panel needs and shrinks by it again; the rows keep their size.
  layout()->activate();
  const int before = layout()->minimumSize().height();
  // Taken before the layout grows a window below its new minimum on its own.
  const int heightBefore = height();
  for (QWidget* widget : widgets) widget->setVisible(shown);
  layout()->activate();
  const int change = layout()->minimumSize().height() - before;
  if (!isMaximized() && !isFullScreen()) {
    resize(width(), std::max(layout()->minimumSize().height(), heightBefore + change));
  }
}

void CConverterDlg::ConnectPanelsToRows() {
  if (panelsConnected_) return;
  panelsConnected_ = true;
  // After the converter's own connections, so a typed change is drawn once it is done.
  for (CDigitEdit* field : fields_) connect(field, &CDigitEdit::changed, this, [this] { OnRowsChangedForPanels(); });
}

void CConverterDlg::OnRowsChangedForPanels() {
  if (!bitGridShown_ && !floatViewShown_ && !charViewShown_) return;
  if (!converter_->UpdateInProgress()) {
    RefreshPanels();
    return;
  }
  // Writes inside a conversion: draw once the conversion has finished, unless the
  // change that started it draws first (a typed change does, as the conversion ends).
  panelsStale_ = true;
  if (panelsRefreshPosted_) return;
  panelsRefreshPosted_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        panelsRefreshPosted_ = false;
        if (panelsStale_) RefreshPanels();
      },
      Qt::QueuedConnection);
}

void CConverterDlg::ChooseWidth(int widthIndex) {
  widthSelector_->SetCurrentIndex(widthIndex);
  converter_->OnWidthSelectorChanged();
  // Empty rows stay empty at another width, yet the panels show the new width.
  RefreshPanels();
}

void CConverterDlg::RefreshPanels() {
  panelsStale_ = false;
  RefreshBitGrid();
  RefreshViews();
}

void CConverterDlg::RefreshBitGrid() {
  if (bitGrid_ && bitGridShown_) bitGrid_->ShowPattern(converter_->BitPattern());
}

}  // namespace radixpad
