// The modal boxes the options sheet opens: the image file chooser, the colour chooser
// and the message box. Each goes through a replaceable function, so a test can give
// the next answer; an empty function (the default) opens the real dialog.
#pragma once

#include <QColor>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace radixpad {

/// What the image file chooser is asked for.
struct FileOpenRequest {
  QString title;
  QStringList nameFilters;  // Qt form: "Description (*.a *.b)"
  QString defaultSuffix;
};

struct OptionsDialogs {
  /// The chosen file's full path, or empty when cancelled.
  using FileChooser = std::function<QString(QWidget* parent, const FileOpenRequest& request)>;
  /// The chosen colour, or nothing when cancelled.
  using ColorChooser = std::function<std::optional<QColor>(QWidget* parent, QColor initial)>;
  /// Shows `text` with `icon` and an OK button.
  using MessageShower = std::function<void(QWidget* parent, const QString& text, QMessageBox::Icon icon)>;

  static FileChooser& fileChooser();
  static ColorChooser& colorChooser();
  static MessageShower& messageShower();
};

QString ChooseFileToOpen(QWidget* parent, const FileOpenRequest& request);
std::optional<QColor> ChooseColor(QWidget* parent, QColor initial);
void ShowMessage(QWidget* parent, const QString& text, QMessageBox::Icon icon);

}  // namespace radixpad
