// forkwise-bench-startup: what Forkwise's start-up costs against a bare Qt window. Needs an X
// display (bench_startup.sh provides one with Xvfb).
//
// Three programs take turns, round after round: the bare window (forkwise-bench-floor), Forkwise
// on the delivered database, and Forkwise on a household log. One warm-up round is left out of
// the figures. The figure of a run is the processor time (user + system, every thread) the
// program spent from its exec until its window had been shown, painted and then quiet for
// kQuietMs: no thread used the processor for that long. The figure of the benchmark is each
// Forkwise median as a ratio to the bare window's, which cancels most of what a machine and its
// load add to all three alike.
//
// Each run gives a fresh program folder its own copy of the executable (and for Forkwise of the
// log, as Data/ForkData.mdb) and empty settings and runtime folders, so every run starts from the
// same files. The window counted is the one a person works in, known by its title and process id
// (Forkwise's splash comes and goes before it). Once quiet, a ping (_NET_WM_PING) shows that the
// program answers at once, the memory is read, and the program is closed through the window
// system as a window manager would; it must end by itself.

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
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <map>
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

constexpr int kQuietMs = 400; // this long without work after the window is shown counts as idle
constexpr int kTimeoutMs = 30000;

using Clock = std::chrono::steady_clock;

double msBetween(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// What one run measured.
struct Run {
    double cpuMs = 0;   // processor time of every thread until idle
    double shownMs = 0; // fork to the map of the window
    double idleMs = 0;  // fork to the end of the last work after the map
    double pingMs = 0;  // round trip of a ping sent when idle
    double rssMB = 0;   // VmRSS when idle
    double peakMB = 0;  // VmHWM when idle
};

// One of the programs the rounds start.
struct Subject {
    std::string label;
    fs::path program;
    fs::path log; // empty: the program needs no diet log
    std::string title;
    std::vector<Run> runs;
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

// The processor time (user + system) of all threads of a process, read from each thread's
// schedstat (nanoseconds on the processor). A thread that has ended keeps the last figure read
// for it; sampled every millisecond, that loses at most a millisecond of a thread's last work.
class ProcessCpu {
public:
    explicit ProcessCpu(pid_t pid) : taskDir("/proc/" + std::to_string(pid) + "/task") {}

    // The total so far, or -1 once the process is gone.
    long long sample() {
        DIR* dir = opendir(taskDir.c_str());
        if (!dir)
            return -1;
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.')
                continue;
            std::ifstream in(taskDir + '/' + entry->d_name + "/schedstat");
            long long ns = -1;
            if (in >> ns)
                threads[entry->d_name] = ns;
        }
        closedir(dir);
        long long total = 0;
        for (const auto& [tid, ns] : threads)
            total += ns;
        return total;
    }

private:
    std::string taskDir;
    std::map<std::string, long long> threads;
};

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

// A program folder of its own: the executable, Data/ForkData.mdb beside it when there is a
// log, and settings and runtime folders; removed again at the end of the run.
struct ProgramFolder {
    fs::path dir;
    ProgramFolder(const fs::path& parent, const Subject& subject) {
        std::string pattern = (parent / "forkwise-startup-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a folder in " + parent.string());
        dir = pattern;
        fs::create_directories(dir / "config");
        fs::create_directories(dir / "runtime");
        fs::permissions(dir / "runtime", fs::perms::owner_all);
        fs::copy_file(subject.program, dir / subject.program.filename());
        if (!subject.log.empty()) {
            fs::create_directories(dir / "Data");
            fs::copy_file(subject.log, dir / "Data" / "ForkData.mdb");
        }
    }
    ~ProgramFolder() {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;
};

bool runOnce(XSession& x, const fs::path& tempParent, const Subject& subject, Run& run,
             std::string& error) {
    ProgramFolder folder(tempParent, subject);
    const std::string exe = (folder.dir / subject.program.filename()).string();
    const std::string config = (folder.dir / "config").string();
    const std::string runtime = (folder.dir / "runtime").string();

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
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
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
            error = "no window titled \"" + subject.title + "\" appeared";
            return false;
        }
        if (ev.type == MapNotify && ev.xmap.event == x.root &&
            x.title(ev.xmap.window) == subject.title && x.pid(ev.xmap.window) == pid) {
            window = ev.xmap.window;
            run.shownMs = msBetween(start, Clock::now());
        }
    }

    // The window is painted after its map; watch every thread until none has worked for
    // kQuietMs.
    ProcessCpu cpu(pid);
    Clock::time_point lastWork = Clock::now();
    long long ns = cpu.sample();
    while (msBetween(lastWork, Clock::now()) < kQuietMs) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const long long now = cpu.sample();
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

double medianOf(const Subject& s, double Run::*field) {
    std::vector<double> v;
    for (const Run& r : s.runs)
        v.push_back(r.*field);
    return median(v);
}

int usage() {
    std::fputs("usage: forkwise-bench-startup FLOOR FORKWISE DELIVERED_DB LOG_DB [--rounds N] "
               "[--dir TEMP_PARENT]\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    std::vector<std::string> paths;
    int rounds = 5;
    fs::path tempParent = fs::temp_directory_path();
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--rounds" && i + 1 < argc)
            rounds = std::atoi(argv[++i]);
        else if (a == "--dir" && i + 1 < argc)
            tempParent = argv[++i];
        else if (a.starts_with('-'))
            return usage();
        else
            paths.push_back(a);
    }
    if (paths.size() != 4 || rounds < 1)
        return usage();
    for (const fs::path p : paths)
        if (!fs::is_regular_file(p)) {
            std::fprintf(stderr, "forkwise-bench-startup: %s: no such file\n", p.c_str());
            return 1;
        }
    const fs::path floor = paths[0], forkwise = paths[1], delivered = paths[2], log = paths[3];
    auto sized = [](const char* what, const fs::path& p) {
        return std::string(what) + " (" + std::to_string(fs::file_size(p) >> 20) + " MB)";
    };
    std::vector<Subject> subjects = {
        {"bare Qt window", floor, {}, "QtFloor minimal", {}},
        {sized("Forkwise, delivered database", delivered), forkwise, delivered, "Forkwise 1.0", {}},
        {sized("Forkwise, household log", log), forkwise, log, "Forkwise 1.0", {}}};

    XSession x;
    if (!x.ok()) {
        std::fputs("forkwise-bench-startup: no X display\n", stderr);
        return 1;
    }
    for (int round = 0; round <= rounds; ++round)
        for (Subject& s : subjects) {
            Run r;
            std::string error;
            try {
                if (!runOnce(x, tempParent, s, r, error)) {
                    std::fprintf(stderr, "forkwise-bench-startup: %s, round %d: %s\n",
                                 s.label.c_str(), round, error.c_str());
                    return 1;
                }
            } catch (const std::exception& e) {
                std::fprintf(stderr, "forkwise-bench-startup: %s, round %d: %s\n", s.label.c_str(),
                             round, e.what());
                return 1;
            }
            if (round > 0) // the first round warms the file cache and the X server
                s.runs.push_back(r);
        }

    std::printf("Start-up against a bare Qt window, X display %s, warm file cache\n",
                DisplayString(x.dpy));
    std::printf("  CPU: processor time (user + system, every thread) from exec until the window,\n"
                "  shown and painted, has done no work for %d ms; medians of %d rounds after a\n"
                "  warm-up, the three programs taking turns; ratio: to the bare window's median\n",
                kQuietMs, rounds);
    const double floorCpu = medianOf(subjects[0], &Run::cpuMs);
    std::printf("  %-42s %8s %6s %9s %8s %9s %8s\n", "", "CPU ms", "ratio", "shown ms", "idle ms",
                "RSS MB", "peak MB");
    for (const Subject& s : subjects)
        std::printf("  %-42s %8.1f %6.2f %9.1f %8.1f %9.1f %8.1f\n", s.label.c_str(),
                    medianOf(s, &Run::cpuMs), medianOf(s, &Run::cpuMs) / floorCpu,
                    medianOf(s, &Run::shownMs), medianOf(s, &Run::idleMs), medianOf(s, &Run::rssMB),
                    medianOf(s, &Run::peakMB));
    std::printf("  CPU ms of each round:\n");
    for (const Subject& s : subjects) {
        std::printf("    %-40s", s.label.c_str());
        for (const Run& r : s.runs)
            std::printf(" %7.1f", r.cpuMs);
        std::printf("\n");
    }
    double slowestPing = 0;
    for (const Subject& s : subjects)
        for (const Run& r : s.runs)
            slowestPing = std::max(slowestPing, r.pingMs);
    std::printf("  slowest answer to a ping when idle: %.1f ms\n", slowestPing);
    std::printf("  goal: the household log within 1.3 times the bare window\n");
    return 0;
}
