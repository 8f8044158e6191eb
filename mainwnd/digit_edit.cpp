#include "digit_edit.h"

#include <QKeyEvent>
#include <QValidator>

#include "beep.h"
#include "digit_filter.h"

namespace radixpad {

// Qt runs the validator on every user edit (typing, pasting, dropping, undo)
// and never on setText, which is exactly where capitals and the typing limit
// apply and where they must not.
class CDigitEditValidator : public QValidator {
 public:
  explicit CDigitEditValidator(CDigitEdit* edit) : QValidator(edit), edit_(edit) {}
  State validate(QString& input, int& pos) const override {
    edit_->ShapeUserEdit(input, pos);
    return Acceptable;
  }

 private:
  CDigitEdit* edit_;
};

CDigitEdit::CDigitEdit(QWidget* parent) : QLineEdit(parent) {
  setValidator(new CDigitEditValidator(this));
  connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
    previousText_ = text;
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
  setText(value);
}

void CDigitEdit::SetMode(int base, int bits, int signedFlag) {
  base_ = base;
  bits_ = bits;
  signed_ = signedFlag;
  if (auto limit = TextLimit(base, bits, signedFlag != 0)) limit_ = limit;
}

void CDigitEdit::ShapeUserEdit(QString& input, int& pos) const {
  input = input.toUpper();
  if (!limit_) return;
  const QString& before = previousText_;
  // Find the inserted run: what the edit changed between a common prefix and
  // a common suffix of the old and the new text.
  qsizetype prefix = 0;
  const qsizetype shorter = std::min(before.size(), input.size());
  while (prefix < shorter && before[prefix] == input[prefix]) ++prefix;
  qsizetype suffix = 0;
  while (suffix < shorter - prefix &&
         before[before.size() - 1 - suffix] == input[input.size() - 1 - suffix]) {
    ++suffix;
  }
  const qsizetype removed = before.size() - prefix - suffix;
  const qsizetype inserted = input.size() - prefix - suffix;
  const qsizetype room = std::max<qsizetype>(0, *limit_ - (before.size() - removed));
  if (inserted <= room) return;
  input = input.left(prefix + room) + input.right(suffix);
  pos = static_cast<int>(prefix + room);
}

void CDigitEdit::keyPressEvent(QKeyEvent* event) {
  const QString typed = event->text();
  const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
  // Keys that type no character (arrows, Home, Delete, Enter, Esc, Tab) and
  // editing shortcuts are the line edit's own business.
  const bool character = typed.size() == 1 && typed[0].unicode() >= 0x20 && typed[0].unicode() != 0x7F;
  if (ctrl || !character) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  const QChar c = typed[0];
  const char latin = c.unicode() < 0x100 ? static_cast<char>(c.unicode()) : '\0';
  const KeyContext context{false, text().isEmpty(), cursorPosition() == 0};
  if (latin == '\0' || !AcceptsTypedChar(base_, signed_ != 0, latin, context)) {
    RadixpadBeep();
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

}  // namespace radixpad
