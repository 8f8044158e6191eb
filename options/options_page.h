// A page of the options sheet. The sheet initialises a page when it first becomes the
// active page, asks the page it leaves whether it may be left, and runs the OK step
// only of the pages that were shown.
#pragma once

#include <QWidget>

namespace radixpad {

class COptionsPage : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;

  /// The page's control with the numeric id `controlId`, or null.
  QWidget* Control(int controlId) const;

  /// Whether the page has been shown (and initialised) in this sheet.
  bool WasShown() const { return m_shown; }

  /// Runs the initialisation the first time, then the page's activation.
  void Activate();
  /// Validation before the page is left or OK is taken; false keeps the page.
  virtual bool OnKillActive() { return true; }
  /// Takes the page's values; the sheet calls it on OK for every page that was shown.
  virtual void OnOK() = 0;
  /// Undoes what the page tried out while it was shown; the sheet calls it on Cancel,
  /// Esc or close for every page that was shown.
  virtual void OnCancel() {}

 protected:
  virtual void OnInitDialog() = 0;
  virtual void OnSetActive() {}

 private:
  bool m_shown = false;
};

}  // namespace radixpad
