#pragma once

#include <functional>
#include <memory>

class QApplication;

namespace versomat {

// Reads one environment variable as std::getenv does: nullptr when unset.
// The check asks through it, so that it can be asked about any environment.
using EnvironmentLookup = std::function<const char*(const char* name)>;

// Where the check found a display for Qt. Qt aborts with a core dump when no
// platform it tries finds one; that is foreseen only for X11 and Wayland, and
// any other platform (offscreen, vnc, ...) is left for Qt to judge.
enum class DisplayFound { None, X11, Wayland, LeftToQt };

// Looks for a display on the platforms Qt will try, in Qt's order: the one
// chosen by the last -platform (or --platform) or QT_QPA_PLATFORM, a list whose
// entries are separated by ";" and may carry ":options"; without a choice,
// Wayland first where WAYLAND_DISPLAY is set, even empty, or
// XDG_SESSION_TYPE says wayland, then X11.
//
// An X server started without -noreset resets when its last client leaves
// and drops the connections that arrive meanwhile; Qt aborts on that. Had
// the check hung up before Qt connected, its leaving would be that reset, so
// it holds the X connection that answered for as long as it lives.
class DisplayCheck {
public:
    DisplayCheck(int argc, const char* const* argv, const EnvironmentLookup& environment);
    ~DisplayCheck();
    DisplayCheck(const DisplayCheck&) = delete;
    DisplayCheck& operator=(const DisplayCheck&) = delete;

    DisplayFound found() const { return m_found; }

    struct XConnection;

private:
    DisplayFound m_found = DisplayFound::None;
    std::unique_ptr<XConnection> m_held;
};

// The application, made while the check still holds its connection, or
// nullptr when no display answers. argc must outlive the application.
std::unique_ptr<QApplication> applicationOnADisplay(int& argc, char** argv, const EnvironmentLookup& environment);

} // namespace versomat
