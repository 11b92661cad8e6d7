// The start-up check, under an X server of its own (see CMakeLists.txt).
#include <gtest/gtest.h>

#include <QApplication>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <ostream>
#include <memory>
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
    EXPECT_EQ(xClientCount(observer), alone + 1) << "Qt's alone";
    application.reset();
    xcb_disconnect(observer);
}

// A socket that accepts connections, as a running compositor's does, or,
// closed, the one a compositor that has gone leaves behind.
struct Socket {
    Socket(const std::string& path, bool listening) : fd(socket(AF_UNIX, SOCK_STREAM, 0))
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || listen(fd, 8) != 0)
            ADD_FAILURE() << "cannot listen on " << path;
        if (!listening) {
            close(fd);
            fd = -1;
        }
    }
    ~Socket()
    {
        if (fd >= 0)
            close(fd);
    }
    int fd;
};

TEST(DisplayCheck, FindsTheDisplayOnThePlatformsQtTries)
{
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "needs an X server; ctest runs it under xvfb-run";
    const std::string x = std::getenv("DISPLAY");
    // Without a client of its own the server would reset between the rows'
    // connections, and drop those arriving meanwhile.
    const std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> keepAlive(xcb_connect(nullptr, nullptr),
                                                                                   xcb_disconnect);
    const std::string noX = ":65432";
    const std::filesystem::path runtime =
        std::filesystem::temp_directory_path() / ("versomat-" + std::to_string(getpid()));
    std::filesystem::create_directories(runtime);
    const std::string runtimeDir = runtime.string();
    {
        const Socket compositor(runtimeDir + "/wayland-0", true);
        const Socket gone(runtimeDir + "/wayland-gone", false);

        using Environment = std::map<std::string, std::string>;
        using enum DisplayFound;
        const struct {
            const char* name;
            std::vector<const char*> arguments;
            Environment environment;
            DisplayFound found;
        } cases[] = {
            {"nothing set", {}, {}, None},
            {"X11", {}, {{"DISPLAY", x}}, X11},
            {"X server gone", {}, {{"DISPLAY", noX}}, None},
            {"Wayland first",
             {},
             {{"WAYLAND_DISPLAY", "wayland-0"}, {"XDG_RUNTIME_DIR", runtimeDir}, {"DISPLAY", x}},
             Wayland},
            {"stale WAYLAND_DISPLAY, X11 after it",
             {},
             {{"WAYLAND_DISPLAY", "wayland-gone"}, {"XDG_RUNTIME_DIR", runtimeDir}, {"DISPLAY", x}},
             X11},
            {"stale WAYLAND_DISPLAY alone",
             {},
             {{"WAYLAND_DISPLAY", "wayland-gone"}, {"XDG_RUNTIME_DIR", runtimeDir}},
             None},
            {"empty WAYLAND_DISPLAY is no wayland-0",
             {},
             {{"WAYLAND_DISPLAY", ""}, {"XDG_RUNTIME_DIR", runtimeDir}},
             None},
            {"absolute WAYLAND_DISPLAY", {}, {{"WAYLAND_DISPLAY", runtimeDir + "/wayland-0"}}, Wayland},
            {"relative WAYLAND_DISPLAY without XDG_RUNTIME_DIR", {}, {{"WAYLAND_DISPLAY", "wayland-0"}}, None},
            {"Wayland session means wayland-0",
             {},
             {{"XDG_SESSION_TYPE", "wayland"}, {"XDG_RUNTIME_DIR", runtimeDir}},
             Wayland},
            {"X11 session does not try Wayland",
             {},
             {{"XDG_SESSION_TYPE", "x11"}, {"XDG_RUNTIME_DIR", runtimeDir}},
             None},
            {"WAYLAND_SOCKET handed over", {}, {{"WAYLAND_SOCKET", "3"}, {"QT_QPA_PLATFORM", "wayland"}}, Wayland},
            {"chosen xcb ignores Wayland",
             {},
             {{"QT_QPA_PLATFORM", "xcb"}, {"WAYLAND_DISPLAY", "wayland-0"}, {"XDG_RUNTIME_DIR", runtimeDir}},
             None},
            {"list with options, in order",
             {},
             {{"QT_QPA_PLATFORM", "xcb:x=1;wayland-egl:y;offscreen"},
              {"WAYLAND_DISPLAY", "wayland-0"},
              {"XDG_RUNTIME_DIR", runtimeDir}},
             Wayland},
            {"list ending in a platform for Qt to judge", {}, {{"QT_QPA_PLATFORM", "xcb;wayland;offscreen"}}, LeftToQt},
            {"-platform beats QT_QPA_PLATFORM", {"-platform", "offscreen"}, {{"QT_QPA_PLATFORM", "xcb"}}, LeftToQt},
            {"--platform", {"--platform", "xcb"}, {{"QT_QPA_PLATFORM", "offscreen"}, {"DISPLAY", x}}, X11},
            {"-platform without a value", {"-platform"}, {{"QT_QPA_PLATFORM", "offscreen"}}, LeftToQt},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            std::vector<const char*> argv = {"versomat"};
            argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
            const EnvironmentLookup lookup = [&c](const char* name) -> const char* {
                const auto found = c.environment.find(name);
                return found == c.environment.end() ? nullptr : found->second.c_str();
            };
            EXPECT_EQ(DisplayCheck(int(argv.size()), argv.data(), lookup).found(), c.found);
        }
    }
    std::filesystem::remove_all(runtime);
}

} // namespace
} // namespace versomat
