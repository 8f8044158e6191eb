// The main window's widgets seen through the small interfaces the converter
// drives. Setting a selector's index or a toggle's state raises no signal, as
// the converter expects of a program change.
#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>

#include "beep.h"
#include "converter_view.h"

namespace radixpad {

/// The converter's beeper: the one beep of refused input.
class CQtBeeper : public IBeeper {
 public:
  void Beep() override { RadixpadBeep(); }
};

class CComboSelector : public ISelector {
 public:
  explicit CComboSelector(QComboBox* combo) : combo_(combo) {}
  int CurrentIndex() const override { return combo_->currentIndex(); }
  void SetCurrentIndex(int index) override {
    const QSignalBlocker block(combo_);
    combo_->setCurrentIndex(index);
  }

 private:
  QComboBox* combo_;
};

class CLabelText : public ILabel {
 public:
  explicit CLabelText(QLabel* label) : label_(label) {}
  void SetText(std::string_view text) override {
    label_->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
  }

 private:
  QLabel* label_;
};

class CButtonToggle : public IToggle {
 public:
  explicit CButtonToggle(QAbstractButton* button) : button_(button) {}
  bool IsChecked() const override { return button_->isChecked(); }
  void SetChecked(bool checked) override {
    const QSignalBlocker block(button_);
    button_->setChecked(checked);
  }

 private:
  QAbstractButton* button_;
};

}  // namespace radixpad
