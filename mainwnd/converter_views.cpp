// The main window's float and character views, Swap Bytes and Copy All: the
// window-menu items, the views built on first use in the grid rows under the
// four rows, and keeping them in step with the rows.
#include <QAction>
#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <string>
#include <vector>

#include "converter_dlg.h"
#include "digit_edit.h"
#include "ini_store.h"
#include "localized_texts.h"
#include "qy_messages.h"
#include "ui_converter_dlg.h"

namespace radixpad {

namespace {

// Isolated from what surrounds it: a right-to-left character in the line never
// reorders the window's text.
const QString kLeftToRightIsolate = QStringLiteral("\u2066");
const QString kPopDirectionalIsolate = QStringLiteral("\u2069");

// A label's new text lays the window out again: only a changed one is set.
void SetChangedText(QLabel* label, const QString& text) {
  if (label->text() != text) label->setText(text);
}

QLabel* NewViewLine(QWidget* parent) {
  auto* line = new QLabel(parent);
  // Plain text always: a '<' in a character's line is no markup.
  line->setTextFormat(Qt::PlainText);
  line->setWordWrap(true);
  // The height is kept for the longest text: a shorter one sits at its top.
  line->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  line->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  // A right click here is one outside the rows: the window menu, not an untranslated
  // one of the label's own (Ctrl+C still copies a selection).
  line->setContextMenuPolicy(Qt::NoContextMenu);
  return line;
}

// The longest lines the float view shows at `bits`: each class with the longest
// decimal and hexadecimal texts of the format, NaNs with the largest payload.
std::vector<std::string> LongestFloatLines(int bits, const ViewTexts& texts) {
  FloatDescription d = DescribeFloat(0, bits);
  if (!d.HasFormat()) return {texts.Get(ViewText::kFloatNoFormat)};
  const std::size_t digits = bits == 16 ? 5 : bits == 32 ? 9 : 17;  // significant decimal digits
  const std::size_t hexDigits = (d.fractionBits.size() + 3) / 4;
  const std::string exponent = bits == 16 ? "14" : bits == 32 ? "126" : "1022";
  std::vector<std::string> lines;
  d.negative = true;
  for (FloatClass c : {FloatClass::kZero, FloatClass::kSubnormal, FloatClass::kNormal, FloatClass::kInfinity,
                       FloatClass::kQuietNan, FloatClass::kSignallingNan}) {
    d.floatClass = c;
    const bool nan = c == FloatClass::kQuietNan || c == FloatClass::kSignallingNan;
    d.payload = nan ? (std::uint64_t{1} << (d.fractionBits.size() - 1)) - 1 : 0;
    d.decimal = nan ? "-nan"
                    : "-8." + std::string(digits - 1, '8') + "e-" +
                          (bits == 16   ? "05"
                           : bits == 32 ? "38"
                                        : "308");
    d.hex = nan ? "-nan" : "-0x1." + std::string(hexDigits, 'f') + "p-" + exponent;
    lines.push_back(FormatFloatLine(d, texts));
  }
  return lines;
}

// The longest lines the character view shows at `bits`.
std::vector<std::string> LongestCharLines(int bits, const ViewTexts& texts) {
  std::vector<std::string> lines;
  const std::uint64_t patterns[] = {0x80, 0xD800, 0x202E, 0xF48FBFBF, 0xF4908080, 0xF08FBFBF, 0xEDA080};
  for (std::uint64_t pattern : patterns) lines.push_back(FormatCharLine(DescribeChar(pattern, bits), texts));
  return lines;
}

}  // namespace

void CConverterDlg::AddViewMenuItems() {
  QAction* options = nullptr;
  for (QAction* action : windowMenu_->actions()) {
    if (action->data().toInt() == kCommandOptions) options = action;
  }
  const auto add = [&](const char* key, const char* toolTipKey) {
    auto* action = new QAction(Text(key), windowMenu_);
    action->setToolTip(ToolTip(toolTipKey));
    windowMenu_->insertAction(options, action);
    return action;
  };
  floatViewAction_ = add("Menu-FloatView", "FloatView");
  floatViewAction_->setCheckable(true);
  connect(floatViewAction_, &QAction::triggered, this, [this](bool checked) { SetFloatViewShown(checked); });
  charViewAction_ = add("Menu-CharView", "CharView");
  charViewAction_->setCheckable(true);
  connect(charViewAction_, &QAction::triggered, this, [this](bool checked) { SetCharViewShown(checked); });
  swapBytesAction_ = add("Menu-SwapBytes", "SwapBytes");
  // The key works with the menu closed: the window carries the action too.
  swapBytesAction_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_W));
  swapBytesAction_->setShortcutContext(Qt::WindowShortcut);
  addAction(swapBytesAction_);
  connect(swapBytesAction_, &QAction::triggered, this,
          [this] { converter_->RunBitOperation(BitOperation::kSwapBytes); });
  copyAllAction_ = add("Menu-CopyAll", "CopyAll");
  connect(copyAllAction_, &QAction::triggered, this, [this] { CopyAll(); });
  windowMenu_->insertSeparator(options);
  windowMenu_->setToolTipsVisible(true);
}

void CConverterDlg::BuildViewTexts() {
  if (viewTexts_) return;
  viewTexts_ = std::make_unique<ViewTexts>();
  const CIniReadBatch reads;
  for (std::size_t i = 0; i < kViewTextCount; ++i) {
    const ViewTextKey& key = kViewTextKeys[i];
    const QString text = SectionText(key.section, key.key, key.english);
    viewTexts_->Set(static_cast<ViewText>(i), text.toStdString());
  }
}

void CConverterDlg::BuildFloatView() {
  BuildViewTexts();
  floatCaption_ = new QLabel(SectionText(text_sections::kWindow, "FloatCaption", "Float"), this);
  floatPanel_ = new QWidget(this);
  auto* column = new QVBoxLayout(floatPanel_);
  column->setContentsMargins(0, 0, 0, 0);
  floatField_ = new QLineEdit(floatPanel_);
  floatField_->setFont(fields_[0]->font());
  floatField_->setToolTip(ToolTip("FloatValue"));
  floatField_->setAccessibleName(SectionText(text_sections::kAccessible, "FloatValue", "Float value"));
  // The rows' edit menu texts; its items work on the field as they are.
  floatField_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(floatField_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    QMenu* menu = floatField_->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    TranslateEditMenu(menu, Paths().textFile);
    menu->popup(floatField_->mapToGlobal(at));
  });
  floatLine_ = NewViewLine(floatPanel_);
  floatLine_->setToolTip(ToolTip("FloatView"));
  floatLine_->setAccessibleDescription(SectionText(text_sections::kAccessible, "FloatView", "Float view"));
  column->addWidget(floatField_);
  column->addWidget(floatLine_);
  floatCaption_->setBuddy(floatField_);
  floatCaption_->hide();
  floatPanel_->hide();
  ui_->mainLayout->addWidget(floatCaption_, kFloatViewRow, 0, Qt::AlignTop);
  ui_->mainLayout->addWidget(floatPanel_, kFloatViewRow, 1);
  // After the last row's digits, before the buttons.
  setTabOrder(fields_[3], floatField_);
  setTabOrder(floatField_, floatLine_);
  linesFittedFor_ = {-1, -1};  // the new line is fitted at the next refresh
  connect(floatField_, &QLineEdit::textEdited, this, [this](const QString& text) { OnFloatFieldEdited(text); });
  connect(floatField_, &QLineEdit::returnPressed, this, [this] {
    if (!ParseFloatText(floatField_->text().toStdString(), converter_->Bits())) beeper_.Beep();
  });
  // Leaving the field shows the value as the view writes it; Enter keeps the text,
  // a wrong one to be mended.
  connect(floatField_, &QLineEdit::editingFinished, this, [this] {
    if (!floatField_->hasFocus()) RefreshViews();
  });
  ConnectPanelsToRows();
}

void CConverterDlg::BuildCharView() {
  BuildViewTexts();
  charCaption_ = new QLabel(SectionText(text_sections::kWindow, "CharCaption", "Character"), this);
  charLine_ = NewViewLine(this);
  charLine_->setToolTip(ToolTip("CharView"));
  charLine_->setAccessibleDescription(SectionText(text_sections::kAccessible, "CharView", "Character view"));
  charCaption_->hide();
  charLine_->hide();
  ui_->mainLayout->addWidget(charCaption_, kCharViewRow, 0, Qt::AlignTop);
  ui_->mainLayout->addWidget(charLine_, kCharViewRow, 1);
  setTabOrder(floatLine_ ? static_cast<QWidget*>(floatLine_) : fields_[3], charLine_);
  linesFittedFor_ = {-1, -1};
  ConnectPanelsToRows();
}

void CConverterDlg::SetFloatViewShown(bool shown) {
  CheckQuietly(floatViewAction_, shown);
  if (shown == floatViewShown_) return;
  floatViewShown_ = shown;
  // Built on first use, so a hidden view costs the start-up nothing.
  if (!floatPanel_) BuildFloatView();
  if (shown) RefreshViews();
  ShowPanelWidgets({floatCaption_, floatPanel_}, shown);
}

void CConverterDlg::SetCharViewShown(bool shown) {
  CheckQuietly(charViewAction_, shown);
  if (shown == charViewShown_) return;
  charViewShown_ = shown;
  if (!charLine_) BuildCharView();
  if (shown) RefreshViews();
  ShowPanelWidgets({charCaption_, charLine_}, shown);
}

void CConverterDlg::OnFloatFieldEdited(const QString& text) {
  const std::string utf8 = text.toStdString();
  const bool reads = ParseFloatText(utf8, converter_->Bits()).has_value();
  if (!reads && InsertedLength(floatFieldText_, text) > 1) {
    // A paste or a drop that is no number: a beep, and the field as it was.
    beeper_.Beep();
    const int caret = floatField_->cursorPosition() - static_cast<int>(text.size() - floatFieldText_.size());
    floatField_->setText(floatFieldText_);
    floatField_->setCursorPosition(std::clamp(caret, 0, static_cast<int>(floatFieldText_.size())));
    return;
  }
  floatFieldText_ = text;
  // A text on its way to a number ("-", "1e") waits for its next key.
  if (reads) converter_->SetFromFloatText(utf8);
}

void CConverterDlg::RefreshViews() {
  if (floatViewShown_ && floatPanel_) {
    const FloatDescription d = converter_->FloatView();
    SetChangedText(floatLine_, QString::fromStdString(FormatFloatLine(d, *viewTexts_)));
    floatField_->setEnabled(d.HasFormat());
    // While the user types a number that reads as the bits shown, the field keeps
    // the user's spelling ("1." stays "1."); otherwise it shows the view's decimal.
    const auto typed = ParseFloatText(floatField_->text().toStdString(), d.bits);
    const bool keepTyped = floatField_->hasFocus() && floatField_->isModified() && typed &&
                           *typed == converter_->Pattern() && d.HasFormat();
    const QString shown = d.HasFormat() ? QString::fromStdString(d.decimal) : QString();
    if (!keepTyped && floatField_->text() != shown) floatField_->setText(shown);
    if (!keepTyped) floatFieldText_ = shown;
  }
  if (charViewShown_ && charLine_) {
    const QString line = QString::fromStdString(FormatCharLine(converter_->CharView(), *viewTexts_));
    SetChangedText(charLine_, kLeftToRightIsolate + line + kPopDirectionalIsolate);
    // A screen reader reads the line without the marks that isolate it.
    if (charLine_->accessibleName() != line) charLine_->setAccessibleName(line);
  }
  FitViewLines();
}

void CConverterDlg::FitViewLines() {
  // A wrapped line is given the height its longest text at the width needs at the
  // rows' width: the layout alone would take the height at a guessed width and cut
  // lines off, and a height that followed each text would make the window jump as
  // one types. Measured once per width of the rows and of the number.
  const std::pair<int, int> fitFor{fields_[0]->width(), converter_->Bits()};
  if (fitFor == linesFittedFor_) return;
  linesFittedFor_ = fitFor;
  const auto fit = [&](QLabel* line, const std::vector<std::string>& texts) {
    int needed = 0;
    for (const std::string& text : texts) {
      needed = std::max(
          needed, line->fontMetrics()
                      .boundingRect(QRect(0, 0, fitFor.first, 1 << 20), Qt::TextWordWrap, QString::fromStdString(text))
                      .height());
    }
    const QMargins margins = line->contentsMargins();
    needed += margins.top() + margins.bottom() + 2 * line->margin();
    if (line->minimumHeight() != needed) line->setMinimumHeight(needed);
  };
  if (floatLine_) fit(floatLine_, LongestFloatLines(fitFor.second, *viewTexts_));
  if (charLine_) fit(charLine_, LongestCharLines(fitFor.second, *viewTexts_));
}

QString CConverterDlg::AllRowsText() const {
  const std::array<QComboBox*, 4> combos{ui_->row1Base, ui_->row2Base, ui_->row3Base, ui_->row4Base};
  QStringList lines;
  for (std::size_t row = 0; row < 4; ++row) lines << combos[row]->currentText() + u'\t' + fields_[row]->text();
  if (floatViewShown_ && floatCaption_) lines << floatCaption_->text() + u'\t' + floatLine_->text();
  if (charViewShown_ && charCaption_) {
    lines << charCaption_->text() + u'\t' + QString::fromStdString(FormatCharLine(converter_->CharView(), *viewTexts_));
  }
  return lines.join(u'\n');
}

void CConverterDlg::CopyAll() {
  if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(AllRowsText());
}

}  // namespace radixpad
