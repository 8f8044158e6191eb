// A field that records one key combination: the next key pressed with the modifiers
// held, shown in the desktop's words. Esc, Tab and Shift+Tab keep their usual work;
// the window's own shortcuts stay quiet while the field has the focus.
#pragma once

#include <QKeyCombination>
#include <QLineEdit>

namespace radixpad {

class CKeyField : public QLineEdit {
  Q_OBJECT

 public:
  explicit CKeyField(QWidget* parent = nullptr);

  QKeyCombination Key() const { return m_key; }
  /// Shows `key` (none: the field is empty) without raising keyChanged.
  void SetKey(QKeyCombination key);

 signals:
  /// The user pressed a new combination.
  void keyChanged(QKeyCombination key);

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QKeyCombination m_key;
};

}  // namespace radixpad
