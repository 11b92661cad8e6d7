#include "display_check.h"

#include <QApplication>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#ifdef Q_OS_LINUX
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#ifdef VERSOMAT_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace versomat {

#ifdef VERSOMAT_HAVE_XCB
struct XcbDisconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
struct DisplayCheck::XConnection {
    std::unique_ptr<xcb_connection_t, XcbDisconnect> connection;
};
#else
struct DisplayCheck::XConnection {};
#endif

namespace {

#ifdef Q_OS_LINUX
std::string_view valueOf(const EnvironmentLookup& environment, const char* name)
{
    const char* value = environment(name);
    return value ? value : "";
}

// Qt takes the last -platform given, and the word after it even when that
// starts with "-"; "-platform=name" is no option to Qt.
std::string_view chosenPlatforms(int argc, const char* const* argv, const EnvironmentLookup& environment)
{
    const char* chosen = nullptr;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            chosen = argv[++i];
    }
    return chosen ? chosen : valueOf(environment, "QT_QPA_PLATFORM");
}

std::string_view defaultPlatforms(const EnvironmentLookup& environment)
{
    if (environment("WAYLAND_DISPLAY") || valueOf(environment, "XDG_SESSION_TYPE") == "wayland")
        return "wayland;xcb";
    return "xcb";
}

// Without DISPLAY nothing is asked: libxcb would read the process's own.
std::unique_ptr<DisplayCheck::XConnection> xServerAnswering(const EnvironmentLookup& environment)
{
    const std::string_view display = valueOf(environment, "DISPLAY");
    if (display.empty())
        return nullptr;
#ifdef VERSOMAT_HAVE_XCB
    auto held = std::make_unique<DisplayCheck::XConnection>();
    held->connection.reset(xcb_connect(std::string(display).c_str(), nullptr));
    if (xcb_connection_has_error(held->connection.get()) != 0)
        return nullptr;
    return held;
#else
    return std::make_unique<DisplayCheck::XConnection>();
#endif
}

// Finds the compositor as libwayland does: a socket handed over in
// WAYLAND_SOCKET, else WAYLAND_DISPLAY (or "wayland-0" when unset) as a path,
// relative to XDG_RUNTIME_DIR unless absolute. A variable left over from an
// ended session names a socket nobody listens on any more.
bool compositorAnswers(const EnvironmentLookup& environment)
{
    if (!valueOf(environment, "WAYLAND_SOCKET").empty())
        return true;
    const char* name = environment("WAYLAND_DISPLAY");
    std::string path = name ? name : "wayland-0";
    if (path.empty())
        return false;
    if (path.front() != '/') {
        const std::string_view runtimeDir = valueOf(environment, "XDG_RUNTIME_DIR");
        if (runtimeDir.empty())
            return false;
        path = std::string(runtimeDir) + '/' + path;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    path.copy(address.sun_path, path.size());
    const int socketFd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socketFd < 0)
        return false;
    const bool answers = connect(socketFd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(socketFd);
    return answers;
}
#endif

} // namespace

DisplayCheck::DisplayCheck([[maybe_unused]] int argc, [[maybe_unused]] const char* const* argv,
                           [[maybe_unused]] const EnvironmentLookup& environment)
{
#ifdef Q_OS_LINUX
    std::string_view platforms = chosenPlatforms(argc, argv, environment);
    if (platforms.empty())
        platforms = defaultPlatforms(environment);
    while (!platforms.empty()) {
        const std::string_view entry = platforms.substr(0, platforms.find(';'));
        platforms.remove_prefix(std::min(platforms.size(), entry.size() + 1));
        const std::string_view name = entry.substr(0, entry.find(':'));
        if (name == "xcb") {
            m_held = xServerAnswering(environment);
            if (m_held) {
                m_found = DisplayFound::X11;
                return;
            }
        } else if (name.starts_with("wayland")) {
            if (compositorAnswers(environment)) {
                m_found = DisplayFound::Wayland;
                return;
            }
        } else {
            m_found = DisplayFound::LeftToQt;
            return;
        }
    }
#else
    m_found = DisplayFound::LeftToQt;
#endif
}

DisplayCheck::~DisplayCheck() = default;

std::unique_ptr<QApplication> applicationOnADisplay(int& argc, char** argv, const EnvironmentLookup& environment)
{
    const DisplayCheck check(argc, argv, environment);
    if (check.found() == DisplayFound::None)
        return nullptr;
    // The check hangs up only as it goes, once Qt has connected.
    return std::make_unique<QApplication>(argc, argv);
}

} // namespace versomat
