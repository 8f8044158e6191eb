// The platform choice (environment in, choice out), the arguments that carry it, and
// the wake request that carries a launcher's activation token.
#include "platform_choice.h"

#include <gtest/gtest.h>

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
  } cases[] = {
      // A Wayland session with XWayland: X11, so the window behaviours work.
      {nullptr, ":0", "wayland-0", C::kX11},
      {nullptr, ":0", nullptr, C::kX11},
      // Only Wayland: native Wayland, Qt's choice.
      {nullptr, nullptr, "wayland-0", C::kQtDefault},
      {nullptr, "", "wayland-0", C::kQtDefault},
      // The user's choice wins, whatever is reachable.
      {"wayland", ":0", "wayland-0", C::kAsSet},
      {"xcb", nullptr, nullptr, C::kAsSet},
      {"offscreen", nullptr, nullptr, C::kAsSet},
      // Set but empty is unset, as Qt reads it.
      {"", ":0", "wayland-0", C::kX11},
      {nullptr, nullptr, nullptr, C::kNoDisplay},
      {nullptr, "", "", C::kNoDisplay},
  };
  for (const auto& c : cases) {
    PlatformEnvironment environment;
    environment.qtQpaPlatform = c.qpa;
    environment.display = c.display;
    environment.waylandDisplay = c.wayland;
    EXPECT_EQ(ChoosePlatform(environment), c.expected)
        << (c.qpa ? c.qpa : "-") << " " << (c.display ? c.display : "-") << " " << (c.wayland ? c.wayland : "-");
  }
}

TEST(PlatformChoice, ArgumentsCarryThePlatformAndTheInstanceName) {
  EXPECT_EQ(PlatformArguments(PlatformChoice::kX11),
            (QByteArrayList{"-platform", "xcb", "-name", "com.quillory.radixpad"}));
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

TEST(WakeRequest, CarriesAFittingActivationToken) {
  EXPECT_EQ(WakeRequest(QByteArray()), "wake");
  EXPECT_EQ(WakeRequest("abc_123"), "wake abc_123");
  EXPECT_EQ(WakeRequest(QByteArray(kMaxActivationTokenLength, 'x')),
            "wake " + QString(kMaxActivationTokenLength, u'x'));
  EXPECT_EQ(WakeRequest(QByteArray(kMaxActivationTokenLength + 1, 'x')), "wake") << "longer than the line allows";
  EXPECT_EQ(WakeRequest("two words"), "wake");
  EXPECT_EQ(WakeRequest("line\nbreak"), "wake");
}

}  // namespace
}  // namespace radixpad
