// Starts a program on the current X display and reports how long it took
// until its first top-level window was mapped and until its first frame
// reached the window, the CPU time it had used by then, and its resident
// memory once the window has settled.
// Usage: versomat_startup_probe SETTLE_MS PROGRAM [ARGUMENTS...]
// Prints one line: map_ms=<wall> paint_ms=<wall> cpu_ms=<all threads> rss_kb=<VmRSS>
// paint_ms is -1 when no change of the window's pixels was seen.
//
// It listens for MapNotify on the root window instead of polling, so the map
// time carries no polling delay and costs the measured program no CPU.

#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kMapTimeout = std::chrono::seconds(30);
constexpr auto kPaintTimeout = std::chrono::seconds(2);
constexpr auto kPaintPollInterval = std::chrono::microseconds(250);
// Inside the window's own background, clear of every control.
constexpr std::int16_t kProbeX = 3;
constexpr std::int16_t kProbeY = 3;
constexpr std::uint8_t kEventTypeMask = 0x7f; // the top bit marks sent events

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name)
{
    const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// The process id the toolkit stores on its windows; 0 when there is none.
pid_t windowPid(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t pidAtom)
{
    const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr));
    if (!reply || xcb_get_property_value_length(reply.get()) != 4)
        return 0;
    std::uint32_t pid = 0;
    std::memcpy(&pid, xcb_get_property_value(reply.get()), sizeof pid);
    return static_cast<pid_t>(pid);
}

// Field "VmRSS:" of /proc/PID/status in kB; -1 when unreadable.
long residentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

// CPU time of all the process's threads in milliseconds, from the scheduler's
// nanosecond counters (the tick-based times of /proc/PID/stat are 10 ms
// coarse, about as long as a whole startup).
double cpuMs(pid_t pid)
{
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code error;
    unsigned long long ns = 0;
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        unsigned long long onCpu = 0;
        if (schedstat >> onCpu)
            ns += onCpu;
    }
    return error ? -1 : static_cast<double>(ns) / 1e6;
}

// The window's pixel at the probe point as raw bytes; empty when unreadable.
std::string pixelAt(xcb_connection_t* connection, xcb_window_t window)
{
    const XcbReply<xcb_get_image_reply_t> reply(xcb_get_image_reply(
        connection, xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, kProbeX, kProbeY, 1, 1, ~0u),
        nullptr));
    if (!reply)
        return {};
    return std::string(reinterpret_cast<const char*>(xcb_get_image_data(reply.get())),
                       static_cast<std::size_t>(xcb_get_image_data_length(reply.get())));
}

void stopChild(pid_t child)
{
    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fputs("usage: versomat_startup_probe SETTLE_MS PROGRAM [ARGUMENTS...]\n", stderr);
        return 2;
    }
    const auto settle = std::chrono::milliseconds(std::atoi(argv[1]));

    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fputs("versomat_startup_probe: cannot open the X display\n", stderr);
        return 1;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    const xcb_atom_t pidAtom = internAtom(connection, "_NET_WM_PID");
    xcb_flush(connection);

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("versomat_startup_probe: fork");
        return 1;
    }
    if (child == 0) {
        execvp(argv[2], argv + 2);
        std::perror("versomat_startup_probe: exec");
        _exit(127);
    }

    pollfd xFd{xcb_get_file_descriptor(connection), POLLIN, 0};
    xcb_window_t window = XCB_WINDOW_NONE;
    double mapMs = -1;
    while (window == XCB_WINDOW_NONE) {
        if (Clock::now() - start > kMapTimeout || waitpid(child, nullptr, WNOHANG) == child) {
            std::fprintf(stderr, "versomat_startup_probe: %s mapped no window\n", argv[2]);
            stopChild(child);
            return 1;
        }
        poll(&xFd, 1, 100);
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            const Clock::time_point seen = Clock::now();
            if ((event->response_type & kEventTypeMask) == XCB_MAP_NOTIFY && window == XCB_WINDOW_NONE) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                if (windowPid(connection, map->window, pidAtom) == child) {
                    window = map->window;
                    mapMs = std::chrono::duration<double, std::milli>(seen - start).count();
                }
            }
            std::free(event);
        }
    }

    // A freshly mapped window shows what lay beneath it until the program
    // paints; the first change of a background pixel is the first frame.
    double paintMs = -1;
    const std::string unpainted = pixelAt(connection, window);
    const Clock::time_point paintDeadline = Clock::now() + kPaintTimeout;
    while (!unpainted.empty() && Clock::now() < paintDeadline) {
        const std::string pixel = pixelAt(connection, window);
        if (!pixel.empty() && pixel != unpainted) {
            paintMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
        std::this_thread::sleep_for(kPaintPollInterval);
    }
    const double cpuAtFrame = cpuMs(child);

    std::this_thread::sleep_for(settle);
    const long rss = residentKb(child);
    stopChild(child);
    xcb_disconnect(connection);
    std::printf("map_ms=%.1f paint_ms=%.1f cpu_ms=%.1f rss_kb=%ld\n", mapMs, paintMs, cpuAtFrame, rss);
    return 0;
}
