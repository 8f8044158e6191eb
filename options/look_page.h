// CUIPage, the Look page: text and background colours, the background image with its
// display method, and a preview of the choice on a copy of the main window.
#pragma once

#include <QString>
#include <memory>

#include "color_ref.h"
#include "options_page.h"

namespace Ui {
class CUIPage;
}

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace radixpad {

class CUIPage : public COptionsPage {
  Q_OBJECT

 public:
  /// A page with the theme's button colours, no image, method "Tile" and no preview.
  explicit CUIPage(QWidget* parent = nullptr);
  ~CUIPage() override;

  // Inputs, set before the sheet runs.
  int* lastPageSlot = nullptr;
  int pageIndex = 1;
  int previewEnabled = 0;
  int previewTemplate = 0;
  QString textFile;  // String.dat: labels, the chooser's title, the warning text

  int applied = 0;  // set by the OK step
  // 0x00BBGGRR, or kThemeColor for the desktop theme's own: the defaults are the
  // theme's unless the factory settings name colours.
  ColorRef defaultBackgroundColor;
  ColorRef defaultTextColor;
  ColorRef backgroundColor;
  ColorRef textColor;
  int showImage = 0;
  int displayMethod = 2;
  QString imagePath;

  QCheckBox* ShowImageCheck() const;
  QLineEdit* PathField() const;
  QComboBox* DisplayMethodList() const;

  bool OnKillActive() override;
  void OnOK() override;

 protected:
  void OnInitDialog() override;
  void OnSetActive() override;

 private:
  void ApplyEnablingRule();
  void Browse();
  void ChooseTextColor();
  void ChooseBackgroundColor();
  void UseDefaultColors();
  void UpdateSample();
  void Preview();
  /// The method of the selected list entry; -1 when nothing is selected.
  int SelectedMethod() const;
  void ShowNoImageWarning();

  std::unique_ptr<Ui::CUIPage> m_ui;
};

}  // namespace radixpad
