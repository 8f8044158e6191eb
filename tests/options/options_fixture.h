// A main window over a temporary program folder (data files and the recording stand-in
// of the common library) and a temporary settings folder, with a fake of the library's
// look side, answered file, colour and message boxes, and a driver for modal dialogs.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "color_ref.h"
#include "common_lib.h"
#include "converter_dlg.h"
#include "gui_test_support.h"
#include "ini_store.h"
#include "options_dialogs.h"
#include "options_sheet.h"
#include "qy_messages.h"
#include "recording_common_lib.h"

namespace radixpad::test {

/// Runs `act` once on the next modal dialog that is shown (other than the one modal now).
/// The watch ends with `owner`, so a watch that found nothing dies with its test.
inline void WhenModalOpens(QObject* owner, std::function<void(QDialog*)> act) {
  QWidget* before = QApplication::activeModalWidget();
  auto* timer = new QTimer(owner);
  QElapsedTimer age;
  age.start();
  QObject::connect(timer, &QTimer::timeout, timer, [timer, age, before, act = std::move(act)] {
    auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    const bool found = modal && modal != before && modal->isVisible();
    if (!found && age.elapsed() < 5000) return;
    timer->stop();
    timer->deleteLater();
    if (found) act(modal);
  });
  timer->start(5);
}

/// One look message as the library side saw it.
struct LookCall {
  QObject* receiver;
  intptr_t subCode;
  intptr_t value;
  QString path;  // for sub-code 64
};

/// The library's look side: answers 110..114 for the main window from its fields and
/// records every look message, to any window.
class CFakeLookServer : public QObject {
 public:
  QObject* mainWindow = nullptr;
  ColorRef background = 0x00336699;
  ColorRef text = 0x00102030;
  intptr_t showImage = 0;
  intptr_t displayMethod = 2;
  QByteArray imagePath;
  std::vector<LookCall> calls;

  std::vector<intptr_t> SubCodesTo(QObject* receiver, bool setsOnly = true) const {
    std::vector<intptr_t> codes;
    for (const LookCall& call : calls) {
      if (call.receiver == receiver && (!setsOnly || call.subCode < 110)) codes.push_back(call.subCode);
    }
    return codes;
  }
  const LookCall* Find(QObject* receiver, intptr_t subCode) const {
    for (const LookCall& call : calls) {
      if (call.receiver == receiver && call.subCode == subCode) return &call;
    }
    return nullptr;
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != kLookMessage) return false;
    auto* look = static_cast<CLookEvent*>(event);
    LookCall call{watched, look->subCode(), look->lParam(), {}};
    if (call.subCode == kLookSetImagePath && call.value) {
      call.path = QString::fromUtf8(reinterpret_cast<const char*>(call.value));
    }
    calls.push_back(call);
    if (watched != mainWindow) return true;
    switch (call.subCode) {
      case kLookGetBackgroundColor:
        look->setResult(static_cast<intptr_t>(background));
        break;
      case kLookGetTextColor:
        look->setResult(static_cast<intptr_t>(text));
        break;
      case kLookGetShowImage:
        look->setResult(showImage);
        break;
      case kLookGetDisplayMethod:
        look->setResult(displayMethod);
        break;
      case kLookGetImagePath:
        if (!imagePath.isEmpty()) {
          char* buffer = reinterpret_cast<char*>(call.value);
          const auto length = std::min<qsizetype>(imagePath.size(), kLookPathBufferSize - 1);
          std::memcpy(buffer, imagePath.constData(), static_cast<size_t>(length));
          buffer[length] = '\0';
          look->setResult(1);
        }
        break;
      default:
        break;
    }
    return true;
  }
};

struct ShownMessage {
  QString text;
  QMessageBox::Icon icon;
};

/// Answers for the file, colour and message boxes, and what they were asked.
class DialogAnswers {
 public:
  DialogAnswers() {
    OptionsDialogs::messageShower() = [this](QWidget*, const QString& text, QMessageBox::Icon icon) {
      messages.push_back({text, icon});
    };
    OptionsDialogs::fileChooser() = [this](QWidget*, const FileOpenRequest& request) {
      fileRequests.push_back(request);
      return nextFile;
    };
    OptionsDialogs::colorChooser() = [this](QWidget*, QColor initial) -> std::optional<QColor> {
      colorInitials.push_back(initial);
      if (nextColors.empty()) return std::nullopt;
      const std::optional<QColor> answer = nextColors.front();
      nextColors.pop_front();
      return answer;
    };
  }
  ~DialogAnswers() {
    OptionsDialogs::messageShower() = {};
    OptionsDialogs::fileChooser() = {};
    OptionsDialogs::colorChooser() = {};
  }
  DialogAnswers(const DialogAnswers&) = delete;
  DialogAnswers& operator=(const DialogAnswers&) = delete;

  std::vector<ShownMessage> messages;
  std::vector<FileOpenRequest> fileRequests;
  QString nextFile;  // empty: cancelled
  std::vector<QColor> colorInitials;
  std::deque<std::optional<QColor>> nextColors;  // nothing left: cancelled
};

class OptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(config_.isValid() && program_.isValid());
    qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
    ASSERT_TRUE(FillProgramFolder(program_));
    CCommonLib::SetMessageBoxHook([](QObject*, const QString&) {});
    LastOptionsPage() = 0;
  }

  void TearDown() override {
    watches_.reset();
    qApp->removeEventFilter(&look_);
    window_.reset();
    if (records_) dlclose(records_);
    CCommonLib::SetMessageBoxHook({});
  }

  /// Opens the main window with the Options command wired as the program wires it;
  /// `platform` names the windowing platform it is placed by (empty: the real one).
  CConverterDlg& Open(bool fakeLookSide = true, const QString& platform = QString()) {
    window_ = std::make_unique<CConverterDlg>(program_.path(), nullptr, platform);
    window_->onOptions = [](CConverterDlg& window) { RunOptionsSheet(window); };
    window_->show();
    EXPECT_TRUE(WaitFor([this] { return !window_->StartupTimerActive(); }));
    // A handle of our own keeps the records readable after the window unloads the library.
    const QByteArray path = QFile::encodeName(program_.filePath("libQyCommon.so"));
    if (records_) dlclose(records_);
    records_ = dlopen(path.constData(), RTLD_NOW | RTLD_NOLOAD);
    if (records_) {
      count_ = reinterpret_cast<RecordedCallCountFunction>(dlsym(records_, "RecordedCallCount"));
      call_ = reinterpret_cast<RecordedCallFunction>(dlsym(records_, "RecordedCall"));
      if (auto reset = reinterpret_cast<ResetRecordsFunction>(dlsym(records_, "ResetRecords"))) reset();
    }
    if (fakeLookSide) {
      look_.mainWindow = window_.get();
      qApp->installEventFilter(&look_);
    }
    return *window_;
  }

  /// The Options command, with `act` run on the sheet once it shows.
  void RunOptions(std::function<void(COptionsSheet&)> act) {
    bool ran = false;
    WhenModalOpens(watches_.get(), [&](QDialog* modal) {
      auto* sheet = qobject_cast<COptionsSheet*>(modal);
      ran = sheet != nullptr;
      if (sheet) {
        act(*sheet);
      }
      // Whatever the steps did, the sheet must end so the test goes on.
      if (modal->isVisible()) modal->reject();
    });
    CCommandEvent command(kCommandOptions);
    QCoreApplication::sendEvent(window_.get(), &command);
    EXPECT_TRUE(ran) << "the options sheet did not open";
  }

  /// SendMsg calls since the window opened (code 1 excluded).
  std::vector<RecordedSendMsg> Calls() const {
    std::vector<RecordedSendMsg> calls;
    if (!count_) return calls;
    for (int i = 0; i < count_(); ++i) calls.push_back(*call_(i));
    return calls;
  }
  std::vector<intptr_t> CallCodes() const {
    std::vector<intptr_t> codes;
    for (const RecordedSendMsg& call : Calls()) codes.push_back(call.code);
    return codes;
  }

  QString SettingsFolder() const { return config_.filePath("Quillory/Radixpad"); }
  QString SettingsFile() const { return config_.filePath("Quillory/Radixpad/QyRadixpad.ini"); }
  QString StartupEntry() const { return config_.filePath("autostart/Quillory Radixpad.desktop"); }
  QString DefaultsFile() const { return program_.filePath("Default.dat"); }
  int ReadBehaviour(const char* key) const { return GetIniInt("Quillory Radixpad", key, -99, SettingsFile()); }
  void WriteBehaviour(const char* key, int value) {
    QDir().mkpath(SettingsFolder());
    WriteIniInt("Quillory Radixpad", key, value, SettingsFile());
  }

  QTemporaryDir config_;
  QTemporaryDir program_;
  // Parent of the modal-dialog watches of one test.
  std::unique_ptr<QObject> watches_ = std::make_unique<QObject>();
  DialogAnswers answers_;
  CFakeLookServer look_;
  std::unique_ptr<CConverterDlg> window_;
  void* records_ = nullptr;
  RecordedCallCountFunction count_ = nullptr;
  RecordedCallFunction call_ = nullptr;
};

}  // namespace radixpad::test
