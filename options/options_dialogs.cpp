#include "options_dialogs.h"

#include <QColorDialog>
#include <QFileDialog>

#include "settings_keys.h"

namespace radixpad {

OptionsDialogs::FileChooser& OptionsDialogs::fileChooser() {
  static FileChooser chooser;
  return chooser;
}

OptionsDialogs::ColorChooser& OptionsDialogs::colorChooser() {
  static ColorChooser chooser;
  return chooser;
}

OptionsDialogs::MessageShower& OptionsDialogs::messageShower() {
  static MessageShower shower;
  return shower;
}

QString ChooseFileToOpen(QWidget* parent, const FileOpenRequest& request) {
  if (const auto& hook = OptionsDialogs::fileChooser()) return hook(parent, request);
  QFileDialog dialog(parent, request.title);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(request.nameFilters);
  dialog.setDefaultSuffix(request.defaultSuffix);
  dialog.setOption(QFileDialog::ReadOnly);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}

std::optional<QColor> ChooseColor(QWidget* parent, QColor initial) {
  if (const auto& hook = OptionsDialogs::colorChooser()) return hook(parent, initial);
  const QColor chosen = QColorDialog::getColor(initial, parent);
  if (!chosen.isValid()) return std::nullopt;
  return chosen;
}

void ShowMessage(QWidget* parent, const QString& text, QMessageBox::Icon icon) {
  if (const auto& hook = OptionsDialogs::messageShower()) {
    hook(parent, text, icon);
    return;
  }
  // A dialog: a close box, no minimise or maximise.
  QMessageBox box(icon, QString::fromLatin1(kProductName), text, QMessageBox::Ok, parent,
                  Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                      Qt::WindowCloseButtonHint);
  box.exec();
}

}  // namespace radixpad
