// The start-up check, under an X server of its own that never resets (see
// CMakeLists.txt), so that connections made one after another all stand.
#include <gtest/gtest.h>

#include <QApplication>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <map>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "display_check.h"

namespace versomat {

void PrintTo(DisplayFound found, std::ostream* out)
{
    const char* names[] = {"None", "X11", "Wayland", "LeftToQt"};
    *out << names[static_cast<int>(found)];
}

namespace {

// Clients connected to the X server, by the X-Resource extension's
// QueryClients, which libxcb has no wrapper for in this tree's packages.
int xClientCount(xcb_connection_t* connection)
{
    static xcb_extension_t resource = {"X-Resource", 0};
    const xcb_protocol_request_t queryClients = {2, &resource, 1, 0};
    struct {
        std::uint8_t major, minor;
        std::uint16_t length;
    } request{};
    iovec parts[4] = {};
    parts[2] = {&request, sizeof request};
    const unsigned sequence = xcb_send_request(connection, XCB_REQUEST_CHECKED, parts + 2, &queryClients);
    xcb_generic_error_t* error = nullptr;
    void* reply = xcb_wait_for_reply(connection, sequence, &error);
    std::free(error);
    if (!reply)
        return -1;
    std::uint32_t count = 0;
    std::memcpy(&count, static_cast<const char*>(reply) + 8, sizeof count);
    std::free(reply);
    return static_cast<int>(count);
}

xcb_connection_t* observer = nullptr;
int clientsWhenQtStarted = -1;

TEST(DisplayCheck, HoldsItsXConnectionUntilQtHasItsOwn)
{
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "needs an X server; ctest runs it under xvfb-run";
    observer = xcb_connect(nullptr, nullptr);
    ASSERT_EQ(xcb_connection_has_error(observer), 0);
    const int alone = xClientCount(observer);
    ASSERT_GT(alone, 0);
    // Runs inside QApplication's constructor, once Qt's platform is up.
    qAddPreRoutine([] { clientsWhenQtStarted = xClientCount(observer); });

    int argc = 3;
    char* argv[] = {const_cast<char*>("versomat"), const_cast<char*>("-platform"), const_cast<char*>("xcb"), nullptr};
    std::unique_ptr<QApplication> application = applicationOnADisplay(argc, argv, std::getenv);
    ASSERT_NE(application, nullptr);
    EXPECT_EQ(clientsWhenQtStarted, alone + 2) << "the check's connection and Qt's";
    // The server drops a closed connection only when it next reads that
    // socket, which a busy machine may put after the observer's query.
    int afterwards = xClientCount(observer);
    for (int tries = 0; afterwards > alone + 1 && tries < 500; ++tries) {
        usleep(10'000);
        afterwards = xClientCount(observer);
    }
    EXPECT_EQ(afterwards, alone + 1) << "Qt's alone";
    application.reset();
    xcb_disconnect(observer);
}

// A socket that accepts connections, as a running compositor's does; closed,
// it is the one a compositor that has gone leaves behind.
int listeningSocket(const std::string& path)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || listen(fd, 8) != 0)
        ADD_FAILURE() << "cannot listen on " << path;
    return fd;
}

std::vector<std::string> words(const std::string& text)
{
    std::istringstream in(text);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

TEST(DisplayCheck, FindsTheDisplayOnThePlatformsQtTries)
{
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "needs an X server; ctest runs it under xvfb-run";
    char runtimeDir[] = "/tmp/versomat-runtime-XXXXXX";
    ASSERT_NE(mkdtemp(runtimeDir), nullptr);
    const int compositor = listeningSocket(std::string(runtimeDir) + "/wayland-0");
    close(listeningSocket(std::string(runtimeDir) + "/wayland-gone"));

    // $X is the X server the test runs on, $R the runtime folder with a
    // compositor's socket wayland-0 and a stale wayland-gone.
    using enum DisplayFound;
    const struct {
        const char* arguments;
        const char* environment;
        DisplayFound found;
    } cases[] = {
        {"", "", None},
        {"", "DISPLAY=$X", X11},
        {"", "DISPLAY=:65432", None},
        {"", "WAYLAND_DISPLAY=wayland-0 XDG_RUNTIME_DIR=$R DISPLAY=$X", Wayland},
        {"", "WAYLAND_DISPLAY=wayland-gone XDG_RUNTIME_DIR=$R DISPLAY=$X", X11},
        {"", "WAYLAND_DISPLAY=wayland-gone XDG_RUNTIME_DIR=$R", None},
        {"", "WAYLAND_DISPLAY= XDG_RUNTIME_DIR=$R", None},
        {"", "WAYLAND_DISPLAY=$R/wayland-0", Wayland},
        {"", "WAYLAND_DISPLAY=wayland-0", None},
        {"", "XDG_SESSION_TYPE=wayland XDG_RUNTIME_DIR=$R", Wayland},
        {"", "XDG_SESSION_TYPE=x11 XDG_RUNTIME_DIR=$R", None},
        {"", "QT_QPA_PLATFORM=wayland WAYLAND_SOCKET=3", Wayland},
        {"", "QT_QPA_PLATFORM=xcb WAYLAND_DISPLAY=wayland-0 XDG_RUNTIME_DIR=$R", None},
        {"", "QT_QPA_PLATFORM=xcb:a=1;wayland-egl:b;offscreen WAYLAND_DISPLAY=wayland-0 XDG_RUNTIME_DIR=$R", Wayland},
        {"", "QT_QPA_PLATFORM=wayland;offscreen;xcb DISPLAY=$X", LeftToQt},
        {"-platform offscreen", "QT_QPA_PLATFORM=xcb", LeftToQt},
        {"--platform xcb", "QT_QPA_PLATFORM=offscreen DISPLAY=$X", X11},
        {"-platform", "QT_QPA_PLATFORM=offscreen", LeftToQt},
        {"-platform offscreen --platform xcb -platform=offscreen", "", None},
        {"--platform xcb -platform wayland;offscreen", "DISPLAY=$X", LeftToQt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.arguments) + " | " + c.environment);
        std::map<std::string, std::string> environment;
        for (std::string entry : words(c.environment)) {
            for (const auto& [name, value] : {std::pair{"$X", std::getenv("DISPLAY")}, {"$R", runtimeDir}})
                if (const std::size_t at = entry.find(name); at != std::string::npos)
                    entry.replace(at, 2, value);
            environment[entry.substr(0, entry.find('='))] = entry.substr(entry.find('=') + 1);
        }
        std::vector<std::string> arguments = words(std::string("versomat ") + c.arguments);
        std::vector<const char*> argv;
        for (const std::string& argument : arguments)
            argv.push_back(argument.c_str());
        const EnvironmentLookup lookup = [&environment](const char* name) -> const char* {
            const auto found = environment.find(name);
            return found == environment.end() ? nullptr : found->second.c_str();
        };
        EXPECT_EQ(DisplayCheck(int(argv.size()), argv.data(), lookup).found(), c.found);
    }
    close(compositor);
    std::filesystem::remove_all(runtimeDir);
}

} // namespace
} // namespace versomat
