// map-wait TITLE [-- COMMAND ARGS...]
//
// Waits until a top-level window whose name contains TITLE is mapped on the
// X display, watching the root window's map events (no polling), so the
// time it reports is exact to the event. Given a command, it starts that
// command itself once it is listening and prints "MS PID": milliseconds
// from the start of the command to the map, and the command's process id
// (left running). Without one it prints "listening" as soon as it listens
// and then the wall clock of the map in nanoseconds since the epoch, for a
// script that takes its own start time. Exits 1 after 60 s without a map.
#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string windowName(xcb_connection_t* connection, xcb_window_t window)
{
    xcb_get_property_cookie_t cookie =
        xcb_get_property(connection, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
    if (!reply)
        return {};
    std::string name(static_cast<const char*>(xcb_get_property_value(reply)),
                     static_cast<size_t>(xcb_get_property_value_length(reply)));
    free(reply);
    return name;
}

pid_t start(char** command)
{
    pid_t child = fork();
    if (child == 0) {
        // Our output is the answer: the command writes to stderr, so that a
        // caller reading our output up to its end does not wait for it.
        dup2(STDERR_FILENO, STDOUT_FILENO);
        execvp(command[0], command);
        _exit(127);
    }
    return child;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: map-wait TITLE [-- COMMAND ARGS...]\n");
        return 2;
    }
    const std::string title = argv[1];
    char** command = argc > 3 && std::strcmp(argv[2], "--") == 0 ? argv + 3 : nullptr;

    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "map-wait: cannot open the display\n");
        return 2;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_void_cookie_t selected =
        xcb_change_window_attributes_checked(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    if (xcb_generic_error_t* error = xcb_request_check(connection, selected)) {
        free(error);
        std::fprintf(stderr, "map-wait: cannot watch the root window\n");
        return 2;
    }

    const auto begun = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (command) {
        child = start(command);
    } else {
        std::printf("listening\n");
        std::fflush(stdout);
    }

    const auto deadline = begun + std::chrono::seconds(60);
    pollfd watch{xcb_get_file_descriptor(connection), POLLIN, 0};
    while (std::chrono::steady_clock::now() < deadline) {
        xcb_generic_event_t* event = xcb_poll_for_event(connection);
        if (!event) {
            if (xcb_connection_has_error(connection))
                break;
            poll(&watch, 1, 100);
            continue;
        }
        const auto seen = std::chrono::steady_clock::now();
        const auto wall = std::chrono::system_clock::now();
        bool mapped = (event->response_type & 0x7F) == XCB_MAP_NOTIFY;
        xcb_window_t window = mapped ? reinterpret_cast<xcb_map_notify_event_t*>(event)->window : 0;
        free(event);
        if (!mapped || windowName(connection, window).find(title) == std::string::npos)
            continue;
        if (command)
            std::printf("%.3f %d\n", std::chrono::duration<double, std::milli>(seen - begun).count(),
                        static_cast<int>(child));
        else
            std::printf("%lld\n",
                        static_cast<long long>(
                            std::chrono::duration_cast<std::chrono::nanoseconds>(wall.time_since_epoch()).count()));
        xcb_disconnect(connection);
        return 0;
    }
    if (child > 0)
        kill(child, SIGTERM);
    std::fprintf(stderr, "map-wait: no window named like \"%s\" was mapped\n", title.c_str());
    xcb_disconnect(connection);
    return 1;
}
