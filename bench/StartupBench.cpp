// Start-up beside an empty Qt window: from process start to the first window mapped and
// painted, as an X client watching a private Xvfb sees it, and the process's peak resident
// memory at that moment; then the peak once logged in with a group of 10,000 to-dos shown. The
// empty window is a program of its own that links Qt Widgets alone.
#include "BenchSupport.h"
#include "app/InstalledDatabase.h"
#include "app/Statements.h"
#include "platform/db/Connection.h"
#include "platform/db/Transaction.h"

#include <QFile>
#include <QTemporaryDir>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// A private X server for the whole run, on the display number it picks itself.
class Server {
public:
    Server() {
        // A display number no other server holds; its lock file says who holds one.
        for (int number = 150 + getpid() % 50; number < 400 && name_.empty(); ++number) {
            char lock[32];
            std::snprintf(lock, sizeof lock, "/tmp/.X%d-lock", number);
            if (access(lock, F_OK) == 0)
                continue;
            char name[16];
            std::snprintf(name, sizeof name, ":%d", number);
            pid_ = fork();
            if (pid_ == 0) {
                // Without -noreset the server starts over whenever its last client leaves,
                // and refuses the next one meanwhile.
                execlp("Xvfb", "Xvfb", name, "-screen", "0", "1280x1024x24", "-br", "-noreset",
                       "-nolisten", "tcp", static_cast<char*>(nullptr));
                _exit(127);
            }
            for (int wait = 0; wait < 100 && name_.empty(); ++wait) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                if (waitpid(pid_, nullptr, WNOHANG) == pid_)
                    break;
                if (Display* display = XOpenDisplay(name)) {
                    XCloseDisplay(display);
                    name_ = name;
                }
            }
            if (name_.empty() && pid_ > 0) {
                kill(pid_, SIGTERM);
                waitpid(pid_, nullptr, 0);
                pid_ = -1;
            }
        }
    }
    ~Server() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& Name() const { return name_; }

private:
    pid_t pid_ = -1;
    std::string name_;
};

Server& SharedServer() {
    static Server server;
    return server;
}

// The program beside its own Main.mdb, as installed: it opens the file in its own folder.
struct Installed {
    explicit Installed(int todos = 0) {
        program = dir.filePath(QStringLiteral("pelmoran-todo"));
        QFile::copy(QStringLiteral(PELMORAN_PROGRAM), program);
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        InstalledDatabase::Create(dir.filePath(QStringLiteral("Main.mdb")));
        if (todos == 0)
            return;
        // All in the default group, the first row of the groups list.
        Connection connection;
        connection.Open(ConnectionString(dir.path()));
        Transaction transaction(connection);
        for (int task = 0; task < todos; ++task)
            connection.Execute(Statements::S8(
                QStringLiteral("1"), 1, QStringLiteral("Todo %1").arg(task),
                QStringLiteral("What to do for %1").arg(task), QStringLiteral("24 Dec 2026"), 1));
        transaction.Commit();
    }
    QTemporaryDir dir;
    QString program;
};

Installed& SharedInstall() {
    static Installed installed;
    return installed;
}

Installed& LargeInstall() {
    static Installed installed(10000);
    return installed;
}

long PeakResidentBytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6)) * 1024;
    return 0;
}

struct Launch {
    double seconds = 0;
    long peakBytes = 0;
    bool ok = false;
};

bool Painted(Display* display, Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes))
        return false;
    const int w = std::min(attributes.width, 64);
    const int h = std::min(attributes.height, 64);
    XImage* image = XGetImage(display, window, (attributes.width - w) / 2,
                              (attributes.height - h) / 2, w, h, AllPlanes, ZPixmap);
    if (image == nullptr)
        return false;
    bool painted = false;
    // The server's root is black and a window shows what lay beneath it until its first paint.
    for (int y = 0; y < h && !painted; ++y)
        for (int x = 0; x < w && !painted; ++x)
            painted = (XGetPixel(image, x, y) & 0xFFFFFFu) != 0;
    XDestroyImage(image);
    return painted;
}

// The next top-level window mapped; 0 when none is before the deadline.
Window NextMapped(Display* display, Clock::time_point deadline) {
    while (Clock::now() < deadline) {
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        if (XPending(display) == 0)
            poll(&fd, 1, 50);
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect)
                return event.xmap.window;
        }
    }
    return 0;
}

bool WaitPainted(Display* display, Window window, Clock::time_point deadline) {
    while (Clock::now() < deadline) {
        if (Painted(display, window))
            return true;
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return false;
}

long CpuTicks(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // Fields 14 and 15 (user and system time) follow the command name's closing parenthesis.
    std::istringstream rest(text.substr(text.rfind(')') + 2));
    std::string field;
    long ticks = 0;
    for (int i = 3; i <= 15 && rest >> field; ++i)
        if (i >= 14)
            ticks += std::stol(field);
    return ticks;
}

// Waits until `pid` has used next to no processor time for half a second (a text box's
// blinking caret still costs it a little).
void WaitIdle(pid_t pid, Clock::time_point deadline) {
    long last = -100;
    while (Clock::now() < deadline) {
        const long now = CpuTicks(pid);
        if (now - last <= 2)
            return;
        last = now;
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
}

bool XdoTool(const std::string& arguments) {
    const std::string command = "DISPLAY=" + SharedServer().Name() + " xdotool " + arguments;
    return std::system(command.c_str()) == 0;
}

// Logs in as the default account through the keyboard, as a user does, and picks the first
// group of the main window with the Down key; false when a window does not come.
bool LogInAndPickFirstGroup(Display* display, Window logIn, pid_t pid, Clock::time_point deadline) {
    // Keys sent while the window is still settling in, or in one quick burst, can be lost.
    WaitIdle(pid, deadline);
    const auto focus = [](Window window) {
        const bool focused = XdoTool("windowfocus --sync " + std::to_string(window));
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        return focused;
    };
    if (!focus(logIn))
        return false;
    for (const char* keys : {"type --delay 30 admin", "key Return", "type --delay 30 admin",
                             "key Return", "key Return"})
        if (!XdoTool(keys))
            return false;
    const Window main = NextMapped(display, deadline);
    if (main == 0 || !WaitPainted(display, main, deadline) || !focus(main) || !XdoTool("key Down"))
        return false;
    WaitIdle(pid, deadline);
    return true;
}

using AfterPaint = std::function<bool(Display*, Window, pid_t, Clock::time_point)>;

// Starts `argv`, waits for its first window to be mapped and painted, runs `after` (the
// memory is read once it returns), and ends the program.
Launch Run(const std::vector<std::string>& argv, const AfterPaint& after = {}) {
    Launch launch;
    Display* display = XOpenDisplay(SharedServer().Name().c_str());
    if (display == nullptr)
        return launch;
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("DISPLAY", SharedServer().Name().c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        std::vector<char*> args;
        for (const std::string& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    const auto deadline = start + std::chrono::seconds(20);
    const Window mapped = NextMapped(display, deadline);
    if (mapped != 0 && WaitPainted(display, mapped, deadline)) {
        launch.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        launch.ok = !after || after(display, mapped, pid, start + std::chrono::seconds(60));
        launch.peakBytes = PeakResidentBytes(pid);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    XCloseDisplay(display);
    return launch;
}

void Measure(benchmark::State& state, const std::vector<std::string>& argv, bool memory,
             const AfterPaint& after = {}) {
    if (SharedServer().Name().empty()) {
        state.SkipWithError("no Xvfb");
        return;
    }
    long peak = 0;
    for (auto _ : state) {
        const Launch launch = Run(argv, after);
        if (!launch.ok) {
            state.SkipWithError("no window was painted");
            return;
        }
        state.SetIterationTime(launch.seconds);
        peak = launch.peakBytes;
    }
    if (memory)
        state.counters["bytes"] = static_cast<double>(peak);
}

} // namespace

int main(int argc, char** argv) {
    return bench::Run(argc, argv, [] {
        const std::vector<std::string> ours{SharedInstall().program.toStdString()};
        const std::vector<std::string> anchor{PELMORAN_EMPTY_WINDOW};
        for (const bool memory : {false, true}) {
            const std::string figure = memory ? "peak_memory" : "startup";
            for (const auto& [side, args] : {std::pair{"ours", ours}, std::pair{"anchor", anchor}})
                benchmark::RegisterBenchmark(
                    (figure + "/" + side).c_str(),
                    [args = args, memory](benchmark::State& s) { Measure(s, args, memory); })
                    ->UseManualTime()
                    ->Unit(benchmark::kMillisecond)
                    ->Iterations(5);
        }
        // Logged in with 10,000 to-dos listed, beside the same empty window.
        const std::vector<std::string> large{LargeInstall().program.toStdString()};
        for (const auto& [side, args, after] :
             {std::tuple{"ours", large, AfterPaint(LogInAndPickFirstGroup)},
              std::tuple{"anchor", anchor, AfterPaint()}})
            benchmark::RegisterBenchmark((std::string("peak_memory_10k_todos/") + side).c_str(),
                                         [args = args, after = after](benchmark::State& s) {
                                             Measure(s, args, true, after);
                                         })
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond)
                ->Iterations(3);
    });
}
