// The real main window with the built library beside it, as the program runs them.
#include "converter_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>
#include <vector>

#include "common_lib.h"
#include "qy_messages.h"
#include "test_support.h"

namespace radixpad {
namespace {

const QString kProgramDir = QStringLiteral(RADIXPAD_TEST_PROGRAM_DIR);

TEST(ConverterDlgWithLibraryTest, ServedLookKeptAcrossRestartsAndCloseEndsWithoutTray) {
  test::ScopedConfigHome home;
  std::vector<QString> loadFailures;
  CCommonLib::SetMessageBoxHook([&](QObject*, const QString& text) { loadFailures.push_back(text); });

  auto dialog = std::make_unique<CConverterDlg>(kProgramDir);
  ASSERT_TRUE(CCommonLib::IsLoaded());
  EXPECT_TRUE(loadFailures.empty());
  EXPECT_EQ(test::Look(dialog.get(), kLookSetBackgroundColor, 0x00224466), 1);
  EXPECT_EQ(dialog->palette().color(QPalette::Window), QColor(0x66, 0x44, 0x22));
  EXPECT_EQ(dialog->CommonLib().SendBehaviour(kSendAlwaysOnTop, true), 1);

  // No tray under the offscreen platform: a close request ends the window.
  bool ended = false;
  QObject::connect(dialog.get(), &CConverterDlg::ended, [&] { ended = true; });
  dialog->show();
  QCoreApplication::postEvent(dialog.get(), new CSysCommandEvent(kScClose));
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  EXPECT_TRUE(ended);

  // The window's destructor unloads the library while the window still exists.
  dialog.reset();
  QCoreApplication::processEvents();
  EXPECT_FALSE(CCommonLib::IsLoaded());

  dialog = std::make_unique<CConverterDlg>(kProgramDir);
  ASSERT_TRUE(CCommonLib::IsLoaded());
  EXPECT_EQ(test::Look(dialog.get(), kLookGetBackgroundColor), 0x00224466);
  dialog.reset();
  CCommonLib::SetMessageBoxHook({});
}

}  // namespace
}  // namespace radixpad
