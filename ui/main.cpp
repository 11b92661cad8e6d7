#include <QApplication>
#include <QStyleFactory>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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

#include "translations.h"
#include "versomat.h"

namespace {

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

bool xServerAnswers()
{
#ifdef VERSOMAT_HAVE_XCB
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
#else
    return !environment("DISPLAY").empty();
#endif
}

// A WAYLAND_DISPLAY left behind by a compositor that has gone names a socket
// nobody listens on, so the socket is asked rather than the variable. The
// name is taken as libwayland takes it: relative to XDG_RUNTIME_DIR unless
// it is a path.
bool waylandCompositorAnswers()
{
    const std::string_view name = environment("WAYLAND_DISPLAY");
    if (name.empty())
        return false;
    std::string path;
    if (!name.starts_with('/')) {
        const std::string_view runtimeDir = environment("XDG_RUNTIME_DIR");
        if (runtimeDir.empty())
            return false;
        path.append(runtimeDir).append("/");
    }
    path.append(name);
    sockaddr_un address{};
    if (path.size() >= sizeof(address.sun_path))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), path.size());
    const int connection = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (connection < 0)
        return false;
    const bool answers = ::connect(connection, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(connection);
    return answers;
}

// Qt aborts with a core dump when no platform it tries finds a display.
// That is foreseen here only for X11 and Wayland; any other platform
// (offscreen, vnc, ...) is left for Qt to judge. Entries are separated by
// ";" and may carry ":options".
bool displayMissing(int argc, char** argv)
{
    std::string_view platforms = chosenPlatform(argc, argv);
    if (platforms.empty())
        platforms = "wayland;xcb";
    while (!platforms.empty()) {
        const std::string_view entry = platforms.substr(0, platforms.find(';'));
        platforms.remove_prefix(std::min(platforms.size(), entry.size() + 1));
        const std::string_view name = entry.substr(0, entry.find(':'));
        if (name == "xcb") {
            if (xServerAnswers())
                return false;
        } else if (name.starts_with("wayland")) {
            if (waylandCompositorAnswers())
                return false;
        } else {
            return false;
        }
    }
    return true;
}
#else
bool displayMissing(int, char**)
{
    return false;
}
#endif

} // namespace

int main(int argc, char** argv)
{
    if (displayMissing(argc, argv)) {
        std::fputs("versomat: no display found - start it on a desktop, or headless with: xvfb-run versomat\n", stderr);
        return EXIT_FAILURE;
    }

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("versomat"));
    versomat::installGermanTranslations();
    // Fusion honours the palette colours of the labels and text boxes, which
    // some desktop styles replace with their own.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    versomat::Versomat window;
    window.show();
    return app.exec();
}
