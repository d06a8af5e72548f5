// A catalogue of 200 MB in the line shape of bench_lists, loaded as the user opens it and
// saved back, each run in a fresh process with the window up (bench/run-x: X and offscreen).
// The run reports the load's time, and as figures: how much its peak resident memory grew
// over that of the idle shown window, against the file's size; the longest the window went
// without its events (a 10 ms timer's largest gap); the progress texts it showed; and the
// save's time against the load's.
#include "BenchWindow.h"
#include "gui/frame/WindowFrame.h"
#include "ListFiles.h"
#include "core/commands/ListLoading.h"
#include "core/commands/modMTP.h"
#include "core/catalogues/ListTree.h"
#include "platform/widgets/StatusBar.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

namespace {

const char* self = nullptr;
constexpr qint64 kLargeCatalogueBytes = qint64(200) << 20;

// In the fresh process, with the window up: loads the catalogue as the user opens it and saves
// it back elsewhere. Prints the load's and the save's milliseconds, the peak resident bytes
// of the idle window and after the load, the longest gap between two turns of a 10 ms timer
// during the load, the progress texts shown, the nodes and the saved file's size.
int measureLargeCatalogue(const QString& file, const QString& saved) {
    // The window settles first (its home page shown), so the idle figure is the window's own.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 3000) QApplication::processEvents(QEventLoop::AllEvents, 50);
    bench::paintPending();
    const long long idle = bench::peakResidentBytes();
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QStringList progress;
    QTimer tick;
    tick.setInterval(10);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, sinceTick.restart());
        const QString shown = bench::window()->findChild<platform::StatusBar*>(QStringLiteral("StatusBar1"))->panelText(WindowFrame::kActivityPanel);
        if (shown.startsWith(QLatin1String("Loading record")) && (progress.isEmpty() || progress.last() != shown))
            progress << shown;
    });
    QElapsedTimer clock;
    clock.start();
    sinceTick.start();
    tick.start();
    QString location = file;
    modMTP::loadList(*bench::context(), location);
    bench::paintPending();
    longestGap = std::max(longestGap, sinceTick.elapsed());
    tick.stop();
    const qint64 loadMs = clock.elapsed();
    const long long peak = bench::peakResidentBytes();
    const int nodes = bench::context()->listTrees[size_t(bench::context()->treeIndex)].count();
    clock.restart();
    QString target = saved;
    const bool ok = bench::treePane().listDocument().SaveAsList(target);
    bench::paintPending();
    const qint64 saveMs = clock.elapsed();
    std::printf("%lld %lld %lld %lld %lld %lld %d %lld\n", static_cast<long long>(loadMs),
                static_cast<long long>(saveMs), idle, peak, static_cast<long long>(longestGap),
                static_cast<long long>(progress.size()), nodes, static_cast<long long>(QFileInfo(saved).size()));
    std::fflush(stdout);
    _exit(ok ? 0 : 3);  // two million nodes need not be freed one by one
}

void BM_LoadLargeCatalogue(benchmark::State& state) {
    const QString file = bench::sandbox()->path() + QStringLiteral("/Large.kqi");
    if (!QFileInfo::exists(file) && bench::writeList(file, 0, kLargeCatalogueBytes).isEmpty()) {
        state.SkipWithError("could not write the catalogue");
        return;
    }
    const double fileBytes = double(QFileInfo(file).size());
    for (auto _ : state) {
        QTemporaryDir home;
        const QString saved = home.path() + QStringLiteral("/Saved.kqi");
        QProcess run;
        run.setProcessEnvironment(bench::firstStartEnvironment(home.path()));
        run.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        run.start(QString::fromLocal8Bit(self), {QStringLiteral("--large-catalogue"), file, saved});
        if (!run.waitForFinished(1200000) || run.exitCode() != 0) {
            state.SkipWithError("the run failed");
            return;
        }
        const QList<QByteArray> f = run.readAllStandardOutput().trimmed().split(' ');
        if (f.size() != 8) {
            state.SkipWithError("the run reported nothing");
            return;
        }
        const double loadMs = f[0].toDouble();
        const double grown = f[3].toDouble() - f[2].toDouble();
        state.SetIterationTime(loadMs / 1000.0);
        state.counters["file_MB"] = fileBytes / (1 << 20);
        state.counters["rss_growth_MB"] = grown / (1 << 20);
        state.counters["rss_growth_per_file_size"] = grown / fileBytes;
        state.counters["longest_gap_ms"] = f[4].toDouble();
        state.counters["progress_texts"] = f[5].toDouble();
        state.counters["nodes"] = f[6].toDouble();
        state.counters["save_ms"] = f[1].toDouble();
        state.counters["save_per_load"] = f[1].toDouble() / loadMs;
        if (f[7].toDouble() != fileBytes) state.SkipWithError("the saved catalogue differs in size from the one loaded");
    }
}
BENCHMARK(BM_LoadLargeCatalogue)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    self = argv[0];
    if (argc == 4 && std::strcmp(argv[1], "--large-catalogue") == 0) {
        const QString file = QString::fromLocal8Bit(argv[2]);
        const QString saved = QString::fromLocal8Bit(argv[3]);
        int one = 1;
        return bench::withWindow(one, argv, [&] { return measureLargeCatalogue(file, saved); });
    }
    return bench::runWithWindow(argc, argv);
}
