#include "about_box.h"

#include <QMessageBox>
#include <QPointer>
#include <QUrl>

#include "settings_keys.h"

namespace radixpad::commonlib {

QString AboutText(const QString& helpFile) {
  const QString name = QString::fromLatin1(kProductName).toHtmlEscaped();
  const QString link = QUrl::fromLocalFile(helpFile).toString(QUrl::FullyEncoded).toHtmlEscaped();
  return QStringLiteral("<p><b>%1</b><br>Version %2</p><p>Copyright &copy; %3 Quillory. All rights reserved.</p>"
                        "<p><a href=\"%4\">Help</a></p>")
      .arg(name, QStringLiteral(RADIXPAD_VERSION), QStringLiteral(RADIXPAD_BUILD_YEAR), link);
}

void ShowAboutBox(QWidget* owner, const QString& helpFile) {
  // On the heap: a box owned by a window that goes away while the box is open is
  // deleted with it, and must not be deleted again here.
  QPointer<QMessageBox> box = new QMessageBox(owner);
  box->setObjectName(QString::fromLatin1(kAboutBoxObjectName));
  // A dialog: a close box, no minimise or maximise.
  box->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                      Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  box->setWindowTitle(QStringLiteral("About %1").arg(QString::fromLatin1(kProductName)));
  box->setTextFormat(Qt::RichText);
  box->setText(AboutText(helpFile));
  box->setTextInteractionFlags(Qt::TextBrowserInteraction);
  if (owner && !owner->windowIcon().isNull()) box->setIconPixmap(owner->windowIcon().pixmap(48, 48));
  box->setStandardButtons(QMessageBox::Ok);
  box->exec();
  delete box.data();
}

}  // namespace radixpad::commonlib
