// A row's digit field: a line edit that knows its base, width and signedness,
// refuses typed text that cannot belong to a number of its base, types letters
// as capitals, tidies pasted text, and bounds typing and pasting (never program
// writes) by the longest text of its width.
#pragma once

#include <QLineEdit>
#include <optional>

#include "converter_view.h"

class QMenu;

namespace radixpad {

/// Gives a line edit's standard menu (Undo, Redo, Cut, Copy, Paste, Delete, Select
/// All) the texts of section EditMenu of `textFile`, keeping the keys shown after a tab.
void TranslateEditMenu(QMenu* menu, const QString& textFile);

/// How many characters an edit of `before` into `after` put in: what lies between their
/// common prefix and common suffix. More than one at once is a paste or a drop.
qsizetype InsertedLength(const QString& before, const QString& after);

class CDigitEdit : public QLineEdit, public IDigitField {
  Q_OBJECT

 public:
  explicit CDigitEdit(QWidget* parent = nullptr);

  // IDigitField
  std::string Text() const override;
  /// A program write: no limit, no filter, no capitals; raises changed() even
  /// when the text stays the same.
  void SetText(std::string_view text) override;
  void SetMode(int base, int bits, int signedFlag) override;
  int Base() const override { return base_; }

  int Bits() const { return bits_; }
  int SignedFlag() const { return signed_; }
  /// The typing limit; empty until the first SetMode with a known base and width.
  std::optional<int> Limit() const { return limit_; }

  /// A paste of `text` over the selection, or at the caret: the text is tidied
  /// for the base; when the field's text would become longer than its limit the
  /// paste is refused with a beep and nothing changes. True when it went in.
  /// Every way to paste (keys, the edit menu, middle click, a drop) ends here.
  bool PasteText(const QString& text);
  /// The text file the edit menu's items take their texts from (section EditMenu).
  void SetTextFile(const QString& textFile) { textFile_ = textFile; }

  /// Shows the digits in groups (Binary and Hexadecimal in fours, Octal and Decimal
  /// in threes, from the right), drawn as space between the glyphs: the text, the
  /// clipboard and drags never hold a separator, and the caret, the selection and
  /// the mouse move over the gaps as over the digits.
  void SetGroupDigits(bool grouped);
  bool GroupDigits() const { return groupDigits_; }
  /// The space drawn between two groups, in pixels.
  int GroupGap() const;

 signals:
  /// The change notification: every edit, typed, pasted or written.
  void changed();

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  friend class CDigitEditValidator;
  // True when a user edit of previousText_ into `input` keeps to the typing limit.
  bool FitsLimit(const QString& input) const;
  // The paste of `text` over `length` characters from `start`.
  bool PasteAt(int start, int length, const QString& text);
  // Whether typed text (Ctrl not held) passes the filter at the caret.
  bool AcceptsTyped(const QString& typed) const;
  // One step back (undo) or forward through the edit history.
  void StepHistory(bool undo);
  // Draws the gaps of the current text (or none): a format for the line edit's text
  // layout, handed over as an input-method event that inserts nothing.
  void Regroup();

  int base_ = 0;
  int signed_ = 1;
  int bits_ = 8;
  std::optional<int> limit_;
  QString previousText_;
  bool programWrite_ = false;
  bool historyStep_ = false;
  bool groupDigits_ = false;
  bool gapsDrawn_ = false;
  bool preediting_ = false;  // an input method is composing: its formats stay
  QString textFile_;
  unsigned changeCount_ = 0;
};

}  // namespace radixpad
