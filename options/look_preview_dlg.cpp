#include "look_preview_dlg.h"

#include <QCoreApplication>
#include <QFile>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <array>

#include "qy_messages.h"
#include "ui_converter_dlg.h"
#include "window_texts.h"

namespace radixpad {
namespace {

constexpr intptr_t kScSize = 0xF000;
constexpr intptr_t kScCommandMask = 0xFFF0;

// The template's digit fields filter and beep as the main window's rows do. In the preview
// they are plain line edits in the same place, under the same name and control id.
void ReplaceDigitFields(QWidget* dialog, const std::array<QLineEdit*, 4>& fields) {
  for (QLineEdit* field : fields) {
    auto* plain = new QLineEdit(dialog);
    plain->setObjectName(field->objectName());
    plain->setProperty("controlId", field->property("controlId"));
    plain->setSizePolicy(field->sizePolicy());
    plain->setMinimumSize(field->minimumSize());
    if (QLayout* layout = dialog->layout()) delete layout->replaceWidget(field, plain, Qt::FindChildrenRecursively);
    QWidget::setTabOrder(field, plain);  // takes the field's place in the tab order
    delete field;
  }
}

}  // namespace

CLookPreviewDlg::CLookPreviewDlg(int templateId, QWidget* parent, const QString& textFile)
    : QDialog(parent), m_commonLib(0) {
  if (templateId == kMainWindowTemplate) {
    m_template = std::make_unique<Ui::CConverterDlg>();
    m_template->setupUi(this);
    // Before any size is taken, so the window grows with its texts.
    if (!textFile.isEmpty()) ApplyWindowTexts(*m_template, *this, textFile);
    ReplaceDigitFields(this,
                       {m_template->row1Field, m_template->row2Field, m_template->row3Field, m_template->row4Field});
    m_template->row1Field = m_template->row2Field = m_template->row3Field = m_template->row4Field = nullptr;
    // No button is a default one: Enter is the dialog's OK.
    for (QPushButton* button : findChildren<QPushButton*>()) {
      button->setAutoDefault(false);
      button->setDefault(false);
    }
    // The main window's look: its font and its size in dialog units of that font.
    setFont(QFont(QStringLiteral("Verdana"), 10));
    const QFontMetrics metrics(font());
    const int unitX = std::max(1, metrics.averageCharWidth());
    const int unitY = std::max(1, metrics.height());
    resize(QSize(290 * unitX / 4, 111 * unitY / 8).expandedTo(minimumSizeHint()));
  }
  // No minimise or maximise button, no resizing border.
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(size());
}

CLookPreviewDlg::~CLookPreviewDlg() = default;

void CLookPreviewDlg::showEvent(QShowEvent* event) {
  if (!m_initialized) Initialize();
  QDialog::showEvent(event);
}

void CLookPreviewDlg::Initialize() {
  m_initialized = true;
  if (m_commonLib.AttachPreview(this) == 0) return;
  SendLook(kLookSetBackgroundColor, static_cast<intptr_t>(backgroundColor));
  SendLook(kLookSetTextColor, static_cast<intptr_t>(textColor));
  if (showImage != 0) {
    SendLook(kLookSetDisplayMethod, displayMethod);
    // The library gets a NUL-terminated copy that lives for the call.
    QByteArray path = QFile::encodeName(imagePath);
    SendLook(kLookSetImagePath, reinterpret_cast<intptr_t>(path.data()));
    SendLook(kLookSetShowImage, showImage);
  }
}

void CLookPreviewDlg::SendLook(intptr_t subCode, intptr_t value) {
  CLookEvent look(subCode, value);
  QCoreApplication::sendEvent(this, &look);
}

void CLookPreviewDlg::ReleasePreview() {
  if (m_released) return;
  m_released = true;
  SendLook(kLookReleasePreview, 0);
}

void CLookPreviewDlg::accept() {
  ReleasePreview();
  QDialog::accept();
}

void CLookPreviewDlg::reject() {
  ReleasePreview();
  QDialog::reject();
}

void CLookPreviewDlg::keyPressEvent(QKeyEvent* event) {
  // Enter, from any control that does not use it itself, is OK: the dialog's own handling
  // of it looks for a default button, and the preview has none.
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  if (enter && modifiers == Qt::NoModifier) {
    accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool CLookPreviewDlg::event(QEvent* event) {
  if (event->type() == kSysCommandMessage) {
    const intptr_t command = static_cast<CSysCommandEvent*>(event)->command() & kScCommandMask;
    switch (command) {
      case kScSize:
      case kScMinimize:
      case kScMaximize:
        break;  // the preview keeps its size and stays shown
      case kScClose:
        close();
        break;
      case kScRestore:
        showNormal();
        break;
      default:
        break;
    }
    return true;
  }
  return QDialog::event(event);
}

void CLookPreviewDlg::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange) return;
  // A window manager may still minimise or maximise on its own (a caption double-click,
  // a keyboard shortcut); the preview goes back to its normal state.
  if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) {
    QTimer::singleShot(0, this, [this] { setWindowState(Qt::WindowNoState); });
  }
}

}  // namespace radixpad
