// CLookPreviewDlg: a copy of the main window, built from its template, on which the
// common library paints a look that is not confirmed yet. Its controls do nothing of their
// own; Enter, Esc and the close box end it.
#pragma once

#include <QDialog>
#include <QString>
#include <memory>

#include "color_ref.h"
#include "common_lib.h"

namespace Ui {
class CConverterDlg;
}

namespace radixpad {

/// The main window's template id, the only one a preview can be built from.
inline constexpr int kMainWindowTemplate = 102;

class CLookPreviewDlg : public QDialog {
  Q_OBJECT

 public:
  /// Builds the controls of `templateId` (an unknown id gives an empty window), with
  /// the texts of `textFile` (String.dat; empty keeps the template's English).
  CLookPreviewDlg(int templateId, QWidget* parent, const QString& textFile = QString());
  ~CLookPreviewDlg() override;

  // What to show; the caller fills every field before the modal run.
  ColorRef backgroundColor = 0;
  ColorRef textColor = 0;
  int showImage = 0;
  int displayMethod = 0;
  QString imagePath;

  void accept() override;
  void reject() override;

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  /// Hands the window to the library and sends it the look; runs once, before the
  /// window first shows.
  void Initialize();
  void SendLook(intptr_t subCode, intptr_t value);
  void ReleasePreview();

  std::unique_ptr<Ui::CConverterDlg> m_template;
  CCommonLib m_commonLib;
  bool m_initialized = false;
  bool m_released = false;
};

}  // namespace radixpad
