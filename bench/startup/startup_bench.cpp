// The program's start and its first key, timed from outside on the X screen,
// each beside a bare Qt program doing the same:
// - start: from fork until the first pixels of the login window show (the
//   first change of the black screen leaving a pixel that is not black);
//   beside a bare window of the same size. Also the processor time each
//   process had used at its first paint, as it reports it.
// - first key: a key typed through XTEST the moment the window shows, until
//   the echo is painted (a bullet inside the password field: dark pixels
//   over several columns, where a text cursor makes one or two); beside a
//   bare QLineEdit in the same place, with the same font.
// The programs run interleaved, one at a time; the figures are medians with
// quartiles. Usage: xvfb-run -a ./startup_bench [runs]
//   --probe: lists the changes of the screen in the second after each window
//   shows, with no key typed.
#include "xscreen.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int64_t kMs = 1000000;
// Inside the password field of the login window (and of the bare
// QLineEdit), clear of its frame, from the window's top-left corner: where
// the first bullet shows.
constexpr int kFieldX = 53, kFieldY = 238, kFieldWidth = 60, kFieldHeight = 16;
// Columns a bullet darkens at least (4 dark pixels each).
constexpr int kBulletColumns = 6;

struct Program
{
    std::string path;
    std::vector<std::string> arguments;
};

struct Run
{
    double shownMs = -1; // fork until the first pixels
    double cpuMs = -1;   // processor time at the first paint, as reported
    double echoMs = -1;  // key typed until the screen changed
};

std::string ownFolder()
{
    char path[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string self(path, n > 0 ? size_t(n) : 0);
    return self.substr(0, self.rfind('/') + 1);
}

// Starts `program` with its standard output on a pipe.
pid_t launch(const Program &program, int *output)
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        close(fds[0]);
        close(fds[1]);
        std::vector<char *> argv{const_cast<char *>(program.path.c_str())};
        for (const std::string &a : program.arguments)
            argv.push_back(const_cast<char *>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.path.c_str(), argv.data());
        _exit(127);
    }
    close(fds[1]);
    *output = fds[0];
    return pid;
}

// Ends the program and waits until its window has left the screen.
double finish(XScreen &screen, pid_t pid, int output)
{
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    std::string text;
    char buffer[256];
    ssize_t n = 0;
    while ((n = read(output, buffer, sizeof buffer)) > 0)
        text.append(buffer, size_t(n));
    close(output);
    const int64_t deadline = monotonicNs() + 3000 * kMs;
    while (!screen.isBlack() && monotonicNs() < deadline)
        screen.waitForAnyChange(std::min(deadline, monotonicNs() + 50 * kMs));
    screen.settle();
    const size_t at = text.find("cpu ");
    return at == std::string::npos ? -1 : std::atoll(text.c_str() + at + 4) / 1e6;
}

Run runOnce(XScreen &screen, const Program &program, bool typeKey)
{
    screen.settle();
    int output = -1;
    const int64_t start = monotonicNs();
    const pid_t pid = launch(program, &output);
    if (pid < 0) {
        std::fprintf(stderr, "cannot start %s\n", program.path.c_str());
        std::exit(1);
    }
    Run run;
    const int64_t shown = screen.waitForNonBlack(start + 20000 * kMs);
    if (shown < 0) {
        std::fprintf(stderr, "%s showed nothing\n", program.path.c_str());
        finish(screen, pid, output);
        std::exit(1);
    }
    run.shownMs = double(shown - start) / kMs;
    if (typeKey) {
        const XRectangle window = screen.lastChange();
        const int x = window.x + kFieldX, y = window.y + kFieldY;
        const int64_t typed = monotonicNs();
        screen.typeKey(XK_a);
        for (;;) {
            const int64_t changed = screen.waitForAnyChange(typed + 5000 * kMs);
            if (changed < 0)
                break;
            if (screen.darkColumns(x, y, kFieldWidth, kFieldHeight, 4) >= kBulletColumns) {
                run.echoMs = double(changed - typed) / kMs;
                break;
            }
        }
        if (run.echoMs < 0) {
            std::fprintf(stderr, "%s did not echo the key\n", program.path.c_str());
            finish(screen, pid, output);
            std::exit(1);
        }
    }
    run.cpuMs = finish(screen, pid, output);
    return run;
}

void probe(XScreen &screen, const Program &program)
{
    screen.settle();
    int output = -1;
    const int64_t start = monotonicNs();
    const pid_t pid = launch(program, &output);
    const int64_t shown = screen.waitForNonBlack(start + 20000 * kMs);
    XRectangle r = screen.lastChange();
    std::printf("%s shown after %.1f ms at %d,%d %dx%d\n", program.path.c_str(), double(shown - start) / kMs, r.x, r.y,
                r.width, r.height);
    for (;;) {
        const int64_t changed = screen.waitForAnyChange(shown + 1000 * kMs);
        if (changed < 0)
            break;
        r = screen.lastChange();
        std::printf("  changed %.1f ms later at %d,%d %dx%d\n", double(changed - shown) / kMs, r.x, r.y, r.width,
                    r.height);
    }
    finish(screen, pid, output);
}

double quantile(std::vector<double> values, double q)
{
    std::sort(values.begin(), values.end());
    const double at = q * double(values.size() - 1);
    const size_t below = size_t(at);
    const size_t above = std::min(below + 1, values.size() - 1);
    return values[below] + (values[above] - values[below]) * (at - double(below));
}

std::string spread(const std::vector<double> &values)
{
    char text[96];
    std::snprintf(text, sizeof text, "%7.1f ms [%.1f-%.1f]", quantile(values, 0.5), quantile(values, 0.25),
                  quantile(values, 0.75));
    return text;
}

} // namespace

int main(int argc, char *argv[])
{
    const bool probing = argc > 1 && std::strcmp(argv[1], "--probe") == 0;
    const int runs = !probing && argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;

    XScreen screen;
    if (!screen.open())
        return 1;
    screen.pointAtMiddle();

    // The program's data folder: a password store and nothing else.
    char folder[] = "/tmp/startup_bench_XXXXXX";
    if (!mkdtemp(folder))
        return 1;
    const std::string store = std::string(folder) + "/unins000.dll";
    if (FILE *file = std::fopen(store.c_str(), "wb")) {
        std::fputs("[Accesso]\r\nValore=D4536975EC1C100008053CC61CA5\r\n", file);
        std::fclose(file);
    }

    const std::string dir = ownFolder();
    const Program lumetra{dir + "startup_lumetra", {folder}};
    const Program bare{dir + "startup_bare", {}};
    const Program bareLabel{dir + "startup_bare", {"label"}};
    const Program bareEdit{dir + "startup_bare", {"edit"}};

    if (probing) {
        probe(screen, lumetra);
        probe(screen, bareEdit);
    } else {
        // One warm-up run each so that all start from a warm file cache.
        runOnce(screen, bare, false);
        runOnce(screen, bareLabel, false);
        runOnce(screen, lumetra, true);
        runOnce(screen, bareEdit, true);
        std::vector<double> bareShown, bareCpu, labelShown, labelCpu, shown, cpu, bareEcho, echo;
        for (int i = 0; i < runs; ++i) {
            const Run b = runOnce(screen, bare, false);
            const Run t = runOnce(screen, bareLabel, false);
            const Run l = runOnce(screen, lumetra, true);
            const Run e = runOnce(screen, bareEdit, true);
            bareShown.push_back(b.shownMs);
            bareCpu.push_back(b.cpuMs);
            labelShown.push_back(t.shownMs);
            labelCpu.push_back(t.cpuMs);
            shown.push_back(l.shownMs);
            cpu.push_back(l.cpuMs);
            echo.push_back(l.echoMs);
            bareEcho.push_back(e.echoMs);
        }
        // The floor is the bare window with one label: any window with words
        // starts the font system; the empty window is shown for information.
        std::printf("runs each: %d, medians [quartiles]\n", runs);
        std::printf("window on screen, from fork:     empty window %s   window with one label (floor) %s   Lumetra %s"
                    "   %.2fx the floor (target <= 1.05x)\n",
                    spread(bareShown).c_str(), spread(labelShown).c_str(), spread(shown).c_str(),
                    quantile(shown, 0.5) / quantile(labelShown, 0.5));
        std::printf("processor time at first paint:   empty window %s   window with one label (floor) %s   Lumetra %s"
                    "   %.2fx the floor\n",
                    spread(bareCpu).c_str(), spread(labelCpu).c_str(), spread(cpu).c_str(),
                    quantile(cpu, 0.5) / quantile(labelCpu, 0.5));
        std::printf("first key until echoed on screen: bare QLineEdit in the login's font %s   Lumetra login %s"
                    "   %.2fx (target < 5 ms)\n",
                    spread(bareEcho).c_str(), spread(echo).c_str(), quantile(echo, 0.5) / quantile(bareEcho, 0.5));
    }
    unlink(store.c_str());
    rmdir(folder);
    return 0;
}
