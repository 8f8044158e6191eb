#include "load_failure_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>
#include <QtDebug>

#include "settings_keys.h"

namespace radixpad {

void ShowLoadFailureBox(QObject* owner, const QString& text) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
    qWarning("%s: %s", kProductName, qPrintable(text));
    return;
  }
  QMessageBox::information(qobject_cast<QWidget*>(owner), QString::fromLatin1(kProductName), text);
}

}  // namespace radixpad
