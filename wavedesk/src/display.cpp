// display.cpp - the start-up check for a display.
#include "display.h"

#include <cstdlib>

namespace wavedesk {

namespace {

const char *kHint = "run it under a virtual display: xvfb-run -a wavedesk";

std::string envOrEmpty(const char *name) {
    const char *value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// Socket of a local X display ":N", ":N.S" or "unix:N"; "" for a remote or unusual name.
std::string localX11Socket(const std::string &display) {
    std::string rest;
    if (display.rfind(':', 0) == 0)
        rest = display.substr(1);
    else if (display.rfind("unix:", 0) == 0)
        rest = display.substr(5);
    else
        return "";
    const std::size_t digits = rest.find_first_not_of("0123456789");
    const std::string number = rest.substr(0, digits);
    if (number.empty()) return "";
    return "/tmp/.X11-unix/X" + number;
}

}  // namespace

DisplayEnvironment currentDisplayEnvironment() {
    return {envOrEmpty("QT_QPA_PLATFORM"), envOrEmpty("DISPLAY"), envOrEmpty("WAYLAND_DISPLAY")};
}

std::string displayProblem(const DisplayEnvironment &env, const PathExists &exists) {
    const bool wantsX = env.qpaPlatform.rfind("xcb", 0) == 0;
    const bool wantsWayland = env.qpaPlatform.rfind("wayland", 0) == 0;
    if (!env.qpaPlatform.empty() && !wantsX && !wantsWayland) return "";  // offscreen, vnc, ...
    if (!wantsX && !env.waylandDisplay.empty()) return "";
    if (wantsWayland)
        return std::string("wavedesk: no Wayland display (WAYLAND_DISPLAY is not set); ") + kHint;
    if (env.x11Display.empty())
        return std::string("wavedesk: no display (DISPLAY and WAYLAND_DISPLAY are not set); ") + kHint;
    const std::string socket = localX11Socket(env.x11Display);
    if (!socket.empty() && exists && !exists(socket))
        return "wavedesk: display " + env.x11Display + " is not running (no " + socket + "); " + kHint;
    return "";
}

}  // namespace wavedesk
