// forkwise-xwindow: finds a top-level window by its title on the X display, waits for it to be
// shown, and asks it to close the way a window manager does (WM_DELETE_WINDOW).
//   forkwise-xwindow wait TITLE TIMEOUT_MS   prints the window id once it is viewable
//   forkwise-xwindow close TITLE             sends the close request
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

std::string titleOf(Display* dpy, Window w) {
    Atom netName = XInternAtom(dpy, "_NET_WM_NAME", False);
    Atom utf8 = XInternAtom(dpy, "UTF8_STRING", False);
    Atom type;
    int format;
    unsigned long n, after;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(dpy, w, netName, 0, 1024, False, utf8, &type, &format, &n, &after,
                           &data) == Success &&
        data) {
        title.assign(reinterpret_cast<char*>(data), n);
        XFree(data);
    }
    if (title.empty()) {
        char* name = nullptr;
        if (XFetchName(dpy, w, &name) && name) {
            title = name;
            XFree(name);
        }
    }
    return title;
}

Window find(Display* dpy, Window w, const std::string& title, bool viewable) {
    XWindowAttributes attrs;
    if (titleOf(dpy, w) == title && XGetWindowAttributes(dpy, w, &attrs) &&
        (!viewable || attrs.map_state == IsViewable))
        return w;
    Window root, parent, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(dpy, w, &root, &parent, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && !found; ++i)
        found = find(dpy, children[i], title, viewable);
    if (children)
        XFree(children);
    return found;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s wait TITLE TIMEOUT_MS | close TITLE\n", argv[0]);
        return 2;
    }
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    const std::string command = argv[1], title = argv[2];
    int rc = 1;
    if (command == "wait") {
        const auto deadline = std::chrono::steady_clock::now() +
                              std::chrono::milliseconds(argc > 3 ? std::atoi(argv[3]) : 10000);
        while (std::chrono::steady_clock::now() < deadline) {
            if (Window w = find(dpy, DefaultRootWindow(dpy), title, true)) {
                std::printf("0x%lx\n", w);
                rc = 0;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    } else if (command == "close") {
        if (Window w = find(dpy, DefaultRootWindow(dpy), title, false)) {
            XEvent ev;
            std::memset(&ev, 0, sizeof ev);
            ev.xclient.type = ClientMessage;
            ev.xclient.window = w;
            ev.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
            ev.xclient.format = 32;
            ev.xclient.data.l[0] = long(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
            ev.xclient.data.l[1] = CurrentTime;
            XSendEvent(dpy, w, False, NoEventMask, &ev);
            XFlush(dpy);
            rc = 0;
        }
    }
    XCloseDisplay(dpy);
    return rc;
}
