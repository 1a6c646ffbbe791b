// Tests of the start-up display check.
#include <gtest/gtest.h>

#include <set>

#include "display.h"

namespace wavedesk {
namespace {

PathExists existing(std::set<std::string> paths) {
    return [paths](const std::string &p) { return paths.count(p) > 0; };
}

TEST(DisplayCheck, NoDisplayAtAllSaysSoInOneLineWithTheXvfbCommand) {
    const std::string text = displayProblem({"", "", ""}, existing({}));
    EXPECT_NE(text.find("no display"), std::string::npos);
    EXPECT_NE(text.find("xvfb-run -a wavedesk"), std::string::npos);
    EXPECT_EQ(text.find('\n'), std::string::npos);
}

TEST(DisplayCheck, RunningLocalXDisplayIsAccepted) {
    EXPECT_EQ(displayProblem({"", ":99", ""}, existing({"/tmp/.X11-unix/X99"})), "");
    EXPECT_EQ(displayProblem({"", ":0.0", ""}, existing({"/tmp/.X11-unix/X0"})), "");
    EXPECT_EQ(displayProblem({"", "unix:3", ""}, existing({"/tmp/.X11-unix/X3"})), "");
}

TEST(DisplayCheck, LocalXDisplayWithoutItsServerIsReported) {
    const std::string text = displayProblem({"", ":42", ""}, existing({"/tmp/.X11-unix/X0"}));
    EXPECT_NE(text.find(":42"), std::string::npos);
    EXPECT_NE(text.find("xvfb-run"), std::string::npos);
}

TEST(DisplayCheck, RemoteXWaylandAndExplicitPlatformAreTrusted) {
    EXPECT_EQ(displayProblem({"", "host:10.0", ""}, existing({})), "");
    EXPECT_EQ(displayProblem({"", "", "wayland-0"}, existing({})), "");
    EXPECT_EQ(displayProblem({"offscreen", "", ""}, existing({})), "");
}

TEST(DisplayCheck, PlatformThatNeedsADisplayIsChecked) {
    EXPECT_NE(displayProblem({"xcb", "", ""}, existing({})), "");
    EXPECT_NE(displayProblem({"xcb", "", "wayland-0"}, existing({})), "");
    EXPECT_EQ(displayProblem({"xcb", ":5", ""}, existing({"/tmp/.X11-unix/X5"})), "");
    EXPECT_NE(displayProblem({"wayland", ":5", ""}, existing({"/tmp/.X11-unix/X5"})), "");
    EXPECT_EQ(displayProblem({"wayland", "", "wayland-1"}, existing({})), "");
}

}  // namespace
}  // namespace wavedesk
