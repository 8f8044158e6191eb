// A row's digit field: a line edit that knows its base, width and signedness,
// refuses keys that cannot belong to a number of its base, shows letters as
// capitals and bounds typing and pasting (never program writes) by the
// longest text of its width.
#pragma once

#include <QLineEdit>
#include <optional>

#include "converter_view.h"

namespace radixpad {

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

 signals:
  /// The change notification: every edit, typed, pasted or written.
  void changed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  friend class CDigitEditValidator;
  // Applies capitals and the typing limit to a user edit of previousText_.
  void ShapeUserEdit(QString& input, int& pos) const;

  int base_ = 0;
  int signed_ = 1;
  int bits_ = 8;
  std::optional<int> limit_;
  QString previousText_;
};

}  // namespace radixpad
