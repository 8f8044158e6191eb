#include "look_page.h"

#include <QFileInfo>
#include <QStyle>

#include "image_loading.h"
#include "localized_texts.h"
#include "look_preview_dlg.h"
#include "options_dialogs.h"
#include "program_settings.h"
#include "settings_keys.h"
#include "ui_look_page.h"

namespace radixpad {
namespace {

// The page's own texts (section LookPage); a missing key keeps the template's text.
void ApplyPageTexts(Ui::CUIPage& ui, const QString& textFile) {
  const auto text = [&textFile](const char* key, const QString& fallback) {
    return GetSectionText(text_sections::kLookPage, key, textFile, fallback);
  };
  ui.introLabel->setText(text("Intro", ui.introLabel->text()));
  ui.browseButton->setText(text("Browse", ui.browseButton->text()));
  ui.colorsGroup->setTitle(text("Colors", ui.colorsGroup->title()));
  ui.colorSample->setText(text("Sample", ui.colorSample->text()));
  ui.textColorButton->setText(text("TextColor", ui.textColorButton->text()));
  ui.backgroundColorButton->setText(text("BackgroundColor", ui.backgroundColorButton->text()));
  ui.defaultColorsButton->setText(text("DefaultColors", ui.defaultColorsButton->text()));
  ui.previewButton->setText(text("Preview", ui.previewButton->text()));
}

// The name of a display method in the list; the key is its English name without blanks
// and hyphens ("TopLeft", "3x3Tiling").
QString LocalizedMethodName(int method, const QString& textFile) {
  const QString english = DisplayMethodName(method);
  QString key = english;
  key.remove(QLatin1Char(' ')).remove(QLatin1Char('-'));
  return GetSectionText(text_sections::kLookPage, key.toLatin1().constData(), textFile, english);
}

// The list's entries in its sorted order, with their method codes.
constexpr DisplayMethod kListedMethods[] = {
    kDisplayThreeByThree, kDisplayBottomLeft, kDisplayBottomRight, kDisplayCenter,
    kDisplayStretch,      kDisplayTile,       kDisplayTopLeft,     kDisplayTopRight,
};

// The file dialog's filters: a name from the text file and its patterns. The dialog
// matches patterns case-sensitively, so each is given in both cases.
QStringList ImageFilters(const QString& textFile) {
  struct Filter {
    const char* key;
    const char* english;
    const char* patterns;
  };
  static constexpr Filter kFilters[] = {
      {"FilterAll", "All Supported Image Types", "*.bmp *.gif *.jpg *.jpeg *.png *.BMP *.GIF *.JPG *.JPEG *.PNG"},
      {"FilterBitmap", "Bitmap", "*.bmp *.BMP"},
      {"FilterGif", "GIF", "*.gif *.GIF"},
      {"FilterJpeg", "JPEG", "*.jpg *.jpeg *.JPG *.JPEG"},
      {"FilterPng", "PNG", "*.png *.PNG"},
  };
  QStringList filters;
  for (const Filter& filter : kFilters) {
    filters << QStringLiteral("%1 (%2)").arg(
        GetSectionText(text_sections::kLookPage, filter.key, textFile, QString::fromLatin1(filter.english)),
        QString::fromLatin1(filter.patterns));
  }
  return filters;
}

}  // namespace

CUIPage::CUIPage(QWidget* parent)
    : COptionsPage(parent),
      defaultBackgroundColor(kThemeColor),
      defaultTextColor(kThemeColor),
      backgroundColor(SystemButtonFaceColor()),
      textColor(SystemButtonTextColor()),
      m_ui(std::make_unique<Ui::CUIPage>()) {
  m_ui->setupUi(this);
  m_ui->pageIcon->setPixmap(style()->standardIcon(QStyle::SP_DesktopIcon).pixmap(32, 32));
  connect(m_ui->showImageCheck, &QCheckBox::toggled, this, [this] { ApplyEnablingRule(); });
  connect(m_ui->browseButton, &QPushButton::clicked, this, [this] { Browse(); });
  connect(m_ui->textColorButton, &QPushButton::clicked, this, [this] { ChooseTextColor(); });
  connect(m_ui->backgroundColorButton, &QPushButton::clicked, this, [this] { ChooseBackgroundColor(); });
  connect(m_ui->defaultColorsButton, &QPushButton::clicked, this, [this] { UseDefaultColors(); });
  connect(m_ui->previewButton, &QPushButton::clicked, this, [this] { Preview(); });
}

CUIPage::~CUIPage() = default;

QCheckBox* CUIPage::ShowImageCheck() const { return m_ui->showImageCheck; }
QLineEdit* CUIPage::PathField() const { return m_ui->imagePathEdit; }
QComboBox* CUIPage::DisplayMethodList() const { return m_ui->displayMethodList; }

void CUIPage::OnInitDialog() {
  ApplyPageTexts(*m_ui, textFile);
  const auto text = [this](const char* key) { return GetLocalizedText(QString::fromLatin1(key), textFile); };
  m_ui->imageGroup->setTitle(text(keys::kBackgroundBitmap));
  m_ui->showImageCheck->setText(text(keys::kShowBackgroundBitmap));
  m_ui->imageFileLabel->setText(text(keys::kBackgroundBitmapFile));
  m_ui->displayMethodLabel->setText(text(keys::kBitmapDisplayMethod));

  m_ui->showImageCheck->setChecked(showImage != 0);
  ApplyEnablingRule();

  QComboBox* list = m_ui->displayMethodList;
  list->clear();
  for (DisplayMethod method : kListedMethods) {
    list->addItem(LocalizedMethodName(method, textFile), static_cast<int>(method));
  }
  m_ui->imagePathEdit->setText(imagePath);
  // By the method, whatever its name in this language; unknown methods are "Tile".
  const int shown = list->findData(static_cast<int>(displayMethod));
  list->setCurrentIndex(shown >= 0 ? shown : list->findData(static_cast<int>(kDisplayTile)));

  UpdateSample();
  m_ui->previewButton->setVisible(previewEnabled != 0 && previewTemplate != 0);
}

void CUIPage::OnSetActive() {
  if (lastPageSlot) *lastPageSlot = pageIndex;
}

void CUIPage::ApplyEnablingRule() {
  const bool on = m_ui->showImageCheck->isChecked();
  for (QWidget* control : {static_cast<QWidget*>(m_ui->imageFileLabel), static_cast<QWidget*>(m_ui->imagePathEdit),
                           static_cast<QWidget*>(m_ui->browseButton), static_cast<QWidget*>(m_ui->displayMethodLabel),
                           static_cast<QWidget*>(m_ui->displayMethodList)}) {
    control->setEnabled(on);
  }
}

void CUIPage::Browse() {
  FileOpenRequest request;
  request.title = GetLocalizedText(QString::fromLatin1(keys::kSelectBackgroundBitmap), textFile);
  request.nameFilters = ImageFilters(textFile);
  request.defaultSuffix = QStringLiteral("bmp");
  const QString chosen = ChooseFileToOpen(this, request);
  if (!chosen.isEmpty()) m_ui->imagePathEdit->setText(chosen);
}

void CUIPage::ChooseTextColor() {
  if (const auto chosen = ChooseColor(this, ShownColor(textColor, SystemButtonTextColor()))) {
    textColor = RefFromColor(*chosen);
  }
  UpdateSample();
}

void CUIPage::ChooseBackgroundColor() {
  if (const auto chosen = ChooseColor(this, ShownColor(backgroundColor, SystemButtonFaceColor()))) {
    backgroundColor = RefFromColor(*chosen);
  }
  UpdateSample();
}

void CUIPage::UseDefaultColors() {
  backgroundColor = defaultBackgroundColor;
  textColor = defaultTextColor;
  UpdateSample();
}

void CUIPage::UpdateSample() {
  QLabel* sample = m_ui->colorSample;
  QPalette palette = sample->palette();
  palette.setColor(QPalette::Window, ShownColor(backgroundColor, SystemButtonFaceColor()));
  palette.setColor(QPalette::WindowText, ShownColor(textColor, SystemButtonTextColor()));
  sample->setPalette(palette);
  sample->setAutoFillBackground(true);
  sample->update();
}

int CUIPage::SelectedMethod() const {
  const QVariant data = m_ui->displayMethodList->currentData();
  return data.isValid() ? data.toInt() : -1;
}

void CUIPage::ShowNoImageWarning() {
  ShowMessage(this, GetSectionText(sections::kError, keys::kErrorNoImageFile, textFile, QString()),
              QMessageBox::Warning);
}

bool CUIPage::OnKillActive() {
  const QString typed = m_ui->imagePathEdit->text();
  // Blanks around a pasted path go, unless they are part of the name of a file that is
  // there: such a path is kept as it is.
  const QString path = typed.trimmed() != typed && QFileInfo::exists(typed) ? typed : typed.trimmed();
  m_ui->imagePathEdit->setText(path);
  if (!m_ui->showImageCheck->isChecked()) return true;
  if (path.trimmed().isEmpty()) {
    ShowNoImageWarning();
    m_ui->imagePathEdit->setFocus(Qt::OtherFocusReason);
    return false;
  }
  return CheckImageFile(path, this, m_ui->imagePathEdit, textFile);
}

void CUIPage::OnOK() {
  showImage = m_ui->showImageCheck->isChecked() ? 1 : 0;
  displayMethod = SelectedMethod();
  imagePath = m_ui->imagePathEdit->text();
  applied = 1;
}

void CUIPage::Preview() {
  CLookPreviewDlg preview(previewTemplate, this, textFile);
  preview.backgroundColor = backgroundColor;
  preview.textColor = textColor;
  preview.showImage = m_ui->showImageCheck->isChecked() ? 1 : 0;
  preview.displayMethod = SelectedMethod();
  if (preview.showImage) {
    preview.imagePath = m_ui->imagePathEdit->text();
    if (preview.imagePath.isEmpty()) {
      ShowNoImageWarning();
      return;
    }
    if (!CheckImageFile(preview.imagePath, this, m_ui->imagePathEdit, textFile)) return;
  }
  preview.exec();
}

}  // namespace radixpad
