// The platform choice (environment and arguments in, choice out), the arguments that
// carry it, the command-line forms and the requests that carry a launcher's activation
// token.
#include "platform_choice.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "converter_app.h"
#include "window_platform.h"

namespace radixpad {
namespace {

TEST(PlatformChoice, FromTheEnvironment) {
  using C = PlatformChoice;
  const struct {
    const char* qpa;
    const char* display;
    const char* wayland;
    PlatformChoice expected;
    std::vector<const char*> arguments = {};
  } cases[] = {
      // A Wayland session with XWayland: X11, so the window behaviours work; Wayland
      // when no X server answers.
      {nullptr, ":0", "wayland-0", C::kX11OrWayland},
      {nullptr, ":0", nullptr, C::kX11},
      // Only Wayland: native Wayland, Qt's choice.
      {nullptr, nullptr, "wayland-0", C::kQtDefault},
      {nullptr, "", "wayland-0", C::kQtDefault},
      // The user's choice wins, whatever is reachable.
      {"wayland", ":0", "wayland-0", C::kAsSet},
      {"xcb", nullptr, nullptr, C::kAsSet},
      {"offscreen", nullptr, nullptr, C::kAsSet},
      // Set but empty is unset, as Qt reads it.
      {"", ":0", "wayland-0", C::kX11OrWayland},
      {"", ":0", nullptr, C::kX11},
      {nullptr, nullptr, nullptr, C::kNoDisplay},
      {nullptr, "", "", C::kNoDisplay},
      // A platform named on the command line is kept as given, in each of Qt's forms.
      {nullptr, ":0", "wayland-0", C::kAsSet, {"-platform", "wayland"}},
      {nullptr, ":0", nullptr, C::kAsSet, {"--platform", "wayland"}},
      {nullptr, nullptr, nullptr, C::kAsSet, {"-platform=offscreen"}},
      {nullptr, ":0", nullptr, C::kAsSet, {"--toggle", "--platform=wayland"}},
      {nullptr, ":0", nullptr, C::kX11, {"-platform"}},
      {nullptr, ":0", nullptr, C::kX11, {"-platforms", "wayland"}},
  };
  for (const auto& c : cases) {
    PlatformEnvironment environment;
    environment.qtQpaPlatform = c.qpa;
    environment.display = c.display;
    environment.waylandDisplay = c.wayland;
    environment.arguments = c.arguments;
    std::string arguments;
    for (const char* argument : c.arguments) arguments += std::string(" ") + argument;
    EXPECT_EQ(ChoosePlatform(environment), c.expected) << (c.qpa ? c.qpa : "-") << " " << (c.display ? c.display : "-")
                                                       << " " << (c.wayland ? c.wayland : "-") << arguments;
  }
}

TEST(PlatformChoice, ANamedPlatformReachesQtInItsOwnForm) {
  const struct {
    std::vector<const char*> given;
    std::vector<std::string> expected;
  } cases[] = {
      {{"radixpad", "-platform=wayland"}, {"radixpad", "-platform", "wayland"}},
      {{"radixpad", "--toggle", "--platform=xcb", "x"}, {"radixpad", "--toggle", "-platform", "xcb", "x"}},
      {{"radixpad", "-platform", "xcb"}, {"radixpad", "-platform", "xcb"}},
      {{"-platform=wayland"}, {"-platform=wayland"}},  // the program's own name stays
  };
  for (const auto& c : cases) {
    std::vector<char*> argv;
    for (const char* argument : c.given) argv.push_back(const_cast<char*>(argument));
    QByteArrayList storage;
    const std::vector<char*> split = WithPlatformArgumentsSplit(static_cast<int>(argv.size()), argv.data(), storage);
    EXPECT_EQ(std::vector<std::string>(split.begin(), split.end()), c.expected) << c.given.back();
  }
}

TEST(PlatformChoice, ArgumentsCarryThePlatformAndTheInstanceName) {
  EXPECT_EQ(PlatformArguments(PlatformChoice::kX11),
            (QByteArrayList{"-platform", "xcb", "-name", "com.quillory.radixpad"}));
  EXPECT_EQ(PlatformArguments(PlatformChoice::kX11OrWayland),
            (QByteArrayList{"-platform", "xcb;wayland", "-name", "com.quillory.radixpad"}));
  for (PlatformChoice choice : {PlatformChoice::kAsSet, PlatformChoice::kQtDefault}) {
    EXPECT_EQ(PlatformArguments(choice), (QByteArrayList{"-name", "com.quillory.radixpad"}));
  }
}

TEST(WindowPlatform, OnlyWaylandKeepsPlacementToItself) {
  for (const char* name : {"wayland", "wayland-egl", "wayland-xcomposite-glx", "Wayland"}) {
    EXPECT_FALSE(ProgramsCanPlaceWindows(QString::fromLatin1(name))) << name;
  }
  for (const char* name : {"xcb", "offscreen", "minimal", "eglfs", ""}) {
    EXPECT_TRUE(ProgramsCanPlaceWindows(QString::fromLatin1(name))) << name;
  }
}

// Each form is the whole command-line text, letter case significant; anything else
// starts Radixpad (or wakes the running one).
TEST(CommandLine, FormsAreWholeTextsInTheirCase) {
  const std::pair<const char*, StartForm> cases[] = {
      {"", StartForm::kPlain},
      {"-r", StartForm::kRemoval},
      {"-R", StartForm::kPlain},
      {"-r ", StartForm::kPlain},
      {"/uninstall", StartForm::kUninstall},
      {"/UNINSTALL", StartForm::kPlain},
      {"--show", StartForm::kShow},
      {"--hide", StartForm::kHide},
      {"--toggle", StartForm::kToggle},
      {"--Toggle", StartForm::kPlain},
      {"--toggle --hide", StartForm::kPlain},
  };
  for (const auto& [text, form] : cases) EXPECT_EQ(FormOf(QString::fromLatin1(text)), form) << '"' << text << '"';
}

TEST(WakeRequest, CarriesAFittingActivationToken) {
  EXPECT_EQ(WakeRequest(QByteArray()), "wake");
  // Only the forms that bring the window forward carry it.
  const std::pair<StartForm, QString> forms[] = {
      {StartForm::kPlain, "wake abc"}, {StartForm::kShow, "show abc"},       {StartForm::kToggle, "toggle abc"},
      {StartForm::kHide, "hide"},      {StartForm::kUninstall, "uninstall"},
  };
  for (const auto& [form, request] : forms) EXPECT_EQ(InstanceRequest(form, "abc"), request);
  EXPECT_EQ(WakeRequest("abc_123"), "wake abc_123");
  EXPECT_EQ(WakeRequest(QByteArray(kMaxActivationTokenLength, 'x')),
            "wake " + QString(kMaxActivationTokenLength, u'x'));
  EXPECT_EQ(WakeRequest(QByteArray(kMaxActivationTokenLength + 1, 'x')), "wake") << "longer than the line allows";
  EXPECT_EQ(WakeRequest("two words"), "wake");
  EXPECT_EQ(WakeRequest("line\nbreak"), "wake");
}

}  // namespace
}  // namespace radixpad
