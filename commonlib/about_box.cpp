#include "about_box.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QUrl>

#include "localized_texts.h"
#include "settings_keys.h"

namespace radixpad::commonlib {

QString AboutBoxText(const char* key, const QString& helpFile, const char* english) {
  // String.dat lies beside the help page, in the program folder.
  const QString textFile = QFileInfo(helpFile).dir().filePath(QString::fromLatin1(files::kTexts));
  return GetSectionText(text_sections::kAbout, key, textFile, QString::fromUtf8(english));
}

QString AboutText(const QString& helpFile) {
  const QString name = QString::fromLatin1(kProductName).toHtmlEscaped();
  const QString link = QUrl::fromLocalFile(helpFile).toString(QUrl::FullyEncoded).toHtmlEscaped();
  const QString version = AboutBoxText("Version", helpFile, "Version %1").arg(QStringLiteral(RADIXPAD_VERSION));
  const QString copyright = AboutBoxText("Copyright", helpFile, "Copyright \u00a9 %1 Quillory. All rights reserved.")
                                .arg(QStringLiteral(RADIXPAD_BUILD_YEAR));
  const QString help = AboutBoxText("Help", helpFile, "Help");
  return QStringLiteral("<p><b>%1</b><br>%2</p><p>%3</p><p><a href=\"%4\">%5</a></p>")
      .arg(name, version.toHtmlEscaped(), copyright.toHtmlEscaped(), link, help.toHtmlEscaped());
}

void ShowAboutBox(QWidget* owner, const QString& helpFile) {
  // On the heap: a box owned by a window that goes away while the box is open is
  // deleted with it, and must not be deleted again here.
  QPointer<QMessageBox> box = new QMessageBox(owner);
  box->setObjectName(QString::fromLatin1(kAboutBoxObjectName));
  // A dialog: a close box, no minimise or maximise.
  box->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                      Qt::WindowCloseButtonHint);
  box->setWindowTitle(AboutBoxText("Title", helpFile, "About %1").arg(QString::fromLatin1(kProductName)));
  box->setTextFormat(Qt::RichText);
  box->setText(AboutText(helpFile));
  box->setTextInteractionFlags(Qt::TextBrowserInteraction);
  // At the box's own scale, from the window icon's sharpest fitting size.
  if (owner && !owner->windowIcon().isNull()) {
    box->setIconPixmap(owner->windowIcon().pixmap(QSize(48, 48), box->devicePixelRatioF()));
  }
  box->setStandardButtons(QMessageBox::Ok);
  box->button(QMessageBox::Ok)->setText(AboutBoxText("OK", helpFile, "OK"));
  box->exec();
  delete box.data();
}

}  // namespace radixpad::commonlib
