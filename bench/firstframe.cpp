// SPDX-License-Identifier: GPL-3.0-or-later
// firstframe PROGRAM [ARGS...]
//
// Starts PROGRAM on the X display in DISPLAY and waits for the first drawing that reaches the
// screen. Prints "wall_ms=<exec to first drawing> maxrss_kb=<peak resident memory>
// frame=<size of the first drawing>", then ends
// the program with SIGTERM (under valgrind that still writes the profile). Nothing else may draw
// on the display meanwhile: any damage to the screen counts as the program's first frame.

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

constexpr int TimeoutMs = 120'000;

double millisecondsSince(const timespec &start)
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec - start.tv_sec) * 1e3
            + static_cast<double>(now.tv_nsec - start.tv_nsec) / 1e6;
}

int usage()
{
    std::fputs("usage: firstframe PROGRAM [ARGS...]\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2)
        return usage();
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("firstframe: cannot open the display in DISPLAY\n", stderr);
        return 1;
    }
    int damageEvent = 0;
    int damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fputs("firstframe: the X server has no Damage extension\n", stderr);
        return 1;
    }
    // Without a compositing manager every window draws into the root window's pixels, so damage
    // to the root is every drawing on the screen.
    const Damage damage
            = XDamageCreate(display, DefaultRootWindow(display), XDamageReportBoundingBox);
    // The server may report the root as damaged once on creation; that is no one's drawing.
    XSync(display, False);
    XDamageSubtract(display, damage, None, None);
    XSync(display, True);

    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    const pid_t child = fork();
    if (child < 0) {
        std::perror("firstframe: fork");
        return 1;
    }
    if (child == 0) {
        close(ConnectionNumber(display));
        execvp(argv[1], argv + 1);
        std::perror("firstframe: exec");
        _exit(127);
    }

    double wallMs = -1;
    XRectangle frame{};
    while (wallMs < 0) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == damageEvent + XDamageNotify && wallMs < 0) {
                wallMs = millisecondsSince(start);
                frame = reinterpret_cast<const XDamageNotifyEvent &>(event).area;
            }
        }
        if (wallMs >= 0)
            break;
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fputs("firstframe: the program ended before drawing anything\n", stderr);
            return 1;
        }
        if (millisecondsSince(start) > TimeoutMs) {
            std::fputs("firstframe: no drawing within the time limit\n", stderr);
            kill(child, SIGKILL);
            return 1;
        }
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, 100);
    }

    kill(child, SIGTERM);
    int status = 0;
    rusage resources{};
    while (wait4(child, &status, 0, &resources) < 0 && errno == EINTR) { }
    std::printf("wall_ms=%.2f maxrss_kb=%ld frame=%dx%d\n", wallMs, resources.ru_maxrss,
                frame.width, frame.height);
    XDamageDestroy(display, damage);
    XCloseDisplay(display);
    return 0;
}
