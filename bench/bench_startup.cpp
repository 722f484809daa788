// forkwise-bench-startup: how long the real program takes from its start until its main window
// is shown and idle, and how much memory it holds then. Needs an X display (bench_startup.sh
// provides one with Xvfb).
//
// Each run gives a fresh program folder its own copy of the executable and of the log, and an
// empty settings folder, so that every run starts from the same files. The clock starts just
// before the fork. "Shown" is the map of the main window (known by its title and process id).
// "Idle" is the end of the main thread's last stretch of work after that, once it has done
// nothing for kQuietMs: its processor time, sampled every millisecond, stopped growing then. A
// ping (_NET_WM_PING) sent at that point shows that the program answers at once, and the memory
// is read. The program then is closed through the window system as a window manager would, and
// must end by itself.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char* const kTitle = "Forkwise 1.0";
constexpr int kQuietMs = 50; // this long without work after the window is shown counts as idle
constexpr int kTimeoutMs = 30000;

using Clock = std::chrono::steady_clock;

double msBetween(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// What one run measured.
struct Run {
    double shownMs = 0; // fork to the map of the main window
    double idleMs = 0;  // fork to the end of the main thread's work after the map
    double cpuMs = 0;   // processor time of the main thread until idle
    double pingMs = 0;  // round trip of a ping sent when idle
    double rssMB = 0;   // VmRSS when idle
    double peakMB = 0;  // VmHWM when idle
};

// The X connection and the atoms the runs use; the driver watches the root window for the map
// of top-level windows and for the answers to pings, which come back to the root.
class XSession {
public:
    XSession() {
        dpy = XOpenDisplay(nullptr);
        if (!dpy)
            return;
        root = DefaultRootWindow(dpy);
        protocols = XInternAtom(dpy, "WM_PROTOCOLS", False);
        ping = XInternAtom(dpy, "_NET_WM_PING", False);
        deleteWindow = XInternAtom(dpy, "WM_DELETE_WINDOW", False);
        wmPid = XInternAtom(dpy, "_NET_WM_PID", False);
        netName = XInternAtom(dpy, "_NET_WM_NAME", False);
        utf8 = XInternAtom(dpy, "UTF8_STRING", False);
        XSelectInput(dpy, root, SubstructureNotifyMask | StructureNotifyMask);
        XSync(dpy, False);
    }
    ~XSession() {
        if (dpy)
            XCloseDisplay(dpy);
    }
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    bool ok() const { return dpy != nullptr; }

    // Waits for the next event until the deadline; false when none came.
    bool next(XEvent& ev, Clock::time_point deadline) {
        while (!XPending(dpy)) {
            const double left = msBetween(Clock::now(), deadline);
            if (left <= 0)
                return false;
            pollfd p{ConnectionNumber(dpy), POLLIN, 0};
            poll(&p, 1, std::max(1, int(left)));
        }
        XNextEvent(dpy, &ev);
        return true;
    }

    std::string title(Window w) {
        Atom type;
        int format;
        unsigned long n, after;
        unsigned char* data = nullptr;
        std::string result;
        if (XGetWindowProperty(dpy, w, netName, 0, 1024, False, utf8, &type, &format, &n, &after,
                               &data) == Success &&
            data) {
            result.assign(reinterpret_cast<char*>(data), n);
            XFree(data);
        }
        return result;
    }

    long pid(Window w) {
        Atom type;
        int format;
        unsigned long n, after;
        unsigned char* data = nullptr;
        long result = -1;
        if (XGetWindowProperty(dpy, w, wmPid, 0, 1, False, XA_CARDINAL, &type, &format, &n, &after,
                               &data) == Success &&
            data) {
            if (n == 1 && format == 32)
                result = *reinterpret_cast<long*>(data);
            XFree(data);
        }
        return result;
    }

    void sendProtocol(Window w, Atom protocol, long serial) {
        XEvent ev;
        std::memset(&ev, 0, sizeof ev);
        ev.xclient.type = ClientMessage;
        ev.xclient.window = w;
        ev.xclient.message_type = protocols;
        ev.xclient.format = 32;
        ev.xclient.data.l[0] = long(protocol);
        ev.xclient.data.l[1] = serial; // the time stamp field; the answer carries it back
        ev.xclient.data.l[2] = long(w);
        XSendEvent(dpy, w, False, NoEventMask, &ev);
        XFlush(dpy);
    }

    Display* dpy = nullptr;
    Window root = 0;
    Atom protocols = 0, ping = 0, deleteWindow = 0, wmPid = 0, netName = 0, utf8 = 0;
};

// A number from the status file of a process ("VmRSS:  1234 kB"), in kB; -1 when missing.
long statusKb(pid_t pid, const char* field) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    const std::string prefix = std::string(field) + ':';
    while (std::getline(in, line))
        if (line.compare(0, prefix.size(), prefix) == 0)
            return std::strtol(line.c_str() + prefix.size(), nullptr, 10);
    return -1;
}

// Processor time of the process's main thread so far, in ns (the first field of schedstat).
long long mainThreadNs(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/schedstat");
    long long ns = -1;
    in >> ns;
    return ns;
}

// Waits up to timeoutMs for the child to end; its exit status, or nullopt if it is still there.
std::optional<int> waitEnd(pid_t pid, int timeoutMs) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int status = 0;
        const pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid)
            return status;
        if (r < 0 || Clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void killChild(pid_t pid) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// A program folder of its own: the executable with Data/ForkData.mdb beside it and a settings
// folder, removed again at the end of the run.
struct ProgramFolder {
    fs::path dir;
    ProgramFolder(const fs::path& parent, const fs::path& program, const fs::path& log) {
        std::string pattern = (parent / "forkwise-startup-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a folder in " + parent.string());
        dir = pattern;
        fs::create_directories(dir / "Data");
        fs::create_directories(dir / "config");
        fs::copy_file(program, dir / "forkwise");
        fs::copy_file(log, dir / "Data" / "ForkData.mdb");
    }
    ~ProgramFolder() {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;
};

bool runOnce(XSession& x, const fs::path& tempParent, const fs::path& program, const fs::path& log,
             Run& run, std::string& error) {
    ProgramFolder folder(tempParent, program, log);
    const std::string exe = (folder.dir / "forkwise").string();
    const std::string config = (folder.dir / "config").string();

    // Events of earlier runs are of no interest.
    XSync(x.dpy, True);

    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
        error = std::strerror(errno);
        return false;
    }
    if (pid == 0) {
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }

    const Clock::time_point deadline = start + std::chrono::milliseconds(kTimeoutMs);
    Window window = 0;
    XEvent ev;
    while (!window) {
        if (!x.next(ev, deadline)) {
            killChild(pid);
            error = "no main window appeared";
            return false;
        }
        if (ev.type == MapNotify && ev.xmap.event == x.root && x.title(ev.xmap.window) == kTitle &&
            x.pid(ev.xmap.window) == pid) {
            window = ev.xmap.window;
            run.shownMs = msBetween(start, Clock::now());
        }
    }

    // Watch the main thread until it has been quiet for kQuietMs.
    Clock::time_point lastWork = Clock::now();
    long long ns = mainThreadNs(pid);
    while (msBetween(lastWork, Clock::now()) < kQuietMs) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const long long now = mainThreadNs(pid);
        if (now < 0 || Clock::now() > deadline) {
            killChild(pid);
            error = "the program did not become idle";
            return false;
        }
        if (now != ns) {
            ns = now;
            lastWork = Clock::now();
        }
    }
    run.idleMs = msBetween(start, lastWork);
    run.cpuMs = double(ns) / 1e6;
    run.rssMB = double(statusKb(pid, "VmRSS")) / 1024.0;
    run.peakMB = double(statusKb(pid, "VmHWM")) / 1024.0;

    const Clock::time_point sent = Clock::now();
    x.sendProtocol(window, x.ping, 1);
    for (;;) {
        if (!x.next(ev, deadline)) {
            killChild(pid);
            error = "the program did not answer a ping";
            return false;
        }
        if (ev.type == ClientMessage && ev.xclient.message_type == x.protocols &&
            Atom(ev.xclient.data.l[0]) == x.ping && ev.xclient.data.l[1] == 1)
            break;
    }
    run.pingMs = msBetween(sent, Clock::now());

    x.sendProtocol(window, x.deleteWindow, CurrentTime);
    const std::optional<int> status = waitEnd(pid, 10000);
    if (!status) {
        killChild(pid);
        error = "the program did not end after its window was closed";
        return false;
    }
    if (!WIFEXITED(*status) || WEXITSTATUS(*status) != 0) {
        error = "the program ended abnormally";
        return false;
    }
    return true;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

int usage() {
    std::fputs("usage: forkwise-bench-startup FORKWISE LOG_DB [--runs N] [--dir TEMP_PARENT]\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    std::vector<std::string> paths;
    int runs = 10;
    fs::path tempParent = fs::temp_directory_path();
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--runs" && i + 1 < argc)
            runs = std::atoi(argv[++i]);
        else if (a == "--dir" && i + 1 < argc)
            tempParent = argv[++i];
        else if (a.starts_with('-'))
            return usage();
        else
            paths.push_back(a);
    }
    if (paths.size() != 2 || runs < 1)
        return usage();
    const fs::path program = paths[0], log = paths[1];
    for (const fs::path& p : {program, log})
        if (!fs::is_regular_file(p)) {
            std::fprintf(stderr, "forkwise-bench-startup: %s: no such file\n", p.c_str());
            return 1;
        }
    XSession x;
    if (!x.ok()) {
        std::fputs("forkwise-bench-startup: no X display\n", stderr);
        return 1;
    }

    std::vector<Run> measured;
    Run first;
    for (int i = 0; i <= runs; ++i) {
        Run r;
        std::string error;
        try {
            if (!runOnce(x, tempParent, program, log, r, error)) {
                std::fprintf(stderr, "forkwise-bench-startup: run %d: %s\n", i, error.c_str());
                return 1;
            }
        } catch (const std::exception& e) {
            std::fprintf(stderr, "forkwise-bench-startup: run %d: %s\n", i, e.what());
            return 1;
        }
        if (i == 0)
            first = r;
        else
            measured.push_back(r);
    }

    std::printf("Start-up of %s on %s (%ju bytes), X display %s, warm file cache\n",
                program.c_str(), log.c_str(), std::uintmax_t(fs::file_size(log)),
                DisplayString(x.dpy));
    std::printf("  each run: a fresh program folder with its own copy of the log, empty settings;\n"
                "  clock from the fork; shown = main window mapped; idle = the main thread's work "
                "ended\n  (no processor time for %d ms after)\n",
                kQuietMs);
    std::printf("  first run of the process: shown %.1f ms, idle %.1f ms, %.1f MB resident\n",
                first.shownMs, first.idleMs, first.rssMB);
    std::printf("  %-5s %9s %9s %13s %8s %12s %8s\n", "run", "shown ms", "idle ms", "main CPU ms",
                "ping ms", "resident MB", "peak MB");
    for (size_t i = 0; i < measured.size(); ++i) {
        const Run& r = measured[i];
        std::printf("  %-5zu %9.1f %9.1f %13.1f %8.2f %12.1f %8.1f\n", i + 1, r.shownMs, r.idleMs,
                    r.cpuMs, r.pingMs, r.rssMB, r.peakMB);
    }
    auto column = [&](double Run::*field) {
        std::vector<double> v;
        for (const Run& r : measured)
            v.push_back(r.*field);
        return v;
    };
    auto summary = [&](const char* what, double Run::*field, const char* unit, const char* goal) {
        const std::vector<double> v = column(field);
        std::printf("  %-28s min %7.1f, median %7.1f, max %7.1f %s%s\n", what,
                    *std::min_element(v.begin(), v.end()), median(v),
                    *std::max_element(v.begin(), v.end()), unit, goal);
    };
    std::printf("  %d runs after it:\n", runs);
    summary("to the main window shown:", &Run::shownMs, "ms", "");
    summary("to shown and idle:", &Run::idleMs, "ms", "   (goal: under 400 ms)");
    summary("resident memory when idle:", &Run::rssMB, "MB", "   (goal: under 120 MB)");
    summary("peak resident memory:", &Run::peakMB, "MB", "");
    return 0;
}
