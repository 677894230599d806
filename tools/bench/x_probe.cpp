// X client for the benchmark: times a program's first window and types into it.
//
//   quorlin-bench-x map PROGRAM [ARGS...]
//       Starts PROGRAM and waits for its first top-level window to be mapped; prints
//       "pid=P map_ms=T window=ID width=W height=H" (T from just before the start to
//       the map), then waits for PROGRAM to end (passing TERM and INT on to it).
//       Exits 1 when PROGRAM cannot start or ends before it maps a window.
//   quorlin-bench-x key WINDOW KEYSYM
//       Sends a key press and release of KEYSYM (a number, e.g. 0xff53 for Right)
//       to WINDOW; prints "sent_ms=T", CLOCK_MONOTONIC milliseconds at the press.
//
// X11 only (xcb): it watches the root window for the map and sends keys through the X
// server. Wayland lets no client see or type into another's window, so the benchmark
// runs the program under Xvfb; tools/ci/35-wayland.sh covers Wayland.
#include <xcb/xcb.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

extern char** environ;

namespace {

double monotonicMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

pid_t child = -1;

void passOn(int signal)
{
    if (child > 0)
        kill(child, signal);
}

int waitForChild()
{
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int mapCommand(xcb_connection_t* x, xcb_window_t root, char** argv)
{
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);
    free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr));  // the mask is in place

    signal(SIGTERM, passOn);
    signal(SIGINT, passOn);
    const double start = monotonicMs();
    if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv, environ) != 0) {
        std::perror(argv[0]);
        return 1;
    }
    while (xcb_generic_event_t* event = xcb_wait_for_event(x)) {
        const std::unique_ptr<xcb_generic_event_t, decltype(&free)> owned(event, &free);
        if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY)
            continue;
        const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
        if (map->override_redirect)
            continue;
        const double mapped = monotonicMs();
        xcb_get_geometry_reply_t* geometry =
            xcb_get_geometry_reply(x, xcb_get_geometry(x, map->window), nullptr);
        std::printf("pid=%d map_ms=%.1f window=%u width=%d height=%d\n", static_cast<int>(child), mapped - start,
                    map->window, geometry ? geometry->width : 0, geometry ? geometry->height : 0);
        std::fflush(stdout);
        free(geometry);
        xcb_disconnect(x);
        return waitForChild();
    }
    std::fprintf(stderr, "X connection lost before a window was mapped\n");
    kill(child, SIGTERM);
    waitForChild();
    return 1;
}

// The first keycode that carries `keysym` in the server's keyboard map; 0 when none.
xcb_keycode_t keycodeOf(xcb_connection_t* x, uint32_t keysym)
{
    const xcb_setup_t* setup = xcb_get_setup(x);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    xcb_get_keyboard_mapping_reply_t* mapping = xcb_get_keyboard_mapping_reply(
        x, xcb_get_keyboard_mapping(x, setup->min_keycode, static_cast<uint8_t>(count)), nullptr);
    if (mapping == nullptr)
        return 0;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(mapping);
    xcb_keycode_t found = 0;
    for (int i = 0; found == 0 && i < count * mapping->keysyms_per_keycode; ++i)
        if (syms[i] == keysym)
            found = static_cast<xcb_keycode_t>(setup->min_keycode + i / mapping->keysyms_per_keycode);
    free(mapping);
    return found;
}

int keyCommand(xcb_connection_t* x, xcb_window_t root, xcb_window_t window, uint32_t keysym)
{
    const xcb_keycode_t code = keycodeOf(x, keysym);
    if (code == 0) {
        std::fprintf(stderr, "no key for keysym 0x%x\n", keysym);
        return 1;
    }
    double sent = 0;
    for (const uint8_t type : {XCB_KEY_PRESS, XCB_KEY_RELEASE}) {
        xcb_key_press_event_t event{};
        event.response_type = type;
        event.detail = code;
        event.time = XCB_CURRENT_TIME;
        event.root = root;
        event.event = window;
        event.same_screen = 1;
        if (type == XCB_KEY_PRESS)
            sent = monotonicMs();
        xcb_send_event(x, 0, window, type == XCB_KEY_PRESS ? XCB_EVENT_MASK_KEY_PRESS : XCB_EVENT_MASK_KEY_RELEASE,
                       reinterpret_cast<const char*>(&event));
        xcb_flush(x);
    }
    free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr));
    std::printf("sent_ms=%.3f\n", sent);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool map = argc >= 3 && std::strcmp(argv[1], "map") == 0;
    const bool key = argc == 4 && std::strcmp(argv[1], "key") == 0;
    if (!map && !key) {
        std::fprintf(stderr, "usage: quorlin-bench-x map PROGRAM [ARGS...] | key WINDOW KEYSYM\n");
        return 2;
    }
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "cannot reach the X server (DISPLAY)\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    if (map)
        return mapCommand(x, root, argv + 2);
    const int result = keyCommand(x, root, static_cast<xcb_window_t>(std::strtoul(argv[2], nullptr, 0)),
                                  static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 0)));
    xcb_disconnect(x);
    return result;
}
