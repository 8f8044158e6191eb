// What a failed settings save would have told the user, kept for the test.
#pragma once

#include <QList>
#include <QStringList>

#include "settings_save.h"

namespace radixpad::test {

// Keeps the text of each failed save, and the window its box would belong to, instead of
// showing a box while the object lives; the box comes back afterwards.
class SaveFailures {
 public:
  SaveFailures() {
    SaveFailureBox() = [this](QWidget* owner, const QString& text) {
      texts << text;
      owners << owner;
    };
  }
  ~SaveFailures() { SaveFailureBox() = nullptr; }
  SaveFailures(const SaveFailures&) = delete;
  SaveFailures& operator=(const SaveFailures&) = delete;

  QStringList texts;
  QList<const QWidget*> owners;
};

}  // namespace radixpad::test
