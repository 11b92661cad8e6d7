#include <QApplication>
#include <QStyleFactory>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
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

#include "translations.h"
#include "versomat.h"

namespace {

// An X server started without -noreset resets when its last client leaves
// and drops the connections that arrive meanwhile; Qt aborts on that. Had the
// check hung up before Qt connected, its leaving would be that reset, so its
// connection is held until Qt has its own.
#ifdef VERSOMAT_HAVE_XCB
struct XcbDisconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using XConnection = std::unique_ptr<xcb_connection_t, XcbDisconnect>;
#else
struct XConnection {};
#endif

#ifdef Q_OS_LINUX
std::string_view environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The platform the user chose, by -platform or QT_QPA_PLATFORM; empty when
// Qt picks its default.
std::string_view chosenPlatform(int argc, char** argv)
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return argv[i + 1];
    }
    return environment("QT_QPA_PLATFORM");
}

bool xServerAnswers([[maybe_unused]] XConnection& held)
{
#ifdef VERSOMAT_HAVE_XCB
    XConnection connection(xcb_connect(nullptr, nullptr));
    if (xcb_connection_has_error(connection.get()) != 0)
        return false;
    held = std::move(connection);
    return true;
#else
    return !environment("DISPLAY").empty();
#endif
}

// Finds the compositor as libwayland does: a socket handed over in
// WAYLAND_SOCKET, else WAYLAND_DISPLAY (or "wayland-0" when unset) as a path,
// relative to XDG_RUNTIME_DIR unless absolute. A variable left over from an
// ended session names a socket nobody listens on any more.
bool compositorAnswers()
{
    if (!environment("WAYLAND_SOCKET").empty())
        return true;
    const char* name = std::getenv("WAYLAND_DISPLAY");
    std::string path = name ? name : "wayland-0";
    if (path.empty())
        return false;
    if (path.front() != '/') {
        const std::string_view runtimeDir = environment("XDG_RUNTIME_DIR");
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

// The platforms Qt tries when none is chosen: Wayland first where
// WAYLAND_DISPLAY is set, even empty, or the session says Wayland; then X11.
std::string_view defaultPlatforms()
{
    if (std::getenv("WAYLAND_DISPLAY") || environment("XDG_SESSION_TYPE") == "wayland")
        return "wayland;xcb";
    return "xcb";
}

// Qt aborts with a core dump when no platform it tries finds a display.
// That is foreseen here only for X11 and Wayland; any other platform
// (offscreen, vnc, ...) is left for Qt to judge. Entries are separated by
// ";" and may carry ":options".
bool displayMissing(int argc, char** argv, XConnection& held)
{
    std::string_view platforms = chosenPlatform(argc, argv);
    if (platforms.empty())
        platforms = defaultPlatforms();
    while (!platforms.empty()) {
        const std::string_view entry = platforms.substr(0, platforms.find(';'));
        platforms.remove_prefix(std::min(platforms.size(), entry.size() + 1));
        const std::string_view name = entry.substr(0, entry.find(':'));
        if (name == "xcb") {
            if (xServerAnswers(held))
                return false;
        } else if (name.starts_with("wayland")) {
            if (compositorAnswers())
                return false;
        } else {
            return false;
        }
    }
    return true;
}
#else
bool displayMissing(int, char**, XConnection&)
{
    return false;
}
#endif

} // namespace

int main(int argc, char** argv)
{
    XConnection checkConnection;
    if (displayMissing(argc, argv, checkConnection)) {
        std::fputs("versomat: no display found - start it on a desktop, or headless with: xvfb-run versomat\n", stderr);
        return EXIT_FAILURE;
    }

    QApplication app(argc, argv);
    checkConnection = {};
    QGuiApplication::setDesktopFileName(QStringLiteral("versomat"));
    versomat::installGermanTranslations();
    // Fusion honours the palette colours of the labels and text boxes, which
    // some desktop styles replace with their own.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    versomat::Versomat window;
    window.show();
    return app.exec();
}
