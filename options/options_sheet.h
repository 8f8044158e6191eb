// The options sheet (General and Look pages, OK and Cancel) and the Options command
// that runs it for the main window and forwards the result to the common library.
#pragma once

#include <QDialog>
#include <QString>
#include <vector>

class QDialogButtonBox;
class QTabWidget;

namespace radixpad {

class CConverterDlg;
class CGlobalKey;
class COptionsPage;

/// The page the sheet opens on: the page last active in this run, 0 at start.
int& LastOptionsPage();

class COptionsSheet : public QDialog {
  Q_OBJECT

 public:
  COptionsSheet(const QString& caption, QWidget* parent);

  /// Adds a page under the tab caption `title`; the sheet does not own it before.
  void AddPage(COptionsPage* page, const QString& title);
  /// The texts of the OK and Cancel buttons.
  void SetButtonTexts(const QString& ok, const QString& cancel);
  /// Shows the page `index` first (an index out of range gives the first page).
  void SetStartPage(int index) { m_startPage = index; }

  QTabWidget* Tabs() const { return m_tabs; }
  QDialogButtonBox* Buttons() const { return m_buttons; }
  COptionsPage* ActivePage() const;

  int exec() override;
  /// OK: the active page must agree to be left, then every shown page takes its values.
  void accept() override;
  /// Cancel, Esc or close: every shown page undoes what it tried out.
  void reject() override;

 private:
  void OnTabChanged(int index);

  QTabWidget* m_tabs;
  QDialogButtonBox* m_buttons;
  std::vector<COptionsPage*> m_pages;
  int m_startPage = 0;
  int m_current = -1;
};

/// The Options command: the sheet over `window` with the current behaviours and look;
/// after OK the choices go to the common library. The caller saves the converter
/// settings first.
/// `showHideKey`, when given, is the program's global key, which the General page
/// shows, tries out and changes.
void RunOptionsSheet(CConverterDlg& window, CGlobalKey* showHideKey = nullptr);

}  // namespace radixpad
