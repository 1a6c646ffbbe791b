// display.h - decides before Qt starts whether the workbench has a screen to show its window,
// so a machine without one gets one clear line instead of a Qt platform error.
#pragma once

#include <functional>
#include <string>

namespace wavedesk {

struct DisplayEnvironment {
    std::string qpaPlatform;     // QT_QPA_PLATFORM
    std::string x11Display;      // DISPLAY
    std::string waylandDisplay;  // WAYLAND_DISPLAY
};

// The environment of this process.
DisplayEnvironment currentDisplayEnvironment();

// Whether a file exists (the local X server's socket); replaceable for tests.
using PathExists = std::function<bool(const std::string &)>;

// The one-line message to print when there is no display, or "" when the window can be
// shown. A Qt platform other than xcb or wayland (offscreen, vnc, ...) is trusted; otherwise
// a Wayland display or an X display is needed, and a local X display (":N") must have its
// socket.
std::string displayProblem(const DisplayEnvironment &env, const PathExists &exists);

}  // namespace wavedesk
