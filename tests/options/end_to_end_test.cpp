// The Options command against the real common library: the chosen look and behaviours
// reach it and come back after a restart.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include "ini_store.h"
#include "look_page.h"
#include "options_fixture.h"
#include "settings_keys.h"

namespace radixpad::test {
namespace {

class EndToEndTest : public OptionsTest {
 protected:
  void SetUp() override {
    OptionsTest::SetUp();
    QFile::remove(program_.filePath("libQyCommon.so"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(RADIXPAD_TEST_REAL_LIB), program_.filePath("libQyCommon.so")));
  }
  intptr_t Ask(intptr_t subCode, intptr_t value = 0) {
    CLookEvent look(subCode, value);
    QCoreApplication::sendEvent(window_.get(), &look);
    return look.result();
  }
  QString AskPath() {
    char buffer[kLookPathBufferSize] = {};
    if (Ask(kLookGetImagePath, reinterpret_cast<intptr_t>(buffer)) == 0) return QString();
    return QString::fromUtf8(buffer);
  }
};

TEST_F(EndToEndTest, ChosenLookAndBehavioursReachTheLibraryAndSurviveARestart) {
  // A name ending in a blank: the settings file keeps it whole.
  const QString image = config_.filePath("sea.bmp ");
  QImage picture(8, 8, QImage::Format_RGB32);
  picture.fill(Qt::blue);
  ASSERT_TRUE(picture.save(image, "BMP"));

  Open(/*fakeLookSide=*/false);
  ASSERT_TRUE(CCommonLib::IsLoaded());
  answers_.nextColors = {QColor(0x11, 0x22, 0x33), QColor(0xAA, 0xBB, 0xCC)};
  RunOptions([&](COptionsSheet& sheet) {
    auto* general = sheet.Tabs()->widget(0);
    qobject_cast<QListWidget*>(general->findChild<QListWidget*>())->item(0)->setCheckState(Qt::Checked);
    sheet.Tabs()->tabBar()->setCurrentIndex(1);
    auto* look = qobject_cast<CUIPage*>(sheet.Tabs()->widget(1));
    qobject_cast<QPushButton*>(look->Control(1008))->click();
    qobject_cast<QPushButton*>(look->Control(1009))->click();
    look->ShowImageCheck()->setChecked(true);
    look->PathField()->setText(image);
    look->DisplayMethodList()->setCurrentIndex(look->DisplayMethodList()->findText("Center"));
    sheet.Buttons()->button(QDialogButtonBox::Ok)->click();
  });
  EXPECT_TRUE(window_->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(Ask(kLookGetTextColor), 0x00332211);
  EXPECT_EQ(Ask(kLookGetBackgroundColor), 0x00CCBBAA);
  EXPECT_EQ(Ask(kLookGetShowImage), 1);
  EXPECT_EQ(Ask(kLookGetDisplayMethod), 0);
  EXPECT_EQ(AskPath(), image);

  window_.reset();
  Open(/*fakeLookSide=*/false);
  EXPECT_EQ(Ask(kLookGetTextColor), 0x00332211);
  EXPECT_EQ(Ask(kLookGetBackgroundColor), 0x00CCBBAA);
  EXPECT_EQ(Ask(kLookGetDisplayMethod), 0);
  EXPECT_EQ(AskPath(), image);
  EXPECT_TRUE(window_->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  // The sheet starts from what the library answers.
  RunOptions([&](COptionsSheet& sheet) {
    sheet.Tabs()->tabBar()->setCurrentIndex(1);
    auto* look = qobject_cast<CUIPage*>(sheet.Tabs()->widget(1));
    EXPECT_TRUE(look->ShowImageCheck()->isChecked());
    EXPECT_EQ(look->PathField()->text(), image);
    EXPECT_EQ(look->DisplayMethodList()->currentText(), "Center");
    EXPECT_EQ(look->textColor, 0x00332211u);
  });
  // "Use Default" without factory colours forgets the chosen ones: the theme's show.
  RunOptions([&](COptionsSheet& sheet) {
    sheet.Tabs()->tabBar()->setCurrentIndex(1);
    qobject_cast<QPushButton*>(qobject_cast<CUIPage*>(sheet.Tabs()->widget(1))->Control(1010))->click();
    sheet.Buttons()->button(QDialogButtonBox::Ok)->click();
  });
  const QString product = QString::fromLatin1(sections::kProduct);
  // The library saves the look on its next turn.
  for (const char* key : {"LookTextColor", "LookBackgroundColor"}) {
    EXPECT_TRUE(WaitFor([&] {
      return GetIniInt(product, QString::fromLatin1(key), 0, window_->Paths().userSettingsFile) < 0;
    })) << key;
  }
  EXPECT_EQ(Ask(kLookGetBackgroundColor), static_cast<intptr_t>(SystemButtonFaceColor()));
}

TEST_F(EndToEndTest, PreviewIsServedAndReleased) {
  Open(/*fakeLookSide=*/false);
  CUIPage page;
  page.textFile = program_.filePath("String.dat");
  page.previewEnabled = 1;
  page.previewTemplate = 102;
  page.backgroundColor = 0x000000FF;
  page.textColor = 0x0000FF00;
  page.show();
  page.Activate();
  bool shown = false;
  WhenModalOpens(watches_.get(), [&](QDialog* preview) {
    shown = true;
    CLookEvent ask(kLookGetBackgroundColor, 0);
    QCoreApplication::sendEvent(preview, &ask);
    EXPECT_EQ(ask.result(), 0x000000FF) << "the library serves the preview";
    preview->accept();
  });
  qobject_cast<QPushButton*>(page.Control(1012))->click();
  EXPECT_TRUE(shown);
  // The main window's look is untouched by the preview.
  CLookEvent main(kLookGetBackgroundColor, 0);
  QCoreApplication::sendEvent(window_.get(), &main);
  EXPECT_NE(main.result(), 0x000000FF);
}

}  // namespace
}  // namespace radixpad::test
