#include "options_page.h"

namespace radixpad {

QWidget* COptionsPage::Control(int controlId) const {
  const auto widgets = findChildren<QWidget*>();
  for (QWidget* widget : widgets) {
    if (widget->property("controlId").toInt() == controlId) return widget;
  }
  return nullptr;
}

void COptionsPage::Activate() {
  if (!m_shown) {
    m_shown = true;
    OnInitDialog();
  }
  OnSetActive();
}

}  // namespace radixpad
