#include "options_page.h"

#include "ini_store.h"

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
    // A page reads its texts and values from a handful of files: each is read once.
    const CIniReadBatch reads;
    OnInitDialog();
  }
  OnSetActive();
}

}  // namespace radixpad
