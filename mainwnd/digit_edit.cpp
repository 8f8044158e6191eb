#include "digit_edit.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextCharFormat>
#include <QValidator>
#include <array>
#include <string>
#include <utility>

#include "beep.h"
#include "digit_filter.h"
#include "digit_groups.h"
#include "localized_texts.h"

namespace radixpad {

namespace {

// Shift+F10 and the Menu key ask for the focused control's menu.
bool IsMenuKey(const QKeyEvent& event) {
  const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
  return (event.key() == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
         (event.key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier);
}

std::string Utf8(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace

// Qt runs the validator on every change of the text: user edits (typing,
// pasting, dropping, undo) and setText alike. It only accepts or refuses, and
// never rewrites the text, which would throw away the undo history; a refused
// edit is undone by the line edit, silently.
class CDigitEditValidator : public QValidator {
 public:
  explicit CDigitEditValidator(CDigitEdit* edit) : QValidator(edit), edit_(edit) {}
  State validate(QString& input, int& /*pos*/) const override {
    // A step through the undo history goes back to a text the field held before;
    // refusing it would leave the line edit believing its text invalid, and then
    // it would stop refusing edits past the limit.
    if (edit_->historyStep_) return Acceptable;
    return edit_->FitsLimit(input) ? Acceptable : Invalid;
  }

 private:
  CDigitEdit* edit_;
};

CDigitEdit::CDigitEdit(QWidget* parent) : QLineEdit(parent) {
  setValidator(new CDigitEditValidator(this));
  connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
    previousText_ = text;
    ++changeCount_;
    Regroup();
    emit changed();
  });
}

std::string CDigitEdit::Text() const { return text().toLatin1().toStdString(); }

void CDigitEdit::SetText(std::string_view text) {
  const QString value = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  if (value == this->text()) {
    // Qt stays silent for an unchanged text; the converter relies on the
    // notification all the same.
    setCursorPosition(static_cast<int>(value.size()));
    emit changed();
    return;
  }
  // A write may run inside another one (the notification rewrites rows).
  const bool outer = programWrite_;
  programWrite_ = true;
  setText(value);
  programWrite_ = outer;
}

void CDigitEdit::SetMode(int base, int bits, int signedFlag) {
  base_ = base;
  bits_ = bits;
  signed_ = signedFlag;
  if (auto limit = TextLimit(base, bits, signedFlag != 0)) limit_ = limit;
  Regroup();  // the base decides the groups
}

void CDigitEdit::SetGroupDigits(bool grouped) {
  groupDigits_ = grouped;
  Regroup();
}

int CDigitEdit::GroupGap() const { return std::max(2, fontMetrics().horizontalAdvance(QLatin1Char('0')) / 2); }

void CDigitEdit::Regroup() {
  if (preediting_ || (!groupDigits_ && !gapsDrawn_)) return;
  QList<QInputMethodEvent::Attribute> gaps;
  if (groupDigits_) {
    QTextCharFormat gap;
    gap.setFontLetterSpacingType(QFont::AbsoluteSpacing);
    gap.setFontLetterSpacing(GroupGap());
    // The line edit places these formats relative to the caret.
    const int caret = cursorPosition();
    for (const std::size_t at : DigitGroupGaps(base_, Text())) {
      gaps.append(QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat, static_cast<int>(at) - caret, 1, gap));
    }
  }
  gapsDrawn_ = !gaps.isEmpty();
  QInputMethodEvent formats(QString(), gaps);
  QLineEdit::inputMethodEvent(&formats);
}

void CDigitEdit::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  if (event->type() == QEvent::FontChange) Regroup();
}

qsizetype InsertedLength(const QString& before, const QString& after) {
  const qsizetype shorter = std::min(before.size(), after.size());
  qsizetype prefix = 0;
  while (prefix < shorter && before[prefix] == after[prefix]) ++prefix;
  qsizetype suffix = 0;
  while (suffix < shorter - prefix && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  return after.size() - prefix - suffix;
}

bool CDigitEdit::FitsLimit(const QString& input) const {
  if (programWrite_ || !limit_) return true;
  // Characters, not UTF-16 units, as the paste counts them.
  if (input.toUcs4().size() <= *limit_) return true;
  // Too long: still fine when the edit only took characters away (a text a
  // program wrote may be longer than the limit).
  return InsertedLength(previousText_, input) == 0;
}

bool CDigitEdit::AcceptsTyped(const QString& typed) const {
  std::string latin;
  for (QChar c : typed) {
    if (c.unicode() >= 0x100) return false;
    latin.push_back(static_cast<char>(c.unicode()));
  }
  // A minus typed over a selection that starts the text lands first.
  const int at = hasSelectedText() ? selectionStart() : cursorPosition();
  const KeyContext context{false, text().isEmpty() || selectedText() == text(), at == 0};
  return AcceptsTypedText(base_, signed_ != 0, latin, context);
}

bool CDigitEdit::PasteText(const QString& text) {
  if (hasSelectedText()) return PasteAt(selectionStart(), static_cast<int>(selectedText().size()), text);
  return PasteAt(cursorPosition(), 0, text);
}

bool CDigitEdit::PasteAt(int start, int length, const QString& text) {
  if (isReadOnly()) return false;
  if (text.isEmpty() && length == 0) return true;  // nothing to paste, as the line edit has it
  const QString current = this->text();
  const std::string before = Utf8(current.left(start));
  const auto outcome = PasteIntoText(Utf8(current), before.size(), Utf8(current.mid(start, length)).size(), Utf8(text),
                                     base_, signed_ != 0, limit_);
  if (!outcome.Accepted()) {
    RadixpadBeep();
    return false;
  }
  const QString tidy =
      QString::fromUtf8(outcome.text.data() + before.size(), static_cast<qsizetype>(outcome.caret - before.size()));
  if (length > 0) {
    setSelection(start, length);
  } else {
    setCursorPosition(start);
  }
  const unsigned changes = changeCount_;
  insert(tidy);
  // A paste that leaves the text as it was is still one change.
  if (changeCount_ == changes) emit changed();
  return true;
}

bool CDigitEdit::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride && IsMenuKey(*static_cast<QKeyEvent*>(event))) {
    // The field's own edit menu comes before the window menu's shortcut.
    event->accept();
    return true;
  }
  return QLineEdit::event(event);
}

void CDigitEdit::StepHistory(bool undo) {
  historyStep_ = true;
  if (undo) {
    QLineEdit::undo();
  } else {
    QLineEdit::redo();
  }
  historyStep_ = false;
}

void CDigitEdit::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) {
    if (!isReadOnly()) StepHistory(event->matches(QKeySequence::Undo));
    event->accept();
    return;
  }
  if (event->matches(QKeySequence::Paste)) {
    PasteText(QGuiApplication::clipboard()->text());
    event->accept();
    return;
  }
  if (IsMenuKey(*event)) {
    const QPoint at = cursorRect().center();
    QContextMenuEvent request(QContextMenuEvent::Keyboard, at, mapToGlobal(at), event->modifiers());
    contextMenuEvent(&request);
    event->accept();
    return;
  }
  const QString typed = event->text();
  const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
  if (!ctrl && typed.size() == 1 && typed[0].unicode() < 0x80 && !hasSelectedText() &&
      IsMarkerAfterLoneZero(base_, static_cast<char>(typed[0].unicode()), Utf8(text()),
                            static_cast<std::size_t>(cursorPosition()))) {
    // "0x" typed in front of hexadecimal digits: the marker takes its zero away,
    // as one undoable edit.
    backspace();
    event->accept();
    return;
  }
  // Keys that type no character (arrows, Home, Delete, Enter, Esc, Tab) and
  // editing shortcuts are the line edit's own business. A key may type several
  // characters at once (compose, dead keys); all of them pass the filter.
  const bool character = !typed.isEmpty() && typed[0].unicode() >= 0x20 && typed[0].unicode() != 0x7F;
  if (!ctrl && character && !AcceptsTyped(typed)) {
    RadixpadBeep();
    event->accept();
    return;
  }
  const QString capitals = typed.toUpper();
  if (capitals == typed) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  // Letters go in as capitals, so the undo history holds what the field shows.
  QKeyEvent capital(event->type(), event->key(), event->modifiers(), event->nativeScanCode(), event->nativeVirtualKey(),
                    event->nativeModifiers(), capitals, event->isAutoRepeat(), static_cast<quint16>(event->count()),
                    event->device());
  QLineEdit::keyPressEvent(&capital);
  event->setAccepted(capital.isAccepted());
}

void CDigitEdit::inputMethodEvent(QInputMethodEvent* event) {
  const QString commit = event->commitString();
  preediting_ = !event->preeditString().isEmpty();
  if (commit.isEmpty()) {
    QLineEdit::inputMethodEvent(event);
    if (!preediting_) Regroup();
    return;
  }
  // A commit is typed text like a key's; a refused one leaves the text alone
  // but still takes the pre-edit state the input method sends with it.
  const bool accepted = AcceptsTyped(commit);
  if (!accepted) RadixpadBeep();
  QInputMethodEvent shaped(event->preeditString(), event->attributes());
  if (accepted) shaped.setCommitString(commit.toUpper(), event->replacementStart(), event->replacementLength());
  QLineEdit::inputMethodEvent(&shaped);
  event->setAccepted(shaped.isAccepted());
}

void TranslateEditMenu(QMenu* menu, const QString& textFile) {
  // The items come in a fixed order; each takes its text from the text file and
  // keeps the key the line edit shows after a tab.
  static constexpr std::array<std::pair<const char*, const char*>, 7> kItems{{{"Undo", "&Undo"},
                                                                              {"Redo", "&Redo"},
                                                                              {"Cut", "Cu&t"},
                                                                              {"Copy", "&Copy"},
                                                                              {"Paste", "&Paste"},
                                                                              {"Delete", "Delete"},
                                                                              {"SelectAll", "Select All"}}};
  std::size_t item = 0;
  for (QAction* action : menu->actions()) {
    if (action->isSeparator() || item == kItems.size()) continue;
    const auto [key, english] = kItems[item++];
    const QString shortcut = action->text().section(QLatin1Char('\t'), 1);
    const QString text = GetSectionText(text_sections::kEditMenu, key, textFile, QString::fromUtf8(english));
    action->setText(shortcut.isEmpty() ? text : text + QLatin1Char('\t') + shortcut);
  }
}

void CDigitEdit::contextMenuEvent(QContextMenuEvent* event) {
  // The platform may follow the Menu key with a request of its own; the menu
  // the key opened stays the only one.
  if (event->reason() == QContextMenuEvent::Keyboard && QApplication::activePopupWidget()) {
    event->accept();
    return;
  }
  QMenu* menu = createStandardContextMenu();
  if (!menu) return;
  menu->setAttribute(Qt::WA_DeleteOnClose);
  TranslateEditMenu(menu, textFile_);
  for (QAction* action : menu->actions()) {
    // Undo and redo keep the typing limit; the Paste item pastes as every paste
    // does. Each is the item wired to the line edit's slot (by name in this Qt, by
    // pointer in others).
    if (disconnect(action, SIGNAL(triggered()), this, SLOT(undo())) ||
        disconnect(action, &QAction::triggered, this, &QLineEdit::undo)) {
      action->setObjectName(QStringLiteral("edit-undo"));
      connect(action, &QAction::triggered, this, [this] { StepHistory(true); });
    } else if (disconnect(action, SIGNAL(triggered()), this, SLOT(redo())) ||
               disconnect(action, &QAction::triggered, this, &QLineEdit::redo)) {
      action->setObjectName(QStringLiteral("edit-redo"));
      connect(action, &QAction::triggered, this, [this] { StepHistory(false); });
    } else if (disconnect(action, SIGNAL(triggered()), this, SLOT(paste())) ||
               disconnect(action, &QAction::triggered, this, &QLineEdit::paste)) {
      action->setObjectName(QStringLiteral("edit-paste"));
      connect(action, &QAction::triggered, this, [this] { PasteText(QGuiApplication::clipboard()->text()); });
    }
  }
  menu->popup(event->globalPos());
  event->accept();
}

void CDigitEdit::mouseReleaseEvent(QMouseEvent* event) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (event->button() == Qt::MiddleButton && clipboard->supportsSelection() && !isReadOnly()) {
    // The line edit would insert the selection as it is; it is a paste.
    deselect();
    PasteText(clipboard->text(QClipboard::Selection));
    event->accept();
    return;
  }
  QLineEdit::mouseReleaseEvent(event);
}

void CDigitEdit::dropEvent(QDropEvent* event) {
  const QString text = event->mimeData() ? event->mimeData()->text() : QString();
  if (text.isNull() || isReadOnly() || (event->source() == this && event->dropAction() == Qt::MoveAction)) {
    // Digits moved inside the field keep its length: the line edit's own move.
    QLineEdit::dropEvent(event);
    return;
  }
  if (event->source() == this) deselect();
  // A refused drop is ignored, so a source that moves its text keeps it.
  if (PasteAt(cursorPositionAt(event->position().toPoint()), 0, text)) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

}  // namespace radixpad
