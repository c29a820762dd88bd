// Times the program's start beside a bare Qt program that shows one window,
// runs interleaved, and prints the medians and their ratios: the time from
// launch until the window is on screen, and the whole run until the process
// has ended (for the program: every window created, then torn down).
// Usage: xvfb-run -a ./startup_bench [runs]
#include "benchstats.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

struct Run
{
    double shownMs = 0;
    double cpuMs = 0;
    double totalMs = 0;
};

Run runOnce(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const long long t0 = std::chrono::duration_cast<std::chrono::nanoseconds>(
                             std::chrono::steady_clock::now().time_since_epoch())
                             .count();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("STARTUP_T0"), QString::number(t0));
    process.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program), qPrintable(process.errorString()));
        std::exit(1);
    }
    Run run;
    run.totalMs = clock.nsecsElapsed() / 1e6;
    const QByteArray out = process.readAllStandardOutput();
    const int at = out.indexOf("shown ");
    if (at < 0) {
        std::fprintf(stderr, "%s did not report its window\n", qPrintable(program));
        std::exit(1);
    }
    const QList<QByteArray> fields = out.mid(at + 6).trimmed().split(' ');
    run.shownMs = fields.value(0).toLongLong() / 1e6;
    run.cpuMs = fields.value(1).toLongLong() / 1e6;
    return run;
}


} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 15;
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fprintf(stderr, "No display: run under xvfb-run -a\n");
        return 1;
    }
    const QString dir = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    const QString lumetra = dir + QStringLiteral("startup_lumetra");
    const QString bare = dir + QStringLiteral("startup_bare");

    QTemporaryDir folder;
    QFile store(folder.filePath(QStringLiteral("unins000.dll")));
    if (!store.open(QIODevice::WriteOnly)
        || store.write("[Accesso]\r\nValore=D4536975EC1C100008053CC61CA5\r\n") < 0)
        return 1;
    store.close();

    // One warm-up run each so that both start from a warm file cache.
    runOnce(bare, {});
    runOnce(lumetra, {folder.path()});
    std::vector<double> bareShown, bareCpu, bareTotal, shown, cpu, total;
    for (int i = 0; i < runs; ++i) {
        const Run b = runOnce(bare, {});
        const Run l = runOnce(lumetra, {folder.path()});
        bareShown.push_back(b.shownMs);
        bareCpu.push_back(b.cpuMs);
        bareTotal.push_back(b.totalMs);
        shown.push_back(l.shownMs);
        cpu.push_back(l.cpuMs);
        total.push_back(l.totalMs);
    }
    std::printf("runs each: %d (medians)\n", runs);
    std::printf("                 window shown   processor time   whole run\n");
    std::printf("                 (wall clock)   until shown      (wall clock)\n");
    std::printf("bare Qt window   %8.1f ms    %8.1f ms      %8.1f ms\n", Bench::median(bareShown),
                Bench::median(bareCpu), Bench::median(bareTotal));
    std::printf("Lumetra login    %8.1f ms    %8.1f ms      %8.1f ms\n", Bench::median(shown), Bench::median(cpu),
                Bench::median(total));
    std::printf("ratio            %8.2fx     %8.2fx       %8.2fx\n", Bench::median(shown) / Bench::median(bareShown),
                Bench::median(cpu) / Bench::median(bareCpu), Bench::median(total) / Bench::median(bareTotal));
    std::printf("target: window shown at most 1.30x the bare program\n");
    return 0;
}
