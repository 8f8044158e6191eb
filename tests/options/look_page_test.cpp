// The Look page on its own and its preview window.
#include "look_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

#include "beep.h"
#include "digit_edit.h"
#include "look_preview_dlg.h"
#include "options_fixture.h"

namespace radixpad::test {
namespace {

class LookPageTest : public OptionsTest {
 protected:
  void SetUp() override {
    OptionsTest::SetUp();
    page_ = std::make_unique<CUIPage>();
    page_->textFile = program_.filePath("String.dat");
  }
  void TearDown() override {
    page_.reset();
    OptionsTest::TearDown();
  }
  /// Shows the page as the sheet does.
  CUIPage& Show() {
    page_->show();
    page_->Activate();
    return *page_;
  }
  QPushButton* Button(int id) { return qobject_cast<QPushButton*>(page_->Control(id)); }
  QString ImageFile(const char* name) {
    const QString path = config_.filePath(name);
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    EXPECT_TRUE(image.save(path));
    return path;
  }

  std::unique_ptr<CUIPage> page_;
};

TEST_F(LookPageTest, LabelsComeFromTheTextFileAndMissingOnesAreEmpty) {
  CUIPage& page = Show();
  EXPECT_EQ(qobject_cast<QGroupBox*>(page.Control(1007))->title(), "Background image");
  EXPECT_EQ(page.ShowImageCheck()->text(), "&Show background image");
  EXPECT_EQ(qobject_cast<QLabel*>(page.Control(1004))->text(), "Image &file:");
  EXPECT_EQ(qobject_cast<QLabel*>(page.Control(1005))->text(), "Image display &method:");

  CUIPage bare;
  bare.textFile = program_.filePath("missing.dat");
  bare.Activate();
  EXPECT_EQ(qobject_cast<QGroupBox*>(bare.Control(1007))->title(), "");
  EXPECT_EQ(bare.ShowImageCheck()->text(), "");
}

TEST_F(LookPageTest, DisplayMethodIsSelectedByNameAndTakenBack) {
  struct Case {
    int stored;
    const char* shown;
    int taken;
  };
  const Case cases[] = {{0, "Center", 0},    {1, "Stretch", 1},     {2, "Tile", 2},         {3, "Top-Left", 3},
                        {4, "Top-Right", 4}, {5, "Bottom-Left", 5}, {6, "Bottom-Right", 6}, {7, "3x3 Tiling", 7},
                        {-1, "Tile", 2},     {8, "Tile", 2},        {1000, "Tile", 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    CUIPage page;
    page.displayMethod = c.stored;
    page.Activate();
    EXPECT_EQ(page.DisplayMethodList()->currentText(), c.shown);
    page.OnOK();
    EXPECT_EQ(page.displayMethod, c.taken);
    EXPECT_EQ(page.applied, 1);
  }
  CUIPage page;
  page.Activate();
  QStringList entries;
  for (int i = 0; i < page.DisplayMethodList()->count(); ++i) entries << page.DisplayMethodList()->itemText(i);
  EXPECT_EQ(entries, (QStringList{"3x3 Tiling", "Bottom-Left", "Bottom-Right", "Center", "Stretch", "Tile", "Top-Left",
                                  "Top-Right"}));
}

TEST_F(LookPageTest, ImageControlsFollowTheCheckBox) {
  page_->showImage = 0;
  CUIPage& page = Show();
  const int dependent[] = {1004, 1002, 1003, 1005, 1006};
  for (int id : dependent) EXPECT_FALSE(page.Control(id)->isEnabled()) << id;
  page.ShowImageCheck()->click();
  for (int id : dependent) EXPECT_TRUE(page.Control(id)->isEnabled()) << id;
  page.ShowImageCheck()->click();
  for (int id : dependent) EXPECT_FALSE(page.Control(id)->isEnabled()) << id;
}

TEST_F(LookPageTest, BrowsePutsTheChosenFileIntoThePathField) {
  page_->imagePath = "/old.bmp";
  page_->showImage = 1;
  CUIPage& page = Show();
  answers_.nextFile = "";  // cancelled
  Button(1003)->click();
  EXPECT_EQ(page.PathField()->text(), "/old.bmp");
  answers_.nextFile = "/pictures/new file.gif";
  Button(1003)->click();
  EXPECT_EQ(page.PathField()->text(), "/pictures/new file.gif");
  ASSERT_EQ(answers_.fileRequests.size(), 2u);
  EXPECT_EQ(answers_.fileRequests[0].title, "Select Background Image");
  EXPECT_EQ(answers_.fileRequests[0].defaultSuffix, "bmp");
  EXPECT_EQ(answers_.fileRequests[0].nameFilters,
            (QStringList{"All Supported Image Types (*.bmp *.gif *.jpg *.jpeg *.png *.BMP *.GIF *.JPG *.JPEG *.PNG)",
                         "Bitmap (*.bmp *.BMP)", "GIF (*.gif *.GIF)", "JPEG (*.jpg *.jpeg *.JPG *.JPEG)",
                         "PNG (*.png *.PNG)"}));
  // The dialog matches its patterns case-sensitively: the first filter takes every name in either case.
  const QString all = answers_.fileRequests[0].nameFilters[0];
  const QStringList patterns = all.mid(all.indexOf('(') + 1).chopped(1).split(' ');
  for (const char* name :
       {"a.bmp", "a.BMP", "a.gif", "a.GIF", "a.jpg", "a.JPG", "a.jpeg", "a.JPEG", "a.png", "a.PNG"}) {
    bool matched = false;
    for (const QString& pattern : patterns) {
      const QRegularExpression wildcard(QRegularExpression::wildcardToRegularExpression(pattern));
      matched = matched || wildcard.match(QString::fromLatin1(name)).hasMatch();
    }
    EXPECT_TRUE(matched) << name;
  }
}

TEST_F(LookPageTest, ColourChoicesUseDefaultAndTheSample) {
  page_->backgroundColor = 0x00000000;
  page_->textColor = 0x00FFFFFF;
  page_->defaultBackgroundColor = 0x00C0C0C0;
  page_->defaultTextColor = 0x00000080;
  CUIPage& page = Show();
  auto* sample = qobject_cast<QLabel*>(page.Control(1011));
  EXPECT_EQ(sample->palette().color(QPalette::Window), QColor(0, 0, 0));

  answers_.nextColors = {QColor(0x12, 0x34, 0x56)};
  Button(1008)->click();  // text
  EXPECT_EQ(page.textColor, 0x00563412u) << "0x00BBGGRR";
  EXPECT_EQ(answers_.colorInitials.back(), QColor(255, 255, 255));
  EXPECT_EQ(sample->palette().color(QPalette::WindowText), QColor(0x12, 0x34, 0x56));

  answers_.nextColors = {std::nullopt};  // cancelled
  Button(1009)->click();
  EXPECT_EQ(page.backgroundColor, 0x00000000u);
  answers_.nextColors = {QColor(1, 2, 3)};
  Button(1009)->click();
  EXPECT_EQ(page.backgroundColor, 0x00030201u);
  EXPECT_EQ(sample->palette().color(QPalette::Window), QColor(1, 2, 3));

  Button(1010)->click();  // Use Default
  EXPECT_EQ(page.backgroundColor, 0x00C0C0C0u);
  EXPECT_EQ(page.textColor, 0x00000080u);
  EXPECT_EQ(sample->palette().color(QPalette::WindowText), QColor(0x80, 0, 0));

  // Without factory colours the defaults are the theme's own: the sample shows them.
  page.defaultBackgroundColor = page.defaultTextColor = kThemeColor;
  Button(1010)->click();
  EXPECT_EQ(page.backgroundColor, kThemeColor);
  EXPECT_EQ(sample->palette().color(QPalette::Window), QGuiApplication::palette().color(QPalette::Button));
  answers_.nextColors = {std::nullopt};
  Button(1008)->click();
  EXPECT_EQ(answers_.colorInitials.back(), QGuiApplication::palette().color(QPalette::ButtonText));
}

TEST_F(LookPageTest, WithoutInputsThePageHoldsTheThemeColours) {
  CUIPage page;
  EXPECT_EQ(page.defaultBackgroundColor, kThemeColor);
  EXPECT_EQ(page.defaultTextColor, kThemeColor);
  EXPECT_EQ(page.backgroundColor, RefFromColor(QGuiApplication::palette().color(QPalette::Button)));
  EXPECT_EQ(page.displayMethod, 2);
  page.Activate();
  EXPECT_TRUE(page.Control(1012)->isHidden()) << "no preview without a template";
}

TEST_F(LookPageTest, ValidationTrimsAndChecksTheImage) {
  const QString bitmap = ImageFile("back.bmp");
  // A file whose name ends in a blank, which the path keeps.
  const QString blankEnded = config_.filePath("sea.bmp ");
  ASSERT_TRUE(QFile::copy(bitmap, blankEnded));
  const QString text = config_.filePath("notes.jpg");
  QFile notes(text);
  ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
  notes.write("just some words, no picture\n");
  notes.close();
  struct Case {
    bool checked;
    QString typed;
    bool accepted;
    QString after;
    std::size_t messages;
  };
  const Case cases[] = {
      {false, "  /no/such/file  ", true, "/no/such/file", 0},
      {false, "", true, "", 0},
      {true, "", false, "", 1},
      {true, " \t ", false, "", 1},
      {true, "  " + bitmap + " ", true, bitmap, 0},
      {true, blankEnded, true, blankEnded, 0},
      {true, text, false, text, 1},  // names the file: it is no image
      {true, config_.filePath("missing.gif"), false, config_.filePath("missing.gif"), 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed.toStdString());
    answers_.messages.clear();
    CUIPage page;
    page.textFile = program_.filePath("String.dat");
    page.show();
    page.Activate();
    page.ShowImageCheck()->setChecked(c.checked);
    page.PathField()->setText(c.typed);
    page.setFocus();
    EXPECT_EQ(page.OnKillActive(), c.accepted);
    EXPECT_EQ(page.PathField()->text(), c.after);
    EXPECT_EQ(answers_.messages.size(), c.messages);
    if (c.messages == 1 && c.checked && !c.after.isEmpty()) {
      EXPECT_TRUE(answers_.messages[0].text.startsWith(c.after));
    }
    if (!c.accepted) {
      EXPECT_EQ(page.focusWidget(), page.PathField());
    }
  }
}

TEST_F(LookPageTest, PreviewSendsTheLookAndReleasesIt) {
  CConverterDlg& window = Open();
  const QString bitmap = ImageFile("back.bmp");
  // A file whose name ends in a blank, which the path keeps.
  const QString blankEnded = config_.filePath("sea.bmp ");
  ASSERT_TRUE(QFile::copy(bitmap, blankEnded));
  page_->previewEnabled = 1;
  page_->previewTemplate = kMainWindowTemplate;
  page_->backgroundColor = 0x00010203;
  page_->textColor = 0x00040506;
  page_->displayMethod = 3;
  CUIPage& page = Show();
  ASSERT_FALSE(page.Control(1012)->isHidden());

  struct Case {
    bool checked;
    QString path;
    std::vector<intptr_t> codes;
  };
  const Case cases[] = {
      {false, "/ignored", {60, 61, 6}},
      {true, bitmap, {60, 61, 63, 64, 62, 6}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.checked);
    look_.calls.clear();
    page.ShowImageCheck()->setChecked(c.checked);
    page.PathField()->setText(c.path);
    QObject* preview = nullptr;
    QSize sizeBefore;
    WhenModalOpens(watches_.get(), [&](QDialog* modal) {
      preview = modal;
      EXPECT_NE(qobject_cast<CLookPreviewDlg*>(modal), nullptr);
      EXPECT_FALSE(modal->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
      sizeBefore = modal->size();
      for (intptr_t command : {0xF000, 0xF030, 0xF032, 0xF020}) {
        CSysCommandEvent sys(command);
        QCoreApplication::sendEvent(modal, &sys);
      }
      modal->showMaximized();
      QTest::qWait(20);
      EXPECT_EQ(modal->size(), sizeBefore);
      EXPECT_FALSE(modal->isMaximized());
      EXPECT_FALSE(modal->isMinimized());
      modal->reject();
    });
    Button(1012)->click();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(look_.SubCodesTo(preview), c.codes);
    EXPECT_TRUE(look_.SubCodesTo(&window).empty()) << "nothing reaches the main window";
    if (c.checked) {
      EXPECT_EQ(look_.Find(preview, 64)->path, bitmap);
      EXPECT_EQ(look_.Find(preview, 63)->value, 3);
      EXPECT_EQ(look_.Find(preview, 60)->value, 0x00010203);
    }
  }
  // The library was asked to serve each preview.
  int attaches = 0;
  for (const RecordedSendMsg& call : Calls()) attaches += call.code == 5 ? 1 : 0;
  EXPECT_EQ(attaches, 2);
}

TEST_F(LookPageTest, NoPreviewForAMissingOrBadImage) {
  Open();
  page_->previewEnabled = 1;
  page_->previewTemplate = kMainWindowTemplate;
  CUIPage& page = Show();
  const QString text = config_.filePath("words.gif");
  QFile words(text);
  ASSERT_TRUE(words.open(QIODevice::WriteOnly));
  words.write("no picture here");
  words.close();
  for (const QString& path : {QString(), text}) {
    SCOPED_TRACE(path.toStdString());
    answers_.messages.clear();
    page.ShowImageCheck()->setChecked(true);
    page.PathField()->setText(path);
    bool opened = false;
    WhenModalOpens(watches_.get(), [&](QDialog* modal) {
      opened = true;
      modal->reject();
    });
    Button(1012)->click();
    QTest::qWait(30);
    EXPECT_FALSE(opened);
    ASSERT_EQ(answers_.messages.size(), 1u);
    if (!path.isEmpty()) {
      EXPECT_EQ(answers_.messages[0].text,
                text + " is not an image Radixpad can show. Please choose a BMP, GIF, JPEG or PNG file.");
    }
  }
}

TEST(LookPreviewTest, WithoutTheLibraryOnlyTheReleaseIsSent) {
  CCommonLib::Unload();
  CFakeLookServer look;
  qApp->installEventFilter(&look);
  CLookPreviewDlg preview(kMainWindowTemplate, nullptr);
  preview.showImage = 1;
  preview.imagePath = "/x.bmp";
  QTimer::singleShot(10, &preview, [&] { preview.accept(); });
  preview.exec();
  qApp->removeEventFilter(&look);
  EXPECT_EQ(look.SubCodesTo(&preview), (std::vector<intptr_t>{6}));
  EXPECT_NE(preview.findChild<QWidget*>("row1Field"), nullptr) << "built from the main window's template";
}

TEST(LookPreviewTest, EnterIsOkFromEveryControl) {
  CCommonLib::Unload();
  struct Case {
    const char* control;  // object name of the control with the focus
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int result;
  };
  const Case cases[] = {
      {"row1Field", Qt::Key_Return, Qt::NoModifier, QDialog::Accepted},
      {"row2Field", Qt::Key_Enter, Qt::KeypadModifier, QDialog::Accepted},
      {"row1Base", Qt::Key_Return, Qt::NoModifier, QDialog::Accepted},
      {"shiftLeftButton", Qt::Key_Return, Qt::NoModifier, QDialog::Accepted},
      {"pickColorButton", Qt::Key_Enter, Qt::KeypadModifier, QDialog::Accepted},
      {"row3Field", Qt::Key_Escape, Qt::NoModifier, QDialog::Rejected},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    CFakeLookServer look;
    qApp->installEventFilter(&look);
    CLookPreviewDlg preview(kMainWindowTemplate, nullptr);
    bool pressed = false;
    QTimer::singleShot(10, &preview, [&] {
      auto* control = preview.findChild<QWidget*>(c.control);
      if (control == nullptr) {
        preview.reject();
        return;
      }
      control->setFocus();
      pressed = true;
      QTest::keyClick(control, c.key, c.modifiers);
    });
    // A preview Enter did not end is ended here, as cancelled.
    QTimer::singleShot(1000, &preview, [&] { preview.done(-1); });
    const int result = preview.exec();
    qApp->removeEventFilter(&look);
    EXPECT_TRUE(pressed) << "no such control";
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(look.SubCodesTo(&preview), (std::vector<intptr_t>{6})) << "released once";
  }
}

TEST(LookPreviewTest, ControlsDoNothingOfTheirOwnAndShowTheTemplate) {
  CCommonLib::Unload();
  CLookPreviewDlg preview(kMainWindowTemplate, nullptr);
  preview.show();
  QApplication::processEvents();
  EXPECT_EQ(preview.windowTitle(), "Quillory Radixpad");
  const auto items = [&](const char* name) {
    QStringList texts;
    auto* list = preview.findChild<QComboBox*>(name);
    if (list == nullptr) return QStringList{"missing"};
    for (int i = 0; i < list->count(); ++i) texts << list->itemText(i);
    return texts;
  };
  EXPECT_EQ(items("widthSelector"), (QStringList{"8 Bits", "16 Bits", "32 Bits", "64 Bits"}));
  EXPECT_EQ(items("signSelector"), (QStringList{"Signed", "Unsigned"}));
  for (const char* name : {"row1Base", "row2Base", "row3Base", "row4Base"}) {
    EXPECT_EQ(items(name), QStringList{}) << name << ": the base names are the main window's own";
  }
  // Typed text goes in as typed: no filter refuses a character, so nothing beeps.
  const int beeps = BeepCount();
  const std::vector<std::pair<const char*, QString>> typed = {
      {"row1Field", "12"}, {"row2Field", "9z-x"}, {"row4Field", "hello, world"}};
  for (const auto& [name, text] : typed) {
    auto* field = preview.findChild<QLineEdit*>(name);
    ASSERT_NE(field, nullptr) << name;
    EXPECT_EQ(qobject_cast<CDigitEdit*>(field), nullptr) << name;
    EXPECT_EQ(field->validator(), nullptr) << name;
    QTest::keyClicks(field, text);
    EXPECT_EQ(field->text(), text) << name;
  }
  EXPECT_EQ(BeepCount(), beeps);
  EXPECT_EQ(preview.findChild<QLineEdit*>("row3Field")->text(), "") << "the other fields do not follow";
  EXPECT_EQ(preview.findChild<QLineEdit*>("row1Field")->property("controlId").toInt(), 1003);
  preview.reject();
}

}  // namespace
}  // namespace radixpad::test
