// Felt speed in the real window: starts a program on the current X display
// (DISPLAY), finds its top-level window by _NET_WM_PID and times, from the
// pixels' side (XDamage on that window):
//   first_paint_ms  exec to the first damage on the window (its first frame)
//   drawn_ms        exec to the line "Window drawn" on the program's standard
//                   output (start-up over, as scripts/bench-startup.sh times it)
//   settled_ms      exec to the last damage before the window stays unchanged
//                   for --quiet milliseconds (the frame with the text, drawn)
//   key_ms ...      with --keys N: clicks at --click X,Y (screen coordinates),
//                   then N times sends a key press with XTest and times to the
//                   first damage notify on the window (nothing subtracted),
//                   waiting for the window to be quiet for --key-quiet
//                   milliseconds (1000) between keys.
//   with --script FILE: once settled, runs the lines of FILE in order:
//     key KEYS            sends a key (press and release) and goes on at once;
//                         KEYS is an X key name with modifiers before it:
//                         a, Return, Home, ctrl+z, ctrl+shift+s
//     type TEXT           sends each character of TEXT as a key
//     mark NAME [quiet MS]
//                         times the next key as NAME_ms: to the first damage
//                         on the window, or with quiet MS to the last damage
//                         before MS milliseconds without one
//     wait-quiet MS       waits until the window has had no damage for MS
//     sleep MS            waits MS milliseconds, handling events
//     click X Y           a click of the first button at screen X,Y
//     memory NAME         prints NAME_kB: the program's peak resident memory
//                         (VmHWM of /proc/PID/status) so far
//     screenshot FILE     the whole screen into FILE (ImageMagick's import)
//     repeat N ... end    the lines between, N times (blocks may nest)
//   Empty lines and lines starting with # are skipped. A key timed more than
//   once prints all its values on one line.
//   with --busy-log FILE as well: the file the program notes the stretches
//   its GUI thread was busy in ("END_MS LENGTH_MS" lines, monotonic clock;
//   Pramel writes it when PRAMEL_BUSY_LOG names it). Each timed key then
//   also prints NAME_busy_ms: the longest stretch that overlapped the time
//   from the key to its measure's end (0 when none was noted).
// The text cursor's blink (a damage of the cursor's box alone) is ignored.
// Usage: window_latency [--keys N] [--key NAME] [--click X,Y] [--quiet MS]
//                       [--key-quiet MS] [--timeout MS] [--script FILE]
//                       [--busy-log FILE] -- program [args...]
// Prints one "name value..." line per figure; scripts/bench-window.sh turns
// them into "name ms floor_ms ratio" lines.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

double nowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

struct Options {
    int keys = 0;
    std::string key = "a";
    int clickX = -1, clickY = -1;
    double quietMs = 1500;
    double keyQuietMs = 1000;
    double timeoutMs = 60000;
    std::string script;
    std::string busyLog;
    std::vector<char*> command;
};

int xErrorHandler(Display*, XErrorEvent*) {
    // Windows come and go (the window manager's, the program's hidden ones):
    // a request on one already gone is no failure of the measure.
    return 0;
}

class Session {
public:
    Session(Display* display, int damageEvent)
        : display_(display)
        , damageEvent_(damageEvent) {
        pidAtom_ = XInternAtom(display_, "_NET_WM_PID", False);
    }

    // Starts the program with its standard output on a pipe.
    bool start(const Options& options) {
        int fds[2];
        if (pipe(fds) != 0)
            return false;
        start_ = nowMs();
        pid_ = fork();
        if (pid_ < 0)
            return false;
        if (pid_ == 0) {
            dup2(fds[1], STDOUT_FILENO);
            close(fds[0]);
            close(fds[1]);
            execvp(options.command[0], options.command.data());
            std::perror("exec");
            _exit(127);
        }
        close(fds[1]);
        out_ = fds[0];
        return true;
    }

    void stop() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            int status = 0;
            const double until = nowMs() + 20000;
            while (waitpid(pid_, &status, WNOHANG) == 0) {
                if (nowMs() > until) {
                    kill(pid_, SIGKILL);
                    waitpid(pid_, &status, 0);
                    break;
                }
                // Keeps reading so the program never blocks on its output.
                drainOutput();
                usleep(10000);
            }
            pid_ = -1;
        }
        if (out_ >= 0)
            close(out_);
        out_ = -1;
    }

    bool childAlive() {
        int status = 0;
        return pid_ > 0 && waitpid(pid_, &status, WNOHANG) == 0;
    }

    // Waits up to `untilMs` (absolute) for X events or output; handles them.
    // Returns the time of the first damage on the program's window seen in
    // this call, or a negative value.
    double pump(double untilMs) {
        double firstDamage = -1;
        while (true) {
            // The output first, so "Window drawn" is timed when it comes.
            drainOutput();
            while (XPending(display_)) {
                XEvent event;
                XNextEvent(display_, &event);
                const double at = nowMs();
                if (handle(event) && firstDamage < 0)
                    firstDamage = at;
            }
            if (firstDamage >= 0)
                return firstDamage;
            const double left = untilMs - nowMs();
            if (left <= 0)
                return -1;
            pollfd fds[2] = {{ConnectionNumber(display_), POLLIN, 0}, {out_, POLLIN, 0}};
            const int n = poll(fds, out_ >= 0 ? 2 : 1, int(left) + 1);
            if (n > 0 && out_ >= 0 && (fds[1].revents & (POLLIN | POLLHUP)))
                drainOutput();
        }
    }

    // Waits until the window has had no damage for `quietMs`; returns the
    // time of the last damage seen (or a negative value on timeout).
    double waitQuiet(double quietMs, double timeoutMs) {
        const double giveUp = nowMs() + timeoutMs;
        double last = lastDamage_;
        while (nowMs() < giveUp) {
            const double until = std::max(nowMs(), last) + quietMs;
            const double seen = pump(until);
            if (seen < 0)
                return last;
            last = lastDamage_;
        }
        return -1;
    }

    // Sends one key press (and its release once the window answered) and
    // returns milliseconds to the first damage on the window.
    double keystroke(KeyCode code, double timeoutMs) { return keystroke({}, code, timeoutMs); }

    // The same with modifier keys held down around it; the time runs from
    // the key's press, the modifiers being down already. With quietMs, to
    // the last damage before the window stays unchanged that long.
    double keystroke(const std::vector<KeyCode>& modifiers, KeyCode code, double timeoutMs,
                     double quietMs = 0) {
        for (KeyCode modifier : modifiers)
            XTestFakeKeyEvent(display_, modifier, True, CurrentTime);
        XSync(display_, False);
        pump(nowMs()); // events already queued are not this key's
        const double sent = nowMs();
        XTestFakeKeyEvent(display_, code, True, CurrentTime);
        XFlush(display_);
        double seen = pump(sent + timeoutMs);
        XTestFakeKeyEvent(display_, code, False, CurrentTime);
        for (auto m = modifiers.rbegin(); m != modifiers.rend(); ++m)
            XTestFakeKeyEvent(display_, *m, False, CurrentTime);
        XFlush(display_);
        if (seen >= 0 && quietMs > 0)
            seen = waitQuiet(quietMs, timeoutMs);
        return seen < 0 ? -1 : seen - sent;
    }

    // A key sent without waiting for the window.
    void press(const std::vector<KeyCode>& modifiers, KeyCode code) {
        for (KeyCode modifier : modifiers)
            XTestFakeKeyEvent(display_, modifier, True, CurrentTime);
        XTestFakeKeyEvent(display_, code, True, CurrentTime);
        XTestFakeKeyEvent(display_, code, False, CurrentTime);
        for (auto m = modifiers.rbegin(); m != modifiers.rend(); ++m)
            XTestFakeKeyEvent(display_, *m, False, CurrentTime);
        XFlush(display_);
    }

    // The program's peak resident set (VmHWM) in kB, or -1.
    long peakMemoryKb() const {
        std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.compare(0, 6, "VmHWM:") == 0)
                return std::atol(line.c_str() + 6);
        }
        return -1;
    }

    void click(int x, int y) {
        XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
        XTestFakeButtonEvent(display_, 1, True, CurrentTime);
        XTestFakeButtonEvent(display_, 1, False, CurrentTime);
        XFlush(display_);
    }

    double start() const { return start_; }
    double firstDamage() const { return firstDamage_; }
    double drawnLine() const { return drawnLine_; }
    bool hasWindow() const { return window_ != 0; }

private:
    // True for a damage on the program's window.
    bool handle(const XEvent& event) {
        if (event.type == CreateNotify) {
            watch(event.xcreatewindow.window);
            return false;
        }
        if (event.type == ReparentNotify) {
            watch(event.xreparent.window);
            return false;
        }
        if (event.type != damageEvent_ + XDamageNotify)
            return false;
        const auto* damage = reinterpret_cast<const XDamageNotifyEvent*>(&event);
        if (!belongsToProgram(damage->drawable))
            return false;
        if (trace_)
            std::fprintf(stderr, "%.2f damage %dx%d+%d+%d\n", nowMs() - start_, damage->area.width,
                         damage->area.height, damage->area.x, damage->area.y);
        // The text cursor's blink repaints the cursor's box alone (12x16 in a
        // QPlainTextEdit) every half second; it answers nothing sent, and a
        // window blinking is quiet. A typed key repaints its whole line.
        if (damage->area.width <= 16 && damage->area.height <= 24 && firstDamage_ >= 0)
            return false;
        if (window_ == 0)
            window_ = damage->drawable;
        const double at = nowMs();
        if (firstDamage_ < 0)
            firstDamage_ = at;
        lastDamage_ = at;
        return true;
    }

    void watch(Window window) {
        if (watched_.count(window))
            return;
        watched_[window] = XDamageCreate(display_, window, XDamageReportRawRectangles);
    }

    bool belongsToProgram(Window window) {
        auto found = owner_.find(window);
        if (found != owner_.end())
            return found->second;
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        bool ours = false;
        if (XGetWindowProperty(display_, window, pidAtom_, 0, 1, False, XA_CARDINAL, &type, &format,
                               &count, &after, &data) == Success &&
            data != nullptr && count == 1 && format == 32) {
            ours = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data)) == pid_;
        }
        if (data != nullptr)
            XFree(data);
        // Before its pid is set a window is asked again next time.
        if (type != None)
            owner_[window] = ours;
        return ours;
    }

    void drainOutput() {
        char buffer[4096];
        while (out_ >= 0) {
            pollfd fd{out_, POLLIN, 0};
            if (poll(&fd, 1, 0) <= 0)
                return;
            const ssize_t n = read(out_, buffer, sizeof buffer);
            if (n <= 0) {
                close(out_);
                out_ = -1;
                return;
            }
            line_.append(buffer, size_t(n));
            size_t end;
            while ((end = line_.find('\n')) != std::string::npos) {
                if (line_.compare(0, end, "Window drawn") == 0 && drawnLine_ < 0)
                    drawnLine_ = nowMs();
                line_.erase(0, end + 1);
            }
        }
    }

    Display* display_;
    int damageEvent_;
    Atom pidAtom_;
    pid_t pid_ = -1;
    int out_ = -1;
    double start_ = 0;
    double firstDamage_ = -1;
    double lastDamage_ = -1;
    double drawnLine_ = -1;
    Window window_ = 0;
    // WINDOW_LATENCY_TRACE=1: every damage on the window to standard error.
    bool trace_ = std::getenv("WINDOW_LATENCY_TRACE") != nullptr;
    std::string line_;
    std::map<Window, Damage> watched_;
    std::map<Window, bool> owner_;
};

// A key as the script names it: "ctrl+shift+s" is S with Control and Shift.
struct KeyChord {
    std::vector<KeyCode> modifiers;
    KeyCode code = 0;
};

bool parseKey(Display* display, const std::string& name, KeyChord& key) {
    std::string rest = name;
    size_t plus;
    // A name of its own may be "plus": split on '+' only before the last part.
    while ((plus = rest.find('+')) != std::string::npos && plus + 1 < rest.size()) {
        const std::string modifier = rest.substr(0, plus);
        rest.erase(0, plus + 1);
        const char* name = modifier == "ctrl"    ? "Control_L"
                           : modifier == "shift" ? "Shift_L"
                           : modifier == "alt"   ? "Alt_L"
                                                 : nullptr;
        if (name == nullptr)
            return false;
        key.modifiers.push_back(XKeysymToKeycode(display, XStringToKeysym(name)));
    }
    const KeySym sym = XStringToKeysym(rest.c_str());
    key.code = sym == NoSymbol ? 0 : XKeysymToKeycode(display, sym);
    return key.code != 0;
}

// The lines of a --script file, run against the started program.
class Script {
public:
    Script(Display* display, Session& session, const Options& options)
        : display_(display)
        , session_(session)
        , options_(options) {}

    bool load(const std::string& path) {
        std::ifstream in(path);
        if (!in)
            return false;
        std::string line;
        while (std::getline(in, line)) {
            const size_t first = line.find_first_not_of(" \t");
            if (first == std::string::npos || line[first] == '#')
                continue;
            lines_.push_back(line.substr(first));
        }
        return true;
    }

    bool run() {
        const bool ok = run(0, 1) >= 0;
        for (const auto& [name, values] : timed_) {
            std::printf("%s_ms", name.c_str());
            for (double value : values)
                std::printf(" %.2f", value);
            std::printf("\n");
        }
        if (!options_.busyLog.empty())
            printBusy();
        std::fflush(stdout);
        return ok;
    }

    // The longest busy stretch of the program within each timed key.
    void printBusy() {
        std::vector<std::pair<double, double>> stretches; // begin, end
        std::ifstream in(options_.busyLog);
        double end = 0, length = 0;
        while (in >> end >> length)
            stretches.emplace_back(end - length, end);
        for (const auto& [name, windows] : spans_) {
            std::printf("%s_busy_ms", name.c_str());
            for (const auto& [from, to] : windows) {
                double longest = 0;
                for (const auto& [begin, finish] : stretches) {
                    if (begin < to && finish > from)
                        longest = std::max(longest, finish - begin);
                }
                std::printf(" %.2f", longest);
            }
            std::printf("\n");
        }
    }

private:
    // Runs the lines from `from` up to the matching "end" (or the last line)
    // `times` times; returns the index after that "end", or -1 after an error.
    long run(size_t from, long times) {
        size_t end = from;
        for (long round = 0; round < times; ++round) {
            size_t i = from;
            while (i < lines_.size()) {
                std::istringstream words(lines_[i]);
                std::string command;
                words >> command;
                if (command == "end")
                    break;
                if (command == "repeat") {
                    long n = 0;
                    words >> n;
                    const long after = run(i + 1, n);
                    if (after < 0)
                        return -1;
                    i = size_t(after);
                    continue;
                }
                if (!step(command, words, lines_[i]))
                    return -1;
                ++i;
            }
            end = i;
        }
        // A block run no times still ends at its "end".
        if (times <= 0) {
            int depth = 0;
            for (end = from; end < lines_.size(); ++end) {
                const std::string& line = lines_[end];
                if (line.compare(0, 6, "repeat") == 0)
                    ++depth;
                else if (line == "end" && depth-- == 0)
                    break;
            }
        }
        return long(end) + 1;
    }

    bool step(const std::string& command, std::istringstream& words, const std::string& line) {
        if (command == "key") {
            std::string name;
            words >> name;
            KeyChord key;
            if (!parseKey(display_, name, key))
                return fail("unknown key", line);
            if (mark_.empty()) {
                session_.press(key.modifiers, key.code);
                session_.pump(nowMs());
            } else {
                const double from = nowMs();
                timed_[mark_].push_back(
                    session_.keystroke(key.modifiers, key.code, 10000, markQuietMs_));
                spans_[mark_].emplace_back(from, nowMs());
                mark_.clear();
            }
            return true;
        }
        if (command == "type") {
            const size_t space = line.find(' ');
            const std::string text = space == std::string::npos ? "" : line.substr(space + 1);
            for (char c : text) {
                const std::string name = c == ' ' ? "space" : std::string(1, c);
                KeyChord key;
                if (!parseKey(display_, name, key))
                    return fail("cannot type", line);
                session_.press(key.modifiers, key.code);
                session_.pump(nowMs());
            }
            return true;
        }
        if (command == "mark") {
            std::string quiet;
            words >> mark_ >> quiet;
            markQuietMs_ = 0;
            if (quiet == "quiet")
                words >> markQuietMs_;
            return !mark_.empty() || fail("mark without a name", line);
        }
        if (command == "wait-quiet") {
            double ms = 0;
            words >> ms;
            session_.waitQuiet(ms, options_.timeoutMs);
            return true;
        }
        if (command == "sleep") {
            double ms = 0;
            words >> ms;
            const double until = nowMs() + ms;
            while (nowMs() < until)
                session_.pump(until);
            return true;
        }
        if (command == "click") {
            int x = -1, y = -1;
            words >> x >> y;
            session_.click(x, y);
            return true;
        }
        if (command == "memory") {
            std::string name;
            words >> name;
            std::printf("%s_kB %ld\n", name.c_str(), session_.peakMemoryKb());
            std::fflush(stdout);
            return true;
        }
        if (command == "screenshot") {
            std::string file;
            words >> file;
            const std::string shot = "import -window root '" + file + "'";
            if (std::system(shot.c_str()) != 0)
                std::fprintf(stderr, "screenshot %s failed\n", file.c_str());
            return true;
        }
        return fail("unknown command", line);
    }

    bool fail(const char* why, const std::string& line) {
        std::fprintf(stderr, "script: %s: %s\n", why, line.c_str());
        return false;
    }

    Display* display_;
    Session& session_;
    const Options& options_;
    std::vector<std::string> lines_;
    std::string mark_;
    double markQuietMs_ = 0;
    std::map<std::string, std::vector<double>> timed_;
    // Per timed key: from before it was sent to its measure's end.
    std::map<std::string, std::vector<std::pair<double, double>>> spans_;
};

bool parse(int argc, char** argv, Options& options) {
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--")
            break;
        if (i + 1 >= argc)
            return false;
        const char* value = argv[++i];
        if (arg == "--keys")
            options.keys = std::atoi(value);
        else if (arg == "--key")
            options.key = value;
        else if (arg == "--click") {
            if (std::sscanf(value, "%d,%d", &options.clickX, &options.clickY) != 2)
                return false;
        } else if (arg == "--quiet")
            options.quietMs = std::atof(value);
        else if (arg == "--key-quiet")
            options.keyQuietMs = std::atof(value);
        else if (arg == "--timeout")
            options.timeoutMs = std::atof(value);
        else if (arg == "--busy-log")
            options.busyLog = value;
        else if (arg == "--script")
            options.script = value;
        else
            return false;
    }
    for (++i; i < argc; ++i)
        options.command.push_back(argv[i]);
    options.command.push_back(nullptr);
    return options.command.size() > 1;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: %s [--keys N] [--key NAME] [--click X,Y] [--quiet MS] "
                     "[--key-quiet MS] [--timeout MS] [--script FILE] [--busy-log FILE] -- "
                     "program [args...]\n",
                     argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    XSetErrorHandler(xErrorHandler);
    int damageEvent = 0, damageError = 0, major = 0, minor = 0, xtestEvent = 0, xtestError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError) ||
        !XTestQueryExtension(display, &xtestEvent, &xtestError, &major, &minor)) {
        std::fprintf(stderr, "the X server lacks DAMAGE or XTEST\n");
        return 1;
    }
    // Every window made on the screen, the program's top-level among them.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    Session session(display, damageEvent);
    if (!session.start(options)) {
        std::fprintf(stderr, "cannot start %s\n", options.command[0]);
        return 1;
    }
    const double giveUp = session.start() + options.timeoutMs;
    while (session.firstDamage() < 0 && nowMs() < giveUp && session.childAlive())
        session.pump(std::min(giveUp, nowMs() + 100));
    if (session.firstDamage() < 0) {
        std::fprintf(stderr, "the program's window was never drawn\n");
        session.stop();
        return 1;
    }
    const double settled = session.waitQuiet(options.quietMs, options.timeoutMs);
    std::printf("first_paint_ms %.2f\n", session.firstDamage() - session.start());
    if (session.drawnLine() >= 0)
        std::printf("drawn_ms %.2f\n", session.drawnLine() - session.start());
    if (settled >= 0)
        std::printf("settled_ms %.2f\n", settled - session.start());
    std::fflush(stdout);

    if (options.keys > 0) {
        if (options.clickX >= 0) {
            session.click(options.clickX, options.clickY);
            session.waitQuiet(options.quietMs / 3, options.timeoutMs);
        }
        const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(options.key.c_str()));
        std::printf("key_ms");
        for (int i = 0; i < options.keys; ++i) {
            const double ms = session.keystroke(code, 5000);
            std::printf(" %.2f", ms);
            std::fflush(stdout);
            // The answer to this key over before the next: the real program
            // redraws its status bar and list some 300 ms after a key.
            session.waitQuiet(options.keyQuietMs, options.timeoutMs);
        }
        std::printf("\n");
    }
    bool scriptOk = true;
    if (!options.script.empty()) {
        Script script(display, session, options);
        if (!script.load(options.script)) {
            std::fprintf(stderr, "cannot read %s\n", options.script.c_str());
            scriptOk = false;
        } else {
            scriptOk = script.run();
        }
    }
    session.stop();
    XCloseDisplay(display);
    return scriptOk ? 0 : 1;
}
