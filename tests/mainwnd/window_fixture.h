// A fresh main window per test, over a temporary program folder (data files
// and a stand-in common library that does nothing) and a temporary settings
// folder.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#include "common_lib.h"
#include "converter_dlg.h"
#include "digit_edit.h"
#include "gui_test_support.h"
#include "ini_store.h"
#include "radix_rules.h"

namespace radixpad::test {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(config_.isValid() && program_.isValid());
    qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
    ASSERT_TRUE(FillProgramFolder(program_));
    CCommonLib::SetMessageBoxHook([this](QObject*, const QString& text) { loadFailures_ << text; });
  }

  void TearDown() override {
    window_.reset();
    CCommonLib::SetMessageBoxHook({});
  }

  /// Opens the window; with `tick`, waits for the start-up timer to apply the settings.
  /// `platform` names the windowing platform it is placed by (empty: the real one).
  CConverterDlg& Open(bool tick = true, const QString& platform = QString()) {
    window_ = std::make_unique<CConverterDlg>(program_.path(), nullptr, platform);
    window_->show();
    if (tick) {
      EXPECT_TRUE(WaitFor([this] { return !window_->StartupTimerActive(); }));
    }
    return *window_;
  }

  /// Opens the window with the float and character views shown.
  CConverterDlg& OpenWithViews() {
    CConverterDlg& window = Open();
    window.SetFloatViewShown(true);
    window.SetCharViewShown(true);
    return window;
  }

  /// Ends the window, which saves the settings.
  void Close() { window_.reset(); }

  QString SettingsFile() const { return config_.filePath("Quillory/Radixpad/QyRadixpad.ini"); }

  void WriteSetting(const char* key, int value) {
    QDir().mkpath(config_.filePath("Quillory/Radixpad"));
    WriteIniInt("General", key, value, SettingsFile());
  }
  int ReadSetting(const char* key) const { return GetIniInt("General", key, -99, SettingsFile()); }

  CDigitEdit* FieldOf(int base) { return window_->FieldOfBase(base); }
  QString TextOf(int base) { return FieldOf(base)->text(); }
  void Type(int base, const QString& keys) { QTest::keyClicks(FieldOf(base), keys); }
  QComboBox* Combo(int controlId) { return qobject_cast<QComboBox*>(window_->Control(controlId)); }
  /// A user's choice in a drop-down list.
  void Choose(int controlId, int index) {
    QComboBox* combo = Combo(controlId);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }
  QString RowBases() {
    QString out;
    for (int row = 0; row < 4; ++row) out += QString::number(window_->Field(row)->Base());
    return out;
  }

  QTemporaryDir config_;
  QTemporaryDir program_;
  QStringList loadFailures_;
  std::unique_ptr<CConverterDlg> window_;
};

}  // namespace radixpad::test
